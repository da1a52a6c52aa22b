#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "raster/region.h"

// The regions of this family's rows, by kind of shape. Each kind keeps its
// rows in a table of parameters; RowRegion looks a row up in them.
namespace effects::strip_reveals::detail {

// The arguments of one frame: the pictures' size and its progress-scaled size
// (pixels), and the progress (1 .. 99).
struct Frame {
  int W;
  int H;
  int X;
  int Y;
  int Progress;
};

// The entry of `row` in a table whose entries have a member `row`; nullptr
// when the table has none.
template <class Entry, std::size_t N>
const Entry* FindRow(const std::array<Entry, N>& table, int row) noexcept {
  const auto found =
      std::find_if(table.begin(), table.end(), [row](const Entry& e) { return e.row == row; });
  return found == table.end() ? nullptr : &*found;
}

// Bars, criss-cross bars and uneven shreds.
struct StripRow;
const StripRow* FindStripRow(int row) noexcept;
std::optional<raster::Region> StripRegion(const StripRow& row, const Frame& frame) noexcept;

// Rounded-rectangle reveals: curved fronts from an edge or a corner, and the
// two elliptic reveals.
struct CurvedRow;
const CurvedRow* FindCurvedRow(int row) noexcept;
raster::Region CurvedRegion(const CurvedRow& row, const Frame& frame) noexcept;

// Unions of triangles: diagonal reveals, sweeps and starbursts.
struct TriangleRow;
const TriangleRow* FindTriangleRow(int row) noexcept;
raster::Region TriangleRegion(const TriangleRow& row, const Frame& frame) noexcept;

// The triangular shred, a grid of growing triangles.
inline constexpr int kTriangularShredRow = 118;
std::optional<raster::Region> TriangularShredRegion(const Frame& frame) noexcept;

}  // namespace effects::strip_reveals::detail
