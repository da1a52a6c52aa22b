#pragma once

#include <pixman.h>

#include <algorithm>
#include <cstdint>

#include "raster/bitmap.h"
#include "raster/canvas.h"

namespace raster::detail {

// A rectangle given by 64-bit edges (sums of int coordinates and extents may
// leave the int range) cut down to the bitmap.
inline Rect ClampToSurface(std::int64_t left, std::int64_t top, std::int64_t right,
                           std::int64_t bottom, const Bitmap& bitmap) noexcept {
  left = std::max<std::int64_t>(left, 0);
  top = std::max<std::int64_t>(top, 0);
  right = std::min<std::int64_t>(right, bitmap.Width());
  bottom = std::min<std::int64_t>(bottom, bitmap.Height());
  if (right <= left || bottom <= top) return Rect{};
  return Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
              static_cast<int>(bottom)};
}

// Calls draw(rect) for every rectangle of device pixels inside `bounds` (which
// lies within the bitmap) that the canvas may draw: all of `bounds` without a
// clip region, else its parts inside the clip region, top band first and left
// to right within a band.
template <class Draw>
void ForEachDrawableRect(const Canvas& dc, const Rect& bounds, Draw&& draw) {
  if (bounds.IsEmpty()) return;
  const Region* clip = dc.ClipRegion();
  if (clip == nullptr) {
    draw(bounds);
    return;
  }
  int count = 0;
  const pixman_box32_t* boxes =
      pixman_region32_rectangles(const_cast<pixman_region32_t*>(clip->Native()), &count);
  for (int i = 0; i < count; ++i) {
    const pixman_box32_t& b = boxes[i];
    if (b.y2 <= bounds.Top) continue;
    if (b.y1 >= bounds.Bottom) break;
    const Rect r = Intersect(Rect{b.x1, b.y1, b.x2, b.y2}, bounds);
    if (!r.IsEmpty()) draw(r);
  }
}

// The drawable part of the bitmap: its intersection with the clip region's
// bounding box.
inline Rect DrawableBounds(const Canvas& dc) noexcept {
  const Bitmap& target = dc.Target();
  const Rect surface{0, 0, target.Width(), target.Height()};
  const Region* clip = dc.ClipRegion();
  return clip == nullptr ? surface : Intersect(surface, clip->Bounds());
}

}  // namespace raster::detail
