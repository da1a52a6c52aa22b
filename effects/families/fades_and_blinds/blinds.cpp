#include "bands.h"
#include "effects/effect_helpers.h"
#include "fades_and_blinds.h"
#include "raster/numeric.h"

namespace effects::fades_and_blinds {

void AddUnevenBlind(raster::ComplexRegion& region, BandsOf bands, bool fromFarSide, int pitch,
                    int Progress, int W, int H) noexcept {
  const int side = bands == BandsOf::Columns ? W : H;  // pixels across the bands
  const int open = raster::MulDiv(pitch, Progress, 100);
  if (fromFarSide) {
    for (int a = side; a > 0; a -= pitch) AddBand(region, bands, a - open, a, W, H);
  } else {
    for (int a = 0; a < side; a += pitch) AddBand(region, bands, a, a + open, W, H);
  }
}

namespace {

// About 20 bands 2t wide, each opening from its middle line outward.
void Blind(Bitmap& Screen, const Bitmap& Image, int W, int H, int Progress,
           BandsOf bands) noexcept {
  const int side = bands == BandsOf::Columns ? W : H;  // pixels across the bands
  const int t = side / 40 + 1;
  const int open = raster::MulDiv(t, Progress, 100);  // half-width
  raster::ComplexRegion region;
  for (int c = t; c - t < side; c += 2 * t) AddBand(region, bands, c - open, c + open, W, H);
  RevealRegion(Screen, Image, W, H, region.CreateRegion());
}

// The pitch is the progress-scaled size itself, so the bands become fewer and
// wider as the transition runs.
void UnevenBlind(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int Progress,
                 BandsOf bands, bool fromFarSide) noexcept {
  const int pitch = bands == BandsOf::Columns ? X : Y;
  if (pitch == 0) return;
  raster::ComplexRegion region;
  AddUnevenBlind(region, bands, fromFarSide, pitch, Progress, W, H);
  RevealRegion(Screen, Image, W, H, region.CreateRegion());
}

// Stripes centred three units apart from one unit before the edge, growing to
// 2 units thick, and an uneven blind across them that fills the gaps left.
void MovingRectangles(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress, BandsOf blind, bool fromFarSide) noexcept {
  const BandsOf stripes = blind == BandsOf::Columns ? BandsOf::Rows : BandsOf::Columns;
  const int stripeSide = stripes == BandsOf::Rows ? H : W;  // pixels across the stripes
  const int unit = stripeSide / 20;                         // pixels
  const int pitch = blind == BandsOf::Columns ? X : Y;
  if (pitch == 0 || unit == 0) return;
  const int half = raster::MulDiv(unit, Progress, 100);  // half-thickness
  raster::ComplexRegion region;
  for (int c = -unit; c < stripeSide; c += 3 * unit) AddBand(region, stripes, c - half, c + half, W, H);
  AddUnevenBlind(region, blind, fromFarSide, pitch, Progress, W, H);
  RevealRegion(Screen, Image, W, H, region.CreateRegion());
}

}  // namespace

void BlindVertically(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                     int Progress) noexcept {
  Blind(Screen, Image, W, H, Progress, BandsOf::Columns);
}

void BlindHorizontally(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                       int Progress) noexcept {
  Blind(Screen, Image, W, H, Progress, BandsOf::Rows);
}

void UnevenBlindFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                         int Progress) noexcept {
  UnevenBlind(Screen, Image, W, H, X, Y, Progress, BandsOf::Columns, false);
}

void UnevenBlindFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                          int Progress) noexcept {
  UnevenBlind(Screen, Image, W, H, X, Y, Progress, BandsOf::Columns, true);
}

void UnevenBlindFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept {
  UnevenBlind(Screen, Image, W, H, X, Y, Progress, BandsOf::Rows, false);
}

void UnevenBlindFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                           int Progress) noexcept {
  UnevenBlind(Screen, Image, W, H, X, Y, Progress, BandsOf::Rows, true);
}

void RectanglesFromLeftToRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                               int Progress) noexcept {
  MovingRectangles(Screen, Image, W, H, X, Y, Progress, BandsOf::Columns, false);
}

void RectanglesFromRightToLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                               int Progress) noexcept {
  MovingRectangles(Screen, Image, W, H, X, Y, Progress, BandsOf::Columns, true);
}

void RectanglesFromUpToBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                              int Progress) noexcept {
  MovingRectangles(Screen, Image, W, H, X, Y, Progress, BandsOf::Rows, false);
}

void RectanglesFromBottomToUp(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                              int Progress) noexcept {
  MovingRectangles(Screen, Image, W, H, X, Y, Progress, BandsOf::Rows, true);
}

}  // namespace effects::fades_and_blinds
