// Rounded-rectangle reveals: a curved front from the top or the bottom (69,
// 70) or out of a corner (80-83), and the near-ellipses growing out of the
// centre (84) or shrinking into it (85).

#include <array>

#include "raster/region.h"
#include "row_regions_p.h"

namespace effects::strip_reveals::detail {

enum class CurvedShape {
  FromEdge,       // from the top or the bottom edge
  FromCorner,     // out of one corner
  EllipseOut,     // out from the centre
  EllipseIn,      // in to the centre
};

struct CurvedRow {
  int row;
  CurvedShape shape;
  bool fromRight;
  bool fromBottom;
};

namespace {

using S = CurvedShape;

constexpr std::array<CurvedRow, 8> kCurvedRows = {{
    {69, S::FromEdge, false, false},
    {70, S::FromEdge, false, true},
    {80, S::FromCorner, false, false},
    {81, S::FromCorner, true, false},
    {82, S::FromCorner, false, true},
    {83, S::FromCorner, true, true},
    {84, S::EllipseOut, false, false},
    {85, S::EllipseIn, false, false},
}};

// The front's middle runs at twice the progress and its ends lag H behind, so
// the picture is covered just as the progress reaches 100. The rectangle
// reaches one pixel past the right side, the corner ellipses are 2H wide.
raster::Region FromEdge(bool fromBottom, const Frame& f) noexcept {
  const int top = fromBottom ? f.H - 2 * f.Y : -2 * f.H;
  const int bottom = fromBottom ? 3 * f.H : 2 * f.Y;
  return raster::CreateRoundRectRgn(0, top, f.W + 1, bottom, 2 * f.H, 2 * f.H);
}

// A rectangle reaching 1.5 X and 1.5 Y into the frame from the corner, its
// rounding of radii W and H clamped to its size while it is smaller.
raster::Region FromCorner(bool fromRight, bool fromBottom, const Frame& f) noexcept {
  const int reachX = (3 * f.X) / 2;  // pixels
  const int reachY = (3 * f.Y) / 2;  // pixels
  const int left = fromRight ? f.W - reachX : -f.W;
  const int right = fromRight ? 2 * f.W : reachX;
  const int top = fromBottom ? f.H - reachY : -f.H;
  const int bottom = fromBottom ? 2 * f.H : reachY;
  return raster::CreateRoundRectRgn(left, top, right, bottom, 2 * f.W, 2 * f.H);
}

}  // namespace

const CurvedRow* FindCurvedRow(int row) noexcept { return FindRow(kCurvedRows, row); }

raster::Region CurvedRegion(const CurvedRow& row, const Frame& f) noexcept {
  const int cx = f.W / 2;
  const int cy = f.H / 2;
  switch (row.shape) {
    case CurvedShape::FromEdge:
      return FromEdge(row.fromBottom, f);
    case CurvedShape::FromCorner:
      return FromCorner(row.fromRight, row.fromBottom, f);
    case CurvedShape::EllipseOut:
      // Half-size X by Y, corners rounded by 90 % of it.
      return raster::CreateRoundRectRgn(cx - f.X, cy - f.Y, cx + f.X, cy + f.Y, (9 * f.X) / 5,
                                        (9 * f.Y) / 5);
    case CurvedShape::EllipseIn: {
      // The frame outside a shape of half-size about (W - X) by (H - Y).
      raster::Region frame = raster::CreateRectRgn(0, 0, f.W, f.H);
      const raster::Region shape =
          raster::CreateRoundRectRgn(f.X - cx, f.Y - cy, 3 * cx - f.X, 3 * cy - f.Y,
                                     (9 * (f.W - f.X)) / 5, (9 * (f.H - f.Y)) / 5);
      raster::CombineRgn(frame, frame, shape, raster::RGN_XOR);
      return frame;
    }
  }
  return raster::Region();
}

}  // namespace effects::strip_reveals::detail
