// Rows 162 and 163: a band with two parallel zigzag edges widens from the
// middle of the picture until it covers it.

#include <array>
#include <utility>

#include "effects/effect_helpers.h"
#include "raster/numeric.h"
#include "raster/region.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

namespace {

using raster::Point;

// The band of the horizontal zigzag, in coordinates along the band (x) and
// across it (y); `transposed` swaps them for the vertical one. `along` and
// `across` are the picture's extents in those directions, `middle` the
// band's middle line and `grown` the progress-scaled extent across.
//
// The teeth are spaced a tenth of `along` apart, 12 points per edge, so they
// span 11 tenths: on pictures less than 90 pixels along the band a strip at
// the far end stays old, and below 10 pixels the band has no width at all.
void RevealZigzag(Bitmap& Screen, const Bitmap& Image, int W, int H, int along, int across,
                  int middle, int grown, int Progress, bool transposed) noexcept {
  const int a = across / 10;                                // tooth depth, pixels
  const int s = along / 10;                                 // tooth spacing, pixels
  const int d = raster::MulDiv(a, Progress, 100) + grown / 2;  // half the band, pixels
  std::array<Point, 24> points{};
  for (int k = 0; k < 12; ++k) {
    const int tooth = k % 2 == 0 ? a : -a;
    points[std::size_t(k)] = {k * s, middle - d + tooth};        // first edge, outward
    points[std::size_t(23 - k)] = {k * s, middle + d + tooth};   // second edge, back
  }
  if (transposed) {
    for (Point& p : points) std::swap(p.X, p.Y);
  }
  RevealRegion(Screen, Image, W, H, raster::CreatePolygonRgn(points, raster::WINDING));
}

}  // namespace

void ZigzagHorizontal(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int Y,
                      int Progress) noexcept {
  RevealZigzag(Screen, Image, W, H, W, H, H / 2, Y, Progress, false);
}

void ZigzagVertical(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int,
                    int Progress) noexcept {
  RevealZigzag(Screen, Image, W, H, H, W, W / 2, X, Progress, true);
}

}  // namespace effects::shapes_and_dissolves
