#pragma once

// Plain, obviously correct versions of the raster operations, one pixel at a
// time, for tests to hold the fast ones against; and bitmaps with guard bytes
// around them that show any write outside.

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/geometry.h"
#include "raster/region.h"

namespace reference {

using raster::Bitmap;
using raster::Pixel;

inline bool Inside(const Bitmap& b, std::int64_t x, std::int64_t y) {
  return x >= 0 && y >= 0 && x < b.Width() && y < b.Height();
}

// Pixel (x, y), y counted from the top row.
inline Pixel At(const Bitmap& b, int x, int y) { return b.PixelRow(y)[x]; }
inline void Set(Bitmap& b, int x, int y, Pixel p) { b.PixelRow(y)[x] = p; }

// Whether the canvas may draw device pixel (x, y): inside the bitmap and the
// clip region (when there is one).
inline bool Drawable(const raster::Canvas& dc, std::int64_t x, std::int64_t y) {
  if (!Inside(dc.Target(), x, y)) return false;
  const raster::Region* clip = dc.ClipRegion();
  return clip == nullptr || clip->Contains(static_cast<int>(x), static_cast<int>(y));
}

// BitBlt as a pixel loop. `before` is a copy of src taken before the call, so
// that a copy within one bitmap reads the picture as it was.
inline void BitBlt(raster::Canvas& dest, int x, int y, int w, int h, const Bitmap& before, int sx,
                   int sy) {
  const raster::Point o = dest.ViewportOrg();
  for (std::int64_t j = 0; j < h; ++j) {
    for (std::int64_t i = 0; i < w; ++i) {
      const std::int64_t dx = x + o.X + i;
      const std::int64_t dy = y + o.Y + j;
      if (!Drawable(dest, dx, dy) || !Inside(before, sx + i, sy + j)) continue;
      Set(dest.Target(), int(dx), int(dy), At(before, int(sx + i), int(sy + j)));
    }
  }
}

// The source offset a stretch takes for destination offset i: the source
// pixel under the centre of the destination pixel.
inline std::int64_t StretchSource(std::int64_t i, std::int64_t destExtent,
                                  std::int64_t sourceExtent) {
  return (2 * i + 1) * std::llabs(sourceExtent) / (2 * std::llabs(destExtent));
}

// StretchBlt as a pixel loop over the whole destination block; negative
// extents mirror.
inline void StretchBlt(raster::Canvas& dest, int x, int y, int w, int h, const Bitmap& before,
                       int sx, int sy, int sw, int sh) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return;
  const raster::Point o = dest.ViewportOrg();
  for (std::int64_t j = 0; j < std::llabs(h); ++j) {
    const std::int64_t dy = h > 0 ? y + o.Y + j : y + o.Y - j;
    const std::int64_t oy = StretchSource(j, h, sh);
    const std::int64_t syy = sh > 0 ? sy + oy : sy - oy;
    for (std::int64_t i = 0; i < std::llabs(w); ++i) {
      const std::int64_t dx = w > 0 ? x + o.X + i : x + o.X - i;
      const std::int64_t ox = StretchSource(i, w, sw);
      const std::int64_t sxx = sw > 0 ? sx + ox : sx - ox;
      if (!Drawable(dest, dx, dy) || !Inside(before, sxx, syy)) continue;
      Set(dest.Target(), int(dx), int(dy), At(before, int(sxx), int(syy)));
    }
  }
}

// Fills every pixel of the bitmap that the region contains.
inline void FillRegion(Bitmap& b, const raster::Region& region, Pixel p) {
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      if (region.Contains(x, y)) Set(b, x, y, p);
    }
  }
}

// The region's pixels within `window`, row by row from its top-left corner.
inline std::vector<bool> Mask(const raster::Region& region, const raster::Rect& window) {
  std::vector<bool> mask;
  for (int y = window.Top; y < window.Bottom; ++y) {
    for (int x = window.Left; x < window.Right; ++x) mask.push_back(region.Contains(x, y));
  }
  return mask;
}

// The pixels of `window` whose centres satisfy the predicate.
inline std::vector<bool> Mask(const std::function<bool(double, double)>& inside,
                              const raster::Rect& window) {
  std::vector<bool> mask;
  for (int y = window.Top; y < window.Bottom; ++y) {
    for (int x = window.Left; x < window.Right; ++x) mask.push_back(inside(x + 0.5, y + 0.5));
  }
  return mask;
}

// The winding number of the closed polygon around the point.
inline int WindingNumber(std::span<const raster::Point> polygon, double px, double py) {
  int winding = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const raster::Point a = polygon[i];
    const raster::Point b = polygon[(i + 1) % polygon.size()];
    if ((a.Y <= py) == (b.Y <= py)) continue;  // does not cross the point's line
    // Whether the crossing lies right of the point, without dividing, so that
    // a crossing exactly at the point is decided exactly.
    const double dy = double(b.Y) - a.Y;
    const double along = (py - a.Y) * (double(b.X) - a.X);  // (crossX - a.X) * dy
    const double toPoint = (px - a.X) * dy;
    if (dy > 0 ? along > toPoint : along < toPoint) winding += dy > 0 ? 1 : -1;
  }
  return winding;
}

// A bitmap over a buffer with `guard` rows above and below and `guard`
// columns left and right of every row, all filled with a pattern that
// differs from pixel to pixel, so that a write of any value outside the
// bitmap shows.
class GuardedBitmap {
 public:
  GuardedBitmap(int width, int height, int guard = 3)
      : m_width(width), m_height(height), m_guard(guard),
        m_pitch(std::size_t(width) + 2 * std::size_t(guard)),
        m_buffer(m_pitch * (std::size_t(height) + 2 * std::size_t(guard))) {
    for (std::size_t i = 0; i < m_buffer.size(); ++i) m_buffer[i] = GuardValue(i);
    m_view = Bitmap::View(m_buffer.data() + std::size_t(guard) * m_pitch + std::size_t(guard),
                          width, height, std::ptrdiff_t(m_pitch) * 4);
  }
  GuardedBitmap(const GuardedBitmap&) = delete;
  GuardedBitmap& operator=(const GuardedBitmap&) = delete;

  Bitmap& Get() { return m_view; }
  const Bitmap& Get() const { return m_view; }

  // Empty when every guard byte is as it was; else where the first changed
  // one lies, relative to the bitmap's top-left pixel.
  std::string DamagedGuard() const {
    for (std::size_t i = 0; i < m_buffer.size(); ++i) {
      const long col = long(i % m_pitch) - m_guard;
      const long memoryRow = long(i / m_pitch) - m_guard;  // 0 = bottom row
      const bool inside = col >= 0 && col < m_width && memoryRow >= 0 && memoryRow < m_height;
      if (inside || m_buffer[i] == GuardValue(i)) continue;
      return "guard pixel at column " + std::to_string(col) + ", row " +
             std::to_string(m_height - 1 - memoryRow) + " was overwritten";
    }
    return {};
  }

 private:
  static Pixel GuardValue(std::size_t i) { return Pixel(0xA5C3E1F7u ^ (i * 2654435761u)); }

  int m_width;
  int m_height;
  int m_guard;
  std::size_t m_pitch;  // pixels per buffer row
  std::vector<Pixel> m_buffer;
  Bitmap m_view;
};

}  // namespace reference
