// Rows 150 to 152: a rectangle or a star that grows while it makes one full
// turn over the transition.

#include <array>
#include <numbers>
#include <span>

#include "effects/effect_helpers.h"
#include "raster/pixel_routines.h"
#include "raster/region.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

namespace {

using raster::Point;

// Turns the corners about (centreX, centreY) by the progress's share of a
// full turn and reveals the polygon they make. The direction comes from the
// picture seed, so it is the same in every frame of one transition: clockwise
// for an even seed, anticlockwise for an odd one.
void RevealTurned(Bitmap& Screen, const Bitmap& Image, int W, int H, int Progress,
                  std::span<Point> corners, int centreX, int centreY) noexcept {
  double angle = Progress * std::numbers::pi / 50;  // radians
  if ((PictureSeed(Image) & 1u) != 0) angle = -angle;
  raster::RotatePoints(corners, centreX, centreY, angle);
  RevealRegion(Screen, Image, W, H, raster::CreatePolygonRgn(corners, raster::WINDING));
}

// The centred rectangle of the picture's proportions at this progress.
std::array<Point, 4> GrowingRectangle(int W, int H, int X, int Y) noexcept {
  const int cx = W / 2, cy = H / 2;
  const int hw = X / 2, hh = Y / 2;
  return {Point{cx - hw, cy - hh}, {cx + hw, cy - hh}, {cx + hw, cy + hh}, {cx - hw, cy + hh}};
}

}  // namespace

void RotationalRectangleInCenter(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                                 int Progress) noexcept {
  std::array<Point, 4> corners = GrowingRectangle(W, H, X, Y);
  RevealTurned(Screen, Image, W, H, Progress, corners, W / 2, H / 2);
}

// The inner corners are those of the growing rectangle; the tips lie 2X left
// and right and 2Y above and below the centre.
void RotationalStarInCenter(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                            int Progress) noexcept {
  const int cx = W / 2, cy = H / 2;
  const int hw = X / 2, hh = Y / 2;
  std::array<Point, 8> corners{Point{cx - 2 * X, cy}, {cx - hw, cy - hh}, {cx, cy - 2 * Y},
                               {cx + hw, cy - hh},    {cx + 2 * X, cy},   {cx + hw, cy + hh},
                               {cx, cy + 2 * Y},      {cx - hw, cy + hh}};
  RevealTurned(Screen, Image, W, H, Progress, corners, cx, cy);
}

// The growing rectangle turns about (X, Y), which travels down the diagonal,
// so its centre runs on a spiral through the frame's centre at the half-way
// point.
void SpiralRectangle(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int Progress) noexcept {
  std::array<Point, 4> corners = GrowingRectangle(W, H, X, Y);
  RevealTurned(Screen, Image, W, H, Progress, corners, X, Y);
}

}  // namespace effects::shapes_and_dissolves
