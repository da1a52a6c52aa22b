#include "raster/complex_region.h"

#include <algorithm>
#include <new>

namespace raster {

namespace {
constexpr Rect kNoBounds{2147483647, 2147483647, -2147483647, -2147483647};
}

ComplexRegion::ComplexRegion() noexcept { ClearRegion(); }

void ComplexRegion::ClearRegion() noexcept {
  std::vector<Rect>().swap(m_rects);
  m_capacity = 0;
  m_bounds = kNoBounds;
  m_failed = false;
}

void ComplexRegion::AddRect(int Left, int Top, int Right, int Bottom) noexcept {
  if (m_failed) return;
  if (Count() == m_capacity) {
    try {
      m_rects.reserve(static_cast<std::size_t>(m_capacity) + kGrowth);
    } catch (const std::bad_alloc&) {
      // A region with rectangles missing would show a wrong frame; none at
      // all leaves the frame as it was.
      m_failed = true;
      return;
    }
    m_capacity += kGrowth;
  }
  m_rects.push_back(Rect{Left, Top, Right, Bottom});
  m_bounds.Left = std::min(m_bounds.Left, Left);
  m_bounds.Top = std::min(m_bounds.Top, Top);
  m_bounds.Right = std::max(m_bounds.Right, Right);
  m_bounds.Bottom = std::max(m_bounds.Bottom, Bottom);
}

std::optional<Region> ComplexRegion::CreateRegion() const noexcept {
  if (m_rects.empty() || m_failed) return std::nullopt;
  return ExtCreateRegion(m_rects);
}

}  // namespace raster
