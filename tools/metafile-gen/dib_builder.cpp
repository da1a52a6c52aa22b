#include "dib_builder.h"

namespace metafile_gen {

namespace {

Bytes Rows(const DibPlan& plan) {
  ByteSink bits;
  for (int row = 0; row < plan.height; ++row) {
    const int y = plan.topDown ? row : plan.height - 1 - row;
    const std::size_t start = bits.Size();
    if (plan.bitCount <= 8) {
      const int perByte = 8 / plan.bitCount;
      for (int x = 0; x < plan.width; x += perByte) {
        std::uint32_t byte = 0;
        for (int k = 0; k < perByte; ++k) {
          const std::uint32_t index = x + k < plan.width ? plan.pixel(x + k, y) : 0;
          byte |= index << (8 - plan.bitCount * (k + 1));
        }
        bits.U8(byte);
      }
    } else {
      for (int x = 0; x < plan.width; ++x) {
        const std::uint32_t c = plan.pixel(x, y);
        const std::uint32_t r = (c >> 16) & 0xFF;
        const std::uint32_t g = (c >> 8) & 0xFF;
        const std::uint32_t b = c & 0xFF;
        if (plan.bitCount == 16) {
          bits.U16(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        } else {
          bits.U8(b).U8(g).U8(r);
          if (plan.bitCount == 32) bits.U8(c >> 24);
        }
      }
    }
    while ((bits.Size() - start) % 4 != 0) bits.U8(0);
  }
  return bits.Take();
}

// Runs of equal indices, each row ended by an end-of-line escape.
Bytes Rle8(const DibPlan& plan) {
  ByteSink bits;
  for (int row = 0; row < plan.height; ++row) {
    const int y = plan.height - 1 - row;
    int x = 0;
    while (x < plan.width) {
      const std::uint32_t index = plan.pixel(x, y);
      int run = 1;
      while (x + run < plan.width && run < 255 && plan.pixel(x + run, y) == index) ++run;
      bits.U8(run).U8(index);
      x += run;
    }
    bits.U8(0).U8(0);
  }
  bits.U8(0).U8(1);
  return bits.Take();
}

}  // namespace

PackedDib BuildDib(const DibPlan& plan) {
  PackedDib dib;
  dib.bits = plan.compression == DibCompression::kRle8 ? Rle8(plan) : Rows(plan);
  ByteSink info;
  info.U32(40).I32(plan.width).I32(plan.topDown ? -plan.height : plan.height).U16(1).U16(plan.bitCount);
  info.U32(plan.compression == DibCompression::kRle8 ? 1 : 0);
  info.U32(static_cast<std::uint32_t>(dib.bits.size())).I32(3780).I32(3780);
  info.U32(static_cast<std::uint32_t>(plan.palette.size())).U32(0);
  for (const std::uint32_t c : plan.palette) info.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF).U8(0);
  dib.info = info.Take();
  return dib;
}

}  // namespace metafile_gen
