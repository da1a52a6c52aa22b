#pragma once

#include <optional>
#include <span>
#include <vector>

#include "raster/geometry.h"
#include "raster/region.h"

namespace raster {

// Collects rectangles and turns them into one region in a single call, so that
// a region of thousands of strips costs one union instead of thousands. Its
// list grows 500 rectangles at a time.
class ComplexRegion {
 public:
  static constexpr int kGrowth = 500;  // rectangles

  ComplexRegion() noexcept;
  ~ComplexRegion() = default;
  ComplexRegion(const ComplexRegion&) = delete;
  ComplexRegion& operator=(const ComplexRegion&) = delete;

  // Empties the builder and frees its list.
  void ClearRegion() noexcept;
  // Appends one rectangle as given; one that covers no pixel adds nothing to
  // the region but is still counted and widens Bounds().
  void AddRect(int Left, int Top, int Right, int Bottom) noexcept;
  // A new region covering the union of the rectangles; no region when none
  // was added (or memory ran out while adding). The rectangles stay.
  std::optional<Region> CreateRegion() const noexcept;

  int Count() const noexcept { return static_cast<int>(m_rects.size()); }
  int Capacity() const noexcept { return m_capacity; }
  // Smallest left and top and largest right and bottom added;
  // (2147483647, 2147483647, -2147483647, -2147483647) when empty.
  const Rect& Bounds() const noexcept { return m_bounds; }
  std::span<const Rect> Rects() const noexcept { return m_rects; }

 private:
  std::vector<Rect> m_rects;
  int m_capacity = 0;
  Rect m_bounds;
  bool m_failed = false;
};

}  // namespace raster
