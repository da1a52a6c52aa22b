// Rows 154 to 161: figures made of triangular wedges whose base sits on the
// middle of a side and whose tip points into the picture: the V reveals, the
// bow ties and the diagonal crosses.

#include <array>
#include <initializer_list>
#include <utility>

#include "effects/effect_helpers.h"
#include "figures_p.h"
#include "raster/region.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

namespace {

using raster::Point;

enum class Side { Left, Right, Top, Bottom };

// A wedge on the middle of `side`: its base runs `half` pixels either way
// from the middle of the side, its tip lies `depth` pixels inside.
struct Wedge {
  Side side;
  int half;   // pixels
  int depth;  // pixels
};

raster::Region WedgeRegion(int W, int H, const Wedge& wedge) noexcept {
  const int cx = W / 2, cy = H / 2;
  const int h = wedge.half, d = wedge.depth;
  std::array<Point, 3> corners{};
  switch (wedge.side) {
    case Side::Left: corners = {Point{0, cy - h}, {d, cy}, {0, cy + h}}; break;
    case Side::Right: corners = {Point{W, cy - h}, {W - d, cy}, {W, cy + h}}; break;
    case Side::Top: corners = {Point{cx - h, 0}, {cx, d}, {cx + h, 0}}; break;
    case Side::Bottom: corners = {Point{cx - h, H}, {cx, H - d}, {cx + h, H}}; break;
  }
  return raster::CreatePolygonRgn(corners, raster::WINDING);
}

// Reveals the union of the wedges.
void RevealWedges(Bitmap& Screen, const Bitmap& Image, int W, int H,
                  std::initializer_list<Wedge> wedges) noexcept {
  UnitedPieces R;
  for (const Wedge& wedge : wedges) R.Add(WedgeRegion(W, H, wedge));
  RevealRegion(Screen, Image, W, H, R.Take());
}

// Reveals the frame with each wedge taken out by a symmetric difference.
void RevealAroundWedges(Bitmap& Screen, const Bitmap& Image, int W, int H,
                        std::initializer_list<Wedge> wedges) noexcept {
  raster::Region R = raster::CreateRectRgn(0, 0, W, H);
  for (const Wedge& wedge : wedges) raster::CombineRgn(R, R, WedgeRegion(W, H, wedge), raster::RGN_XOR);
  RevealRegion(Screen, Image, W, H, std::move(R));
}

}  // namespace

// The tip crosses the picture at twice the progress.
void RevealVFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int) noexcept {
  RevealWedges(Screen, Image, W, H, {{Side::Left, Y, 2 * X}});
}

void RevealVFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int) noexcept {
  RevealWedges(Screen, Image, W, H, {{Side::Right, Y, 2 * X}});
}

void RevealVFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int) noexcept {
  RevealWedges(Screen, Image, W, H, {{Side::Top, X, 2 * Y}});
}

void RevealVFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                       int) noexcept {
  RevealWedges(Screen, Image, W, H, {{Side::Bottom, X, 2 * Y}});
}

// The horizontal tie's tips advance at the plain progress, the vertical
// one's at twice the progress.
void BowTieHorizontal(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int) noexcept {
  RevealWedges(Screen, Image, W, H, {{Side::Left, Y, X}, {Side::Right, Y, X}});
}

void BowTieVertical(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int) noexcept {
  RevealWedges(Screen, Image, W, H, {{Side::Top, X, 2 * Y}, {Side::Bottom, X, 2 * Y}});
}

// Four growing wedges, so the old picture shrinks to an X along the diagonals.
void DiagonalCrossIn(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int) noexcept {
  const int hw = X / 2, hh = Y / 2;
  RevealWedges(Screen, Image, W, H,
               {{Side::Left, hh, hw}, {Side::Right, hh, hw}, {Side::Top, hw, hh}, {Side::Bottom, hw, hh}});
}

// Four shrinking wedges that never overlap, so the new picture grows as an X.
void DiagonalCrossOut(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int) noexcept {
  const int rw = (W - X) / 2, rh = (H - Y) / 2;
  RevealAroundWedges(Screen, Image, W, H,
                     {{Side::Left, rh, rw}, {Side::Right, rh, rw}, {Side::Top, rw, rh}, {Side::Bottom, rw, rh}});
}

}  // namespace effects::shapes_and_dissolves
