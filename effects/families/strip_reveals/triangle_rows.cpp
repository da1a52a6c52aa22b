// Reveals through unions of triangles: the diagonal reveals from a corner
// (110-113), the two sweeps about opposite corners (114, 115), the starbursts
// from the centre (116, 117) and the triangular shred (118).

#include <array>
#include <optional>

#include "raster/numeric.h"
#include "raster/region.h"
#include "raster/region_builders.h"
#include "row_regions_p.h"

namespace effects::strip_reveals::detail {

// One coordinate of a corner as a small linear form of the frame: for x,
// side * W + front * X + centre * (W div 2); for y the same with H, Y and
// H div 2.
struct Term {
  int side;
  int front;
  int centre;
};

struct Corner {
  Term x;
  Term y;
};

using Triangle = std::array<Corner, 3>;

struct TriangleRow {
  int row;
  int count;  // triangles used
  std::array<Triangle, 4> triangles;
};

namespace {

// The terms the rows need, named after what they give for x (W, X) and for y
// (H, Y) alike.
constexpr Term kZero{0, 0, 0};
constexpr Term kSide{1, 0, 0};
constexpr Term kFront{0, 1, 0};
constexpr Term kTwoFronts{0, 2, 0};
constexpr Term kSideLessFront{1, -1, 0};
constexpr Term kSideLessTwoFronts{1, -2, 0};
constexpr Term kCentre{0, 0, 1};

constexpr Corner kMiddle{kCentre, kCentre};

constexpr std::array<TriangleRow, 8> kTriangleRows = {{
    // Diagonal reveals: one triangle out of a corner.
    {110, 1, {{{{{kZero, kZero}, {kTwoFronts, kZero}, {kZero, kTwoFronts}}}}}},
    {111, 1, {{{{{kSide, kZero}, {kSideLessTwoFronts, kZero}, {kSide, kTwoFronts}}}}}},
    {112, 1, {{{{{kZero, kSide}, {kTwoFronts, kSide}, {kZero, kSideLessTwoFronts}}}}}},
    {113, 1, {{{{{kSide, kSide}, {kSideLessTwoFronts, kSide}, {kSide, kSideLessTwoFronts}}}}}},
    // Sweeps: two triangles turning about opposite corners.
    {114, 2,
     {{{{{kZero, kSide}, {kZero, kZero}, {kFront, kSide}}},
       {{{kSide, kSide}, {kSide, kZero}, {kSideLessFront, kZero}}}}}},
    {115, 2,
     {{{{{kSide, kZero}, {kZero, kZero}, {kSide, kFront}}},
       {{{kSide, kSide}, {kZero, kSide}, {kZero, kSideLessFront}}}}}},
    // Starbursts: four triangles from the centre, their free corners running
    // clockwise (116) or anticlockwise (117) along the sides.
    {116, 4,
     {{{{kMiddle, {kZero, kZero}, {kFront, kZero}}},
       {{kMiddle, {kZero, kSide}, {kZero, kSideLessFront}}},
       {{kMiddle, {kSide, kSide}, {kSideLessFront, kSide}}},
       {{kMiddle, {kSide, kZero}, {kSide, kFront}}}}}},
    {117, 4,
     {{{{kMiddle, {kZero, kZero}, {kZero, kFront}}},
       {{kMiddle, {kZero, kSide}, {kFront, kSide}}},
       {{kMiddle, {kSide, kSide}, {kSide, kSideLessFront}}},
       {{kMiddle, {kSide, kZero}, {kSideLessFront, kZero}}}}}},
}};

int Evaluate(const Term& t, int side, int front) noexcept {
  return t.side * side + t.front * front + t.centre * (side / 2);
}

raster::Region TriangleRgn(const Triangle& t, const Frame& f) noexcept {
  std::array<int, 6> coords{};
  for (std::size_t i = 0; i < t.size(); ++i) {
    coords[2 * i] = Evaluate(t[i].x, f.W, f.X);
    coords[2 * i + 1] = Evaluate(t[i].y, f.H, f.Y);
  }
  return raster::CreatePolygonRegion(coords);
}

}  // namespace

const TriangleRow* FindTriangleRow(int row) noexcept { return FindRow(kTriangleRows, row); }

raster::Region TriangleRegion(const TriangleRow& row, const Frame& frame) noexcept {
  raster::Region region = TriangleRgn(row.triangles[0], frame);
  for (int i = 1; i < row.count; ++i) {
    raster::CombineRgn(region, region, TriangleRgn(row.triangles[std::size_t(i)], frame),
                       raster::RGN_OR);
  }
  return region;
}

std::optional<raster::Region> TriangularShredRegion(const Frame& f) noexcept {
  const int cellWidth = f.W / 10 + 1;   // pixels
  const int cellHeight = f.H / 10 + 1;  // pixels
  // Half-sizes of the triangles, about twice the cell at the end.
  const int dx = raster::MulDiv(cellWidth, f.Progress, 50);
  const int dy = raster::MulDiv(cellHeight, f.Progress, 50);
  std::optional<raster::Region> region;
  // The centres lie on odd multiples of the cell size. The rows go one cell
  // further down than the columns go right: the triangles point down and are
  // widest at the top, so the bottom edge needs the bases of a row of
  // triangles centred below the picture.
  for (int y = cellHeight; y - 2 * cellHeight < f.H; y += 2 * cellHeight) {
    for (int x = cellWidth; x - cellWidth < f.W; x += 2 * cellWidth) {
      const std::array<int, 6> corners = {x - dx, y - dy, x, y + dy, x + dx, y - dy};
      raster::Region triangle = raster::CreatePolygonRegion(corners);
      if (region.has_value()) {
        raster::CombineRgn(*region, *region, triangle, raster::RGN_OR);
      } else {
        region = std::move(triangle);
      }
    }
  }
  return region;
}

}  // namespace effects::strip_reveals::detail
