#pragma once

#include "byte_reader_p.h"
#include "gdi_p.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <cstdint>

// Device-independent bitmaps: the bitmap-info header, its colour table and
// the pixel rows, as the bitmap records and pattern brushes of both formats
// carry them.
namespace metafile::detail {

struct DibLayout {
  int width = 0;   // pixels
  int height = 0;  // pixels, always positive
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = 0;
  bool coreHeader = false;         // 12-byte header with three-byte colour entries
  std::uint32_t headerBytes = 0;   // header and bit-field masks
  int colorCount = 0;              // entries of the colour table
  std::uint32_t tableBytes = 0;
  std::uint32_t masks[4] = {};     // red, green, blue, alpha bit fields
  std::uint64_t bitsBytes = 0;     // bytes of pixel data the header asks for
  std::uint32_t usage = gdi::kDibRgbColors;

  std::uint32_t InfoBytes() const { return headerBytes + tableBytes; }
};

enum class DibStatus { kOk, kUnsupported, kBad };

struct DibCheck {
  DibStatus status = DibStatus::kBad;
  QString problem;  // Italian, when status is not kOk
  DibLayout layout;
};

// Reads the header and sizes the colour table; `info` starts at the header
// and must hold the table as well. Refuses sizes beyond the bitmap caps.
DibCheck ReadDibLayout(ByteReader info, std::uint32_t usage);

// Checks that `bitsAvailable` bytes of pixel data are enough for the layout.
DibCheck CheckDibBits(const DibCheck& layout, std::uint64_t bitsAvailable);

// A packed DIB (header, table and bits in one run of bytes, as WMF records and
// pattern brushes store it): the layout checked against the bytes there are.
DibCheck ReadPackedDib(ByteReader packed, std::uint32_t usage);

struct DibColors {
  const Palette* palette = nullptr;  // the selected palette, for palette-index tables
  bool keepAlpha = false;            // 32-bit pixels carry premultiplied alpha
};

// The pixels as an image (top row first). `info` and `bits` are the same
// bytes the checks accepted. A null image when memory runs out.
QImage DecodeDib(const DibLayout& layout, ByteReader info, ByteReader bits, const DibColors& colors);

// The source rectangle of a bit-block record in the decoded image (top row
// first): a bottom-up DIB counts its source rows from the bottom.
QRectF DibSourceRect(const DibLayout& layout, double x, double y, double width, double height);

// `count` palette entries (red, green, blue, flags), as the palette records store them.
Palette ReadPaletteEntries(ByteReader& r, std::size_t count);

// A WMF device-dependent bitmap (one plane, 1, 24 or 32 bits per pixel, rows top first).
struct DdbLayout {
  int width = 0;
  int height = 0;
  int widthBytes = 0;
  int bitsPixel = 0;
};
// Reads the 10-byte header, skips `gapBytes`, and checks that the rest of
// `record` holds the rows; `record` is left at the first row.
DibCheck ReadBitmap16(ByteReader& record, std::size_t gapBytes, DdbLayout& layout);
QImage DecodeBitmap16(const DdbLayout& layout, ByteReader bits);

}  // namespace metafile::detail
