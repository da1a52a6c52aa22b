#include "dib_builder.h"

namespace metafile_gen {

namespace {

Bytes Rows(const DibSpec& spec) {
  ByteSink bits;
  for (int row = 0; row < spec.height; ++row) {
    const int y = spec.topDown ? row : spec.height - 1 - row;
    const std::size_t start = bits.Size();
    if (spec.bitCount <= 8) {
      const int perByte = 8 / spec.bitCount;
      for (int x = 0; x < spec.width; x += perByte) {
        std::uint32_t byte = 0;
        for (int k = 0; k < perByte; ++k) {
          const std::uint32_t index = x + k < spec.width ? spec.pixel(x + k, y) : 0;
          byte |= index << (8 - spec.bitCount * (k + 1));
        }
        bits.U8(byte);
      }
    } else {
      for (int x = 0; x < spec.width; ++x) {
        const std::uint32_t c = spec.pixel(x, y);
        const std::uint32_t r = (c >> 16) & 0xFF;
        const std::uint32_t g = (c >> 8) & 0xFF;
        const std::uint32_t b = c & 0xFF;
        if (spec.bitCount == 16) {
          bits.U16(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        } else {
          bits.U8(b).U8(g).U8(r);
          if (spec.bitCount == 32) bits.U8(c >> 24);
        }
      }
    }
    while ((bits.Size() - start) % 4 != 0) bits.U8(0);
  }
  return bits.Take();
}

// Runs of equal indices, each row ended by an end-of-line escape.
Bytes Rle8(const DibSpec& spec) {
  ByteSink bits;
  for (int row = 0; row < spec.height; ++row) {
    const int y = spec.height - 1 - row;
    int x = 0;
    while (x < spec.width) {
      const std::uint32_t index = spec.pixel(x, y);
      int run = 1;
      while (x + run < spec.width && run < 255 && spec.pixel(x + run, y) == index) ++run;
      bits.U8(run).U8(index);
      x += run;
    }
    bits.U8(0).U8(0);
  }
  bits.U8(0).U8(1);
  return bits.Take();
}

}  // namespace

PackedDib BuildDib(const DibSpec& spec) {
  PackedDib dib;
  dib.bits = spec.compression == DibCompression::kRle8 ? Rle8(spec) : Rows(spec);
  ByteSink info;
  info.U32(40).I32(spec.width).I32(spec.topDown ? -spec.height : spec.height).U16(1).U16(spec.bitCount);
  info.U32(spec.compression == DibCompression::kRle8 ? 1 : 0);
  info.U32(static_cast<std::uint32_t>(dib.bits.size())).I32(3780).I32(3780);
  info.U32(static_cast<std::uint32_t>(spec.palette.size())).U32(0);
  for (const std::uint32_t c : spec.palette) info.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF).U8(0);
  dib.info = info.Take();
  return dib;
}

}  // namespace metafile_gen
