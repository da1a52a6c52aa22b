#pragma once

// The frames of rows 119 to 149 worked out one pixel at a time, in the
// plainest code, straight from what each row is meant to draw: which picture
// every pixel shows (and for the fade, what it becomes). Tests hold the
// procedures against it.

#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <vector>

#include "effects/effect_helpers.h"
#include "raster/bitmap.h"
#include "raster/geometry.h"
#include "raster/numeric.h"
#include "raster/random.h"
#include "raster/region.h"
#include "raster/region_builders.h"
#include "reference_raster.h"

namespace reference_frames {

using raster::Bitmap;
using raster::Pixel;
using raster::Rect;

inline std::int64_t FloorDiv65536(std::int64_t value) {
  return static_cast<std::int64_t>(std::floor(static_cast<double>(value) / 65536.0));
}

// The inputs of one call of a row's procedure.
struct Call {
  int W, H, X, Y, P;
};

// The new picture where `shows` says so, the old one elsewhere.
template <class Shows>
Bitmap Reveal(const Bitmap& old, const Bitmap& image, const Call& c, Shows shows) {
  Bitmap out = old;
  for (int y = 0; y < c.H; ++y)
    for (int x = 0; x < c.W; ++x)
      if (shows(x, y)) reference::Set(out, x, y, reference::At(image, x, y));
  return out;
}

inline bool InAny(const std::vector<Rect>& rects, int x, int y) {
  for (const Rect& r : rects)
    if (r.Contains(x, y)) return true;
  return false;
}

// Row 119: every colour byte moves floor((new - old) * d / 256) toward the new
// one, with d = MulDiv(256, P, 100).
inline Bitmap Fade(const Bitmap& old, const Bitmap& image, const Call& c) {
  Bitmap out = old;
  const int d = raster::MulDiv(256, c.P, 100);
  for (int y = 0; y < c.H; ++y) {
    for (int x = 0; x < c.W; ++x) {
      const Pixel o = reference::At(old, x, y), n = reference::At(image, x, y);
      std::uint8_t bytes[4];
      for (int b = 0; b < 4; ++b) {
        const int ob = raster::PixelByte(o, b), nb = raster::PixelByte(n, b);
        bytes[b] = b == raster::kFourthByte
                       ? std::uint8_t(ob)
                       : std::uint8_t(ob + int(std::floor((nb - ob) * d / 256.0)));
      }
      reference::Set(out, x, y,
                     raster::MakePixel(bytes[raster::kRedByte], bytes[raster::kGreenByte],
                                       bytes[raster::kBlueByte], bytes[raster::kFourthByte]));
    }
  }
  return out;
}

// Rows 120 to 123: the rotation rule with rows counted up from the bottom;
// the turning point and the angle of each row.
inline Bitmap Pivot(int row, const Bitmap& old, const Bitmap& image, const Call& c) {
  int cx = -1, cy = -1;
  double angle = 0;
  switch (row) {
    case 120: cx = -1, cy = -1, angle = (100 - c.P) * std::numbers::pi / 200; break;
    case 121: cx = -1, cy = c.H, angle = (c.P - 100) * std::numbers::pi / 200; break;
    case 122: cx = c.W, cy = -1, angle = (c.P - 100) * std::numbers::pi / 200; break;
    case 123: cx = c.W, cy = c.H, angle = (100 - c.P) * std::numbers::pi / 200; break;
  }
  const std::int64_t S = raster::Trunc(std::sin(-angle) * 65536);
  const std::int64_t C = raster::Trunc(std::cos(-angle) * 65536);
  Bitmap out = old;
  for (int yUp = 0; yUp < c.H; ++yUp) {
    for (int x = 0; x < c.W; ++x) {
      const std::int64_t u = x - cx + 1, v = yUp - cy + 1;
      const std::int64_t sx = cx + FloorDiv65536(u * C - v * S);
      const std::int64_t sy = cy + FloorDiv65536(u * S + v * C);
      if (sx < 0 || sx >= c.W || sy < 0 || sy >= c.H) continue;
      reference::Set(out, x, c.H - 1 - yUp, reference::At(image, int(sx), int(c.H - 1 - sy)));
    }
  }
  return out;
}

// Rows 129 to 136: where each frame pixel is taken from. A squeezed old
// picture takes the source pixel under the centre of each destination pixel.
inline Bitmap Push(int row, const Bitmap& old, const Bitmap& image, const Call& c) {
  const int W = c.W, H = c.H, X = c.X, Y = c.Y;
  const auto squeezed = [](int i, int to, int from) {
    return int(reference::StretchSource(i, to, from));
  };
  Bitmap out = old;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      Pixel p = 0;
      switch (row) {
        case 129: p = x >= X ? reference::At(old, x - X, y) : reference::At(image, W - X + x, y); break;
        case 130: p = x < W - X ? reference::At(old, x + X, y) : reference::At(image, x - (W - X), y); break;
        case 131: p = x >= X ? reference::At(old, squeezed(x - X, W - X, W), y) : reference::At(image, W - X + x, y); break;
        case 132: p = x < W - X ? reference::At(old, squeezed(x, W - X, W), y) : reference::At(image, x - (W - X), y); break;
        case 133: p = y >= Y ? reference::At(old, x, y - Y) : reference::At(image, x, H - Y + y); break;
        case 134: p = y < H - Y ? reference::At(old, x, y + Y) : reference::At(image, x, y - (H - Y)); break;
        case 135: p = y >= Y ? reference::At(old, x, squeezed(y - Y, H - Y, H)) : reference::At(image, x, H - Y + y); break;
        case 136: p = y < H - Y ? reference::At(old, x, squeezed(y, H - Y, H)) : reference::At(image, x, y - (H - Y)); break;
      }
      reference::Set(out, x, y, p);
    }
  }
  return out;
}

