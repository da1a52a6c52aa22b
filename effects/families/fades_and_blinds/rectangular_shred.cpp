#include <algorithm>

#include "effects/effect_helpers.h"
#include "fades_and_blinds.h"
#include "raster/complex_region.h"
#include "raster/numeric.h"

namespace effects::fades_and_blinds {

// A square grows from the centre of every cell until it fills the cell.
void RectangularShred(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                      int Progress) noexcept {
  const int t = std::min(W, H) / 10 + 1;
  const int half = raster::MulDiv(t, Progress, 100);  // half the square's side
  raster::ComplexRegion region;
  for (int x = 0; x < W; x += 2 * t) {
    for (int y = 0; y < H; y += 2 * t) {
      region.AddRect(x + t - half, y + t - half, x + t + half, y + t + half);
    }
  }
  RevealRegion(Screen, Image, W, H, region.CreateRegion());
}

}  // namespace effects::fades_and_blinds
