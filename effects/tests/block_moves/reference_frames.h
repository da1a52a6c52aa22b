#pragma once

// The frames of rows 1 to 59 drawn the plainest way: every row written out
// as the copies and stretches its definition names (in the order "source
// block, then where it goes"), the rolls as a per-pixel mirror formula, the
// centre hole as a per-pixel test. The pixel-loop copy and stretch of
// reference_raster.h do the drawing; shading and region shapes are the raster
// layer's own, which its tests hold against their formulas.

#include <algorithm>

#include "raster/bitmap.h"
#include "raster/pixel_routines.h"
#include "raster/region.h"
#include "reference_raster.h"

namespace block_reference {

using raster::Bitmap;

// Roll width of the unroll rows along a side of `extent` pixels with
// `revealed` pixels shown.
inline int RollWidth(int extent, int revealed) {
  int r = extent / 10;
  if (revealed < r) {
    r = revealed;
  } else if (extent - revealed < 2 * r) {
    r = (extent - revealed) / 2;
  }
  return r;
}

inline Bitmap Frame(int row, const Bitmap& start, const Bitmap& image, int W, int H, int X, int Y) {
  Bitmap frame = start;
  raster::Canvas& dc = frame.Canvas();
  const auto copy = [&](int sx, int sy, int w, int h, int x, int y) {
    reference::BitBlt(dc, x, y, w, h, image, sx, sy);
  };
  const auto stretch = [&](int sx, int sy, int sw, int sh, int x, int y, int w, int h) {
    reference::StretchBlt(dc, x, y, w, h, image, sx, sy, sw, sh);
  };
  const auto pixelFrom = [&](int x, int y, int sx, int sy) {
    if (reference::Inside(image, sx, sy)) reference::Set(frame, x, y, reference::At(image, sx, sy));
  };
  const int hx = (W - X) / 2, hy = (H - Y) / 2;
  const int x2 = X / 2, y2 = Y / 2, w2 = W / 2, h2 = H / 2;

  switch (row) {
    case 1: stretch(0, 0, W, H, W - X, 0, X, H); break;
    case 2: stretch(0, 0, W, H, 0, 0, X, H); break;
    case 3: copy(0, 0, W, H, W - X, 0); break;
    case 4: copy(0, 0, W, H, X - W, 0); break;
    case 5: copy(0, 0, X, H, 0, 0); break;
    case 6: copy(W - X, 0, X, H, W - X, 0); break;
    case 7: stretch(0, 0, X, H, 0, 0, 2 * W - X, H); break;
    case 8: stretch(W - X, 0, X, H, X - W, 0, 2 * W - X, H); break;
    case 9: stretch(hx, 0, X, H, X - W, 0, 3 * W - 2 * X, H); break;
    case 10: stretch(0, 0, W, H, hx, 0, X, H); break;
    case 11: copy(hx, 0, X, H, hx, 0); break;
    case 12:
      copy(0, 0, x2, H, 0, 0);
      copy(W - x2, 0, x2, H, W - x2, 0);
      break;
    case 13:
      stretch(0, 0, w2, H, 0, 0, x2, H);
      stretch(w2, 0, w2, H, W - x2, 0, x2, H);
      break;
    case 14: {  // the roll's column c shows source column 2X + 2R - 1 - c
      const int R = RollWidth(W, X);
      for (int y = 0; y < H; ++y)
        for (int c = X; c < X + R; ++c) pixelFrom(c, y, 2 * X + 2 * R - 1 - c, y);
      copy(0, 0, X, H, 0, 0);
      raster::ShadeColumns(frame, 64, X, R);
      break;
    }
    case 15: {  // column W - X - 1 shows W - X - 2R - 1, column W - X - R shows W - X - R - 2
      const int R = RollWidth(W, X);
      for (int y = 0; y < H; ++y)
        for (int c = W - X - R; c < W - X; ++c) pixelFrom(c, y, 2 * (W - X) - 2 * R - 2 - c, y);
      copy(W - X, 0, X, H, W - X, 0);
      raster::ShadeColumns(frame, 64, W - X - R, R);
      break;
    }
    case 16:
      copy(0, 0, X, H, 0, 0);
      stretch(X, 0, std::min(W / 10, W - X), H, X, 0, W - X, H);
      break;
    case 17: {
      copy(W - X, 0, X, H, W - X, 0);
      const int L = std::max(0, W - X - W / 10);
      stretch(L, 0, W - X - L, H, 0, 0, W - X, H);
      break;
    }
    case 18: stretch(0, 0, W, H, 0, H - Y, W, Y); break;
    case 19: stretch(0, 0, W, H, 0, 0, W, Y); break;
    case 20: copy(0, 0, W, H, 0, H - Y); break;
    case 21: copy(0, 0, W, H, 0, Y - H); break;
    case 22: copy(0, 0, W, Y, 0, 0); break;
    case 23: copy(0, H - Y, W, Y, 0, H - Y); break;
    case 24: stretch(0, 0, W, Y, 0, 0, W, 2 * H - Y); break;
    case 25: stretch(0, H - Y, W, Y, 0, Y - H, W, 2 * H - Y); break;
    case 26: stretch(0, hy, W, Y, 0, Y - H, W, 3 * H - 2 * Y); break;
    case 27: stretch(0, 0, W, H, 0, hy, W, Y); break;
    case 28: copy(0, hy, W, Y, 0, hy); break;
    case 29:
      copy(0, 0, W, y2, 0, 0);
      copy(0, H - y2, W, y2, 0, H - y2);
      break;
    case 30:
      stretch(0, 0, W, h2, 0, 0, W, y2);
      stretch(0, h2, W, h2, 0, H - y2, W, y2);
      break;
    case 31: {
      const int R = RollWidth(H, Y);
      for (int r = Y; r < Y + R; ++r)
        for (int x = 0; x < W; ++x) pixelFrom(x, r, x, 2 * Y + 2 * R - 1 - r);
      copy(0, 0, W, Y, 0, 0);
      raster::ShadeRows(frame, 64, Y, R);
      break;
    }
    case 32: {
      const int R = RollWidth(H, Y);
      for (int r = H - Y - R; r < H - Y; ++r)
        for (int x = 0; x < W; ++x) pixelFrom(x, r, x, 2 * (H - Y) - 2 * R - 2 - r);
      copy(0, H - Y, W, Y, 0, H - Y);
      raster::ShadeRows(frame, 64, H - Y - R, R);
      break;
    }
    case 33:
      copy(0, 0, W, Y, 0, 0);
      stretch(0, Y, W, std::min(H / 10, H - Y), 0, Y, W, H - Y);
      break;
    case 34: {
      copy(0, H - Y, W, Y, 0, H - Y);
      const int T = std::max(0, H - Y - H / 10);
      stretch(0, T, W, H - Y - T, 0, 0, W, H - Y);
      break;
    }
    case 35: stretch(0, 0, W, H, W - X, H - Y, X, Y); break;
    case 36: stretch(0, 0, W, H, W - X, 0, X, Y); break;
    case 37: stretch(0, 0, W, H, 0, 0, X, Y); break;
    case 38: stretch(0, 0, W, H, 0, H - Y, X, Y); break;
    case 39: copy(0, 0, W, H, W - X, H - Y); break;
    case 40: copy(0, 0, W, H, W - X, Y - H); break;
    case 41: copy(0, 0, W, H, X - W, Y - H); break;
    case 42: copy(0, 0, W, H, X - W, H - Y); break;
    case 43: copy(0, 0, X, Y, 0, 0); break;
    case 44: copy(0, H - Y, X, Y, 0, H - Y); break;
    case 45: copy(W - X, H - Y, X, Y, W - X, H - Y); break;
    case 46: copy(W - X, 0, X, Y, W - X, 0); break;
    case 47: stretch(0, 0, X, Y, 0, 0, 2 * W - X, 2 * H - Y); break;
    case 48: stretch(0, H - Y, X, Y, 0, Y - H, 2 * W - X, 2 * H - Y); break;
    case 49: stretch(W - X, H - Y, X, Y, X - W, Y - H, 2 * W - X, 2 * H - Y); break;
    case 50: stretch(W - X, 0, X, Y, X - W, 0, 2 * W - X, 2 * H - Y); break;
    case 51: stretch(hx, hy, X, Y, X - W, Y - H, 3 * W - 2 * X, 3 * H - 2 * Y); break;
    case 52: stretch(0, 0, W, H, hx, hy, X, Y); break;
    case 53: copy(hx, hy, X, Y, hx, hy); break;
    case 54:  // everything but the central rectangle
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
          if (x < x2 || x >= W - x2 || y < y2 || y >= H - y2) pixelFrom(x, y, x, y);
      break;
    case 55:
      copy(0, 0, x2, y2, 0, 0);
      copy(0, H - y2, x2, y2, 0, H - y2);
      copy(W - x2, H - y2, x2, y2, W - x2, H - y2);
      copy(W - x2, 0, x2, y2, W - x2, 0);
      break;
    case 56:
      stretch(0, 0, w2, h2, 0, 0, x2, y2);
      stretch(0, h2, w2, h2, 0, H - y2, x2, y2);
      stretch(w2, h2, w2, h2, W - x2, H - y2, x2, y2);
      stretch(w2, 0, w2, h2, W - x2, 0, x2, y2);
      break;
    case 57:
      copy(0, 0, w2, h2, x2 - w2, 0);
      copy(w2, 0, w2, h2, w2, y2 - h2);
      copy(w2, h2, w2, h2, W - x2, h2);
      copy(0, h2, w2, h2, 0, H - y2);
      break;
    case 58:
    case 59: {
      const raster::Region front =
          row == 58 ? raster::CreateRoundRectRgn(-2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W)
                    : raster::CreateRoundRectRgn(W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
          if (front.Contains(x, y)) pixelFrom(x, y, x, y);
      break;
    }
    default: break;
  }
  return frame;
}

}  // namespace block_reference
