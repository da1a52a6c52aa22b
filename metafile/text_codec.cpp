#include "text_codec_p.h"

namespace metafile::detail {

namespace {
// 0x80..0x9F of code page 1252; 0 marks the five unassigned bytes.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

QString DecodeAnsiText(const std::uint8_t* bytes, std::size_t count) {
  QString text;
  text.reserve(static_cast<qsizetype>(count));
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t byte = bytes[i];
    if (byte >= 0x80 && byte < 0xA0) {
      const char16_t mapped = kHighControls[byte - 0x80];
      text.append(QChar(mapped != 0 ? mapped : char16_t{0xFFFD}));
    } else {
      text.append(QChar(static_cast<char16_t>(byte)));
    }
  }
  return text;
}

}  // namespace metafile::detail
