#pragma once

#include "byte_sink.h"

#include <functional>

namespace metafile_gen {

enum class DibCompression { kRgb, kRle8 };

// A packed device-independent bitmap: 40-byte header, colour table, rows
// bottom-up (or top-down when `topDown`). `pixel(x, y)` gives a palette index
// for up to 8 bits per pixel and 0x00rrggbb above, with y counted from the top.
struct DibPlan {
  int width = 1;
  int height = 1;
  int bitCount = 24;
  bool topDown = false;
  DibCompression compression = DibCompression::kRgb;
  std::vector<std::uint32_t> palette;  // 0x00rrggbb
  std::function<std::uint32_t(int x, int y)> pixel;
};

struct PackedDib {
  Bytes info;  // header and colour table
  Bytes bits;
  Bytes Packed() const {
    Bytes all = info;
    all.insert(all.end(), bits.begin(), bits.end());
    return all;
  }
};

PackedDib BuildDib(const DibPlan& plan);

}  // namespace metafile_gen
