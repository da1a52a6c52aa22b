#pragma once

#include <algorithm>
#include <cstdint>

namespace raster {

// A pixel position; x grows to the right, y downward.  // pixels
struct Point {
  int X = 0;
  int Y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle that includes its left and top edges and excludes its right and
// bottom edges, so (0, 0, 2, 1) covers the two pixels (0, 0) and (1, 0). A
// rectangle whose right is not right of its left (or bottom not below its top)
// covers no pixel.  // pixels
struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  // As 64-bit values: the edges of any rectangle may lie anywhere in int range.
  std::int64_t Width() const noexcept { return std::int64_t{Right} - Left; }
  std::int64_t Height() const noexcept { return std::int64_t{Bottom} - Top; }
  bool IsEmpty() const noexcept { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const noexcept {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The pixels both rectangles cover; an empty rectangle when there are none.
inline Rect Intersect(const Rect& a, const Rect& b) noexcept {
  const Rect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
               std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? Rect{} : r;
}

}  // namespace raster
