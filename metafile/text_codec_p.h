#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace metafile::detail {

// Eight-bit text of the text records as Unicode. The records carry it in the
// code page of the font's character set; the Western code page (1252) serves
// every character set, which is right for the pictures this program's users
// make and keeps other scripts at least legible in their ASCII part.
QString DecodeAnsiText(const std::uint8_t* bytes, std::size_t count);

}  // namespace metafile::detail
