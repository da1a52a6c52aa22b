// Row 168: the old picture is magnified about its centre until a few giant
// pixels fill the frame half-way through; there it cross-fades into the new
// picture, which then shrinks back to its own scale.

#include <algorithm>

#include "raster/canvas.h"
#include "raster/numeric.h"
#include "raster/pixel_routines.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

void Pixelate(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
              int Progress) noexcept {
  // k (percent of the progress-scaled extent that becomes margin) runs from
  // 178 down to 98 over the first half and from 100 back up to 178 over the
  // second; the scaled extent counts from the other end in the second half.
  const bool firstHalf = Progress <= 50;
  const Bitmap* source = firstHalf ? &Screen : &Image;
  const int k = firstHalf ? 180 - raster::MulDiv(Progress, 82, 50)
                          : 180 + raster::MulDiv(Progress - 100, 82, 50);
  const int ex = firstHalf ? X : W - X;
  const int ey = firstHalf ? Y : H - Y;
  const int mx = raster::MulDiv(ex, k, 100);  // margins, pixels
  const int my = raster::MulDiv(ey, k, 100);
  // The patch of the source that fills the frame: at least 2 x 2 pixels.
  const int sw = std::max(W - 2 * mx, 2);
  const int sh = std::max(H - 2 * my, 2);
  if (Progress >= 41 && Progress <= 59) {
    // Around the middle the patch cross-fades from 5 % to 95 %, and the
    // blended frame is what gets magnified.
    raster::BlendRect(Screen, Image, (Progress - 41) * 5 + 5, mx, my, sw, sh);
    source = &Screen;
  }
  // COLORONCOLOR repeats whole pixels, which gives the blocks their edges.
  raster::StretchBlt(Screen.Canvas(), -2 * mx, -2 * my, W + 4 * mx, H + 4 * my, *source, mx, my, sw,
                     sh, raster::SRCCOPY);
}

}  // namespace effects::shapes_and_dissolves
