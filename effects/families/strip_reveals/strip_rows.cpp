// Bars (60-64, 71-75), criss-cross bars (86-99) and uneven shreds (65-68,
// 76-79, 100-109): each row is one call of a strip builder, and rows differ
// only in the builder, the fronts and the kinds they pass.

#include <array>
#include <optional>

#include "raster/region.h"
#include "raster/region_builders.h"
#include "row_regions_p.h"

namespace effects::strip_reveals::detail {

enum class StripBuilder { Bars, Shred };

struct StripRow {
  int row;
  StripBuilder builder;
  // The fronts as multiples of X and Y: XPos = xFront * X, YPos = yFront * Y.
  // Two-pass bar kinds need the doubled front to run both passes; a kind-0
  // direction gets front 0.
  int xFront;
  int yFront;
  int horzKind;
  int vertKind;
  // Non-zero only for the row whose region is the intersection of two bar
  // patterns: the kinds of the second one, which uses the same fronts.
  int crossHorzKind = 0;
  int crossVertKind = 0;
};

namespace {

using B = StripBuilder;

constexpr std::array<StripRow, 42> kStripRows = {{
    // Bars.
    {60, B::Bars, 2, 0, 1, 0},
    {61, B::Bars, 2, 0, 2, 0},
    {62, B::Bars, 2, 0, 4, 0},
    {63, B::Bars, 2, 0, 5, 0},
    {64, B::Bars, 1, 0, 3, 0},
    {71, B::Bars, 0, 2, 0, 1},
    {72, B::Bars, 0, 2, 0, 2},
    {73, B::Bars, 0, 2, 0, 4},
    {74, B::Bars, 0, 2, 0, 5},
    {75, B::Bars, 0, 1, 0, 3},
    // Criss-cross bars: both directions in one region.
    {86, B::Bars, 2, 2, 1, 1},
    {87, B::Bars, 2, 2, 1, 2},
    {88, B::Bars, 2, 2, 2, 1},
    {89, B::Bars, 2, 2, 2, 2},
    {90, B::Bars, 2, 2, 4, 4},
    {91, B::Bars, 2, 2, 4, 5},
    {92, B::Bars, 2, 2, 5, 4},
    {93, B::Bars, 2, 2, 5, 5},
    {94, B::Bars, 1, 1, 1, 3},
    {95, B::Bars, 1, 1, 2, 3},
    {96, B::Bars, 1, 1, 3, 1},
    {97, B::Bars, 1, 1, 3, 2},
    {98, B::Bars, 1, 1, 3, 3},
    // Only where both criss-cross patterns have arrived.
    {99, B::Bars, 2, 2, 1, 1, 2, 2},
    // Uneven shreds.
    {65, B::Shred, 1, 0, 1, 0},
    {66, B::Shred, 1, 0, 2, 0},
    {67, B::Shred, 1, 0, 3, 0},
    {68, B::Shred, 1, 0, 4, 0},
    {76, B::Shred, 0, 1, 0, 1},
    {77, B::Shred, 0, 1, 0, 2},
    {78, B::Shred, 0, 1, 0, 3},
    {79, B::Shred, 0, 1, 0, 4},
    {100, B::Shred, 1, 1, 1, 1},
    {101, B::Shred, 1, 1, 1, 2},
    {102, B::Shred, 1, 1, 2, 1},
    {103, B::Shred, 1, 1, 2, 2},
    {104, B::Shred, 1, 1, 1, 3},
    {105, B::Shred, 1, 1, 2, 3},
    {106, B::Shred, 1, 1, 3, 1},
    {107, B::Shred, 1, 1, 3, 2},
    {108, B::Shred, 1, 1, 3, 3},
    {109, B::Shred, 1, 1, 4, 4},
}};

}  // namespace

const StripRow* FindStripRow(int row) noexcept { return FindRow(kStripRows, row); }

std::optional<raster::Region> StripRegion(const StripRow& row, const Frame& frame) noexcept {
  const int xPos = row.xFront * frame.X;
  const int yPos = row.yFront * frame.Y;
  // The shreds draw their jitter from the shared generator without reseeding
  // it, so their ragged edge changes from frame to frame.
  if (row.builder == StripBuilder::Shred) {
    return raster::CreateShredRegion(xPos, yPos, frame.W, frame.H, row.horzKind, row.vertKind);
  }
  std::optional<raster::Region> bars =
      raster::CreateBarsRegion(xPos, yPos, frame.W, frame.H, row.horzKind, row.vertKind);
  if (row.crossHorzKind == 0 && row.crossVertKind == 0) return bars;
  const std::optional<raster::Region> cross =
      raster::CreateBarsRegion(xPos, yPos, frame.W, frame.H, row.crossHorzKind, row.crossVertKind);
  if (!bars.has_value() || !cross.has_value()) return std::nullopt;
  raster::CombineRgn(*bars, *bars, *cross, raster::RGN_AND);
  return bars;
}

}  // namespace effects::strip_reveals::detail