// Rows 137 to 143 and 146 to 149: the rectangles each row reveals.
inline std::vector<Rect> Rectangles(int row, const Call& c) {
  const int W = c.W, H = c.H, X = c.X, Y = c.Y, P = c.P;
  std::vector<Rect> rects;
  const auto column = [&](int a, int b) { rects.push_back({a, 0, b, H}); };
  const auto band = [&](int a, int b) { rects.push_back({0, a, W, b}); };
  switch (row) {
    case 137: {
      const int t = W / 40 + 1, v = raster::MulDiv(t, P, 100);
      for (int m = t; m - t < W; m += 2 * t) column(m - v, m + v);
      break;
    }
    case 138: {
      const int t = H / 40 + 1, v = raster::MulDiv(t, P, 100);
      for (int m = t; m - t < H; m += 2 * t) band(m - v, m + v);
      break;
    }
    case 139:
      if (X != 0)
        for (int a = 0; a < W; a += X) column(a, a + raster::MulDiv(X, P, 100));
      break;
    case 140:
      if (X != 0)
        for (int a = W; a > 0; a -= X) column(a - raster::MulDiv(X, P, 100), a);
      break;
    case 141:
      if (Y != 0)
        for (int a = 0; a < H; a += Y) band(a, a + raster::MulDiv(Y, P, 100));
      break;
    case 142:
      if (Y != 0)
        for (int a = H; a > 0; a -= Y) band(a - raster::MulDiv(Y, P, 100), a);
      break;
    case 143: {
      const int t = std::min(W, H) / 10 + 1, v = raster::MulDiv(t, P, 100);
      for (int x = 0; x < W; x += 2 * t)
        for (int y = 0; y < H; y += 2 * t) rects.push_back({x + t - v, y + t - v, x + t + v, y + t + v});
      break;
    }
    case 146:
    case 147: {
      const int s = H / 20;
      if (X == 0 || s == 0) break;
      const int a = raster::MulDiv(s, P, 100), v = raster::MulDiv(X, P, 100);
      for (int m = -s; m < H; m += 3 * s) band(m - a, m + a);
      if (row == 146)
        for (int b = 0; b < W; b += X) column(b, b + v);
      else
        for (int b = W; b > 0; b -= X) column(b - v, b);
      break;
    }
    case 148:
    case 149: {
      const int s = W / 20;
      if (Y == 0 || s == 0) break;
      const int a = raster::MulDiv(s, P, 100), v = raster::MulDiv(Y, P, 100);
      for (int m = -s; m < W; m += 3 * s) column(m - a, m + a);
      if (row == 148)
        for (int b = 0; b < H; b += Y) band(b, b + v);
      else
        for (int b = H; b > 0; b -= Y) band(b - v, b);
      break;
    }
  }
  return rects;
}

