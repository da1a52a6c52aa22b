#pragma once

#include <pixman.h>

#include <cstdint>
#include <span>
#include <vector>

#include "raster/geometry.h"

namespace raster {

// What a region operation left behind, with the platform's numbering.
enum class RegionKind { Error = 0, Null = 1, Simple = 2, Complex = 3 };

enum class CombineMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };
inline constexpr CombineMode RGN_AND = CombineMode::And;
inline constexpr CombineMode RGN_OR = CombineMode::Or;
inline constexpr CombineMode RGN_XOR = CombineMode::Xor;
inline constexpr CombineMode RGN_DIFF = CombineMode::Diff;
inline constexpr CombineMode RGN_COPY = CombineMode::Copy;

enum class PolyFillMode { Alternate = 1, Winding = 2 };
inline constexpr PolyFillMode ALTERNATE = PolyFillMode::Alternate;
inline constexpr PolyFillMode WINDING = PolyFillMode::Winding;

// A set of pixels, kept as y-x banded rectangles. It owns its storage and
// frees it when it goes, so a region can never be leaked on any path. The
// pixel (x, y) belongs to a shape when the point (x + 0.5, y + 0.5), the
// pixel's centre, lies inside it; edges of a rectangle follow Rect (left and
// top in, right and bottom out).
class Region {
 public:
  Region() noexcept;  // no pixel
  explicit Region(const Rect& rect) noexcept;
  Region(const Region& other) noexcept;
  Region(Region&& other) noexcept;
  Region& operator=(const Region& other) noexcept;
  Region& operator=(Region&& other) noexcept;
  ~Region();

  bool Empty() const noexcept;
  RegionKind Kind() const noexcept;
  Rect Bounds() const noexcept;  // (0, 0, 0, 0) when empty
  bool Contains(int x, int y) const noexcept;
  bool Intersects(const Rect& rect) const noexcept;
  std::vector<Rect> Rects() const;
  int RectCount() const noexcept;
  void Offset(int dx, int dy) noexcept;

  friend bool operator==(const Region& a, const Region& b) noexcept;

  // For the raster layer's own loops, which walk the rectangles in place.
  const pixman_region32_t* Native() const noexcept { return &m_region; }
  pixman_region32_t* Native() noexcept { return &m_region; }

 private:
  pixman_region32_t m_region;
};

// The region constructors and operations the effects and the picture show use.
// Rectangles given by two corners are normalised first (left and right, top
// and bottom swapped when given the wrong way round), as the platform does.
Region CreateRectRgn(int left, int top, int right, int bottom) noexcept;
// The ellipse inscribed in the rectangle.
Region CreateEllipticRgn(int left, int top, int right, int bottom) noexcept;
// The rectangle with corners rounded by quarters of a cornerWidth by
// cornerHeight ellipse; each is limited to the rectangle's own size.
Region CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight) noexcept;
// The polygon through the points, closed back to the first; WINDING fills
// where the winding number is not 0, ALTERNATE where it is odd. Fewer than
// three points give an empty region.
Region CreatePolygonRgn(std::span<const Point> points, PolyFillMode mode) noexcept;
// The union of the rectangles; those that cover no pixel are skipped.
Region ExtCreateRegion(std::span<const Rect> rects) noexcept;

// dest := a AND b, a OR b, a XOR b, a minus b, or a copy of a (b unused).
// dest may be a or b.
RegionKind CombineRgn(Region& dest, const Region& a, const Region& b, CombineMode mode) noexcept;
RegionKind OffsetRgn(Region& region, int dx, int dy) noexcept;

}  // namespace raster
