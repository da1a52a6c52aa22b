#include "figures_p.h"

#include <array>
#include <utility>

namespace effects::shapes_and_dissolves {

raster::Region Diamond(int left, int top, int right, int bottom, int middleX, int middleY) noexcept {
  const std::array<raster::Point, 4> corners{
      raster::Point{left, middleY}, {middleX, top}, {right, middleY}, {middleX, bottom}};
  return raster::CreatePolygonRgn(corners, raster::WINDING);
}

void UnitedPieces::Add(raster::Region piece) noexcept {
  std::size_t slot = 0;
  for (; slot + 1 < m_partial.size() && (m_filled & (1u << slot)) != 0; ++slot) {
    raster::CombineRgn(piece, piece, m_partial[slot], raster::RGN_OR);
    m_partial[slot] = raster::Region();
    m_filled &= ~(1u << slot);
  }
  if ((m_filled & (1u << slot)) != 0) {  // the last slot takes everything beyond
    raster::CombineRgn(piece, piece, m_partial[slot], raster::RGN_OR);
  }
  m_partial[slot] = std::move(piece);
  m_filled |= 1u << slot;
}

std::optional<raster::Region> UnitedPieces::Take() noexcept {
  std::optional<raster::Region> result;
  for (std::size_t slot = 0; slot < m_partial.size(); ++slot) {
    if ((m_filled & (1u << slot)) == 0) continue;
    if (!result.has_value()) {
      result = std::move(m_partial[slot]);
    } else {
      raster::CombineRgn(*result, *result, m_partial[slot], raster::RGN_OR);
    }
    m_partial[slot] = raster::Region();
  }
  m_filled = 0;
  return result;
}

}  // namespace effects::shapes_and_dissolves
