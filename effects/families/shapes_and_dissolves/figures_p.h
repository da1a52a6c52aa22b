#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "raster/geometry.h"
#include "raster/region.h"

// Region pieces that several figures of this family are made of.
namespace effects::shapes_and_dissolves {

// The diamond with its corners on the middles of the box's sides:
// (left, middleY), (middleX, top), (right, middleY), (middleX, bottom), in
// that order, winding fill.  // pixels
raster::Region Diamond(int left, int top, int right, int bottom, int middleX, int middleY) noexcept;

// The union of several pieces; no region until a piece was added. Pieces
// are united in pairs of about equal size rather than each into the growing
// whole, which gives the same pixels for a fraction of the work when there
// are dozens of pieces.
class UnitedPieces {
 public:
  void Add(raster::Region piece) noexcept;
  std::optional<raster::Region> Take() noexcept;

 private:
  // Slot k, when filled, holds the union of 2^k pieces (a binary counter).
  std::array<raster::Region, 32> m_partial;
  std::uint32_t m_filled = 0;
};

}  // namespace effects::shapes_and_dissolves
