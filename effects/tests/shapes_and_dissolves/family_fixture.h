#pragma once

// Pictures and frames for the exact-frame tests of rows 150 to 176.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "effect_checks.h"
#include "effects/frame.h"
#include "raster/bitmap.h"
#include "reference_raster.h"

namespace family_fixture {

using raster::Bitmap;
using raster::Pixel;

inline Bitmap OldCard(int w, int h) {
  Bitmap b(w, h);
  effect_checks::PaintOldCard(b);
  return b;
}

// The new picture, with a handle (the picture seed) of the given parity.
inline Bitmap NewCard(int w, int h, bool oddHandle = false) {
  std::vector<Bitmap> tries;
  tries.emplace_back(w, h);
  while (((tries.back().Handle() & 1u) != 0) != oddHandle) tries.emplace_back(w, h);
  Bitmap b = std::move(tries.back());
  effect_checks::PaintNewCard(b);
  return b;
}

// The frame the picture show draws with row `style` at `progress`.
inline Bitmap Frame(int style, const Bitmap& old, const Bitmap& image, int progress) {
  Bitmap screen = old;
  effects::DrawEffectFrame(style, screen, image, progress);
  return screen;
}

// Empty when both frames hold the same pixels; else the first difference.
inline std::string FirstDifference(const Bitmap& got, const Bitmap& want) {
  if (got.Width() != want.Width() || got.Height() != want.Height()) return "sizes differ";
  for (int y = 0; y < got.Height(); ++y) {
    for (int x = 0; x < got.Width(); ++x) {
      const Pixel g = reference::At(got, x, y);
      const Pixel w = reference::At(want, x, y);
      if (g == w) continue;
      std::ostringstream out;
      out << "pixel (" << x << ", " << y << ") is " << std::hex << g << ", expected " << w;
      return out.str();
    }
  }
  return {};
}

inline bool IsNew(Pixel p) { return raster::PixelByte(p, raster::kFourthByte) == effect_checks::kNewTag; }

// How many pixels of the frame come from the new picture.
inline int NewPixels(const Bitmap& frame) {
  int count = 0;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) count += IsNew(reference::At(frame, x, y)) ? 1 : 0;
  return count;
}

// Sizes for exact frames: tiny and odd ones, one whose sides are whole
// numbers of the shreds' cells (30 x 24), a square, a tall one, and one wide
// enough for every figure to have some detail.
struct Size {
  int w;
  int h;
};
inline const std::vector<Size>& FrameSizes() {
  static const std::vector<Size> sizes = {{1, 1}, {2, 3}, {37, 23}, {9, 41}, {30, 24}, {64, 64}, {101, 67}};
  return sizes;
}

}  // namespace family_fixture