// Rows 144 and 145: the centre and P points on a circle through the corners,
// from twelve o'clock in steps of 3.6 degrees, as one polygon.
inline raster::Region Sweep(int row, const Call& c) {
  const int cx = c.W / 2, cy = c.H / 2;
  int r = 0;
  while (std::int64_t{r} * r < std::int64_t{cx} * cx + std::int64_t{cy} * cy) ++r;
  // The angles are handed over as doubles; the steps add up in extended
  // precision.
  const double start = -std::numbers::pi / 2;
  const double end = row == 144 ? start + c.P * std::numbers::pi / 50 : start - c.P * std::numbers::pi / 50;
  const long double delta = (static_cast<long double>(end) - start) / c.P;
  std::vector<raster::Point> points = {{cx, cy}};
  long double a = start;
  for (int k = 0; k < c.P; ++k, a += delta) {
    points.push_back({cx + raster::Round(double(r * std::cos(a))), cy + raster::Round(double(r * std::sin(a)))});
  }
  return raster::CreatePolygonRgn(points, raster::WINDING);
}

// The frame of `row` for the call, from the old and the new picture. Rows that
// draw from the shared generator draw from it as it stands (the speckles
// advance it; row 128 seeds it with the picture seed and puts it back).
inline Bitmap Frame(int row, const Bitmap& old, const Bitmap& image, const Call& c) {
  if (row == 119) return Fade(old, image, c);
  if (row >= 120 && row <= 123) return Pivot(row, old, image, c);
  if (row >= 129 && row <= 136) return Push(row, old, image, c);
  if (row >= 124 && row <= 127) {
    const int kinds[4][2] = {{1, 0}, {2, 0}, {0, 1}, {0, 2}};
    const std::optional<raster::Region> specks =
        raster::CreateSpeckleRegion(c.X, c.Y, c.W, c.H, kinds[row - 124][0], kinds[row - 124][1]);
    return Reveal(old, image, c, [&](int x, int y) { return specks && specks->Contains(x, y); });
  }
  if (row == 128) {
    const std::uint32_t saved = raster::RandSeed();
    raster::SetRandSeed(effects::PictureSeed(image));
    const int t = std::min(c.W, c.H) / 50 + 1;
    std::vector<Rect> cells;
    for (int x = 0; x < c.W; x += 2 * t)
      for (int y = 0; y < c.H; y += 2 * t)
        if (raster::Random(100) < c.P) cells.push_back({x, y, x + 2 * t, y + 2 * t});
    raster::SetRandSeed(saved);
    return Reveal(old, image, c, [&](int x, int y) { return InAny(cells, x, y); });
  }
  if (row == 144 || row == 145) {
    const raster::Region slice = Sweep(row, c);
    return Reveal(old, image, c, [&](int x, int y) { return slice.Contains(x, y); });
  }
  const std::vector<Rect> rects = Rectangles(row, c);
  return Reveal(old, image, c, [&](int x, int y) { return InAny(rects, x, y); });
}

}  // namespace reference_frames
