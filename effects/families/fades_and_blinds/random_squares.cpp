#include <algorithm>
#include <optional>
#include <utility>

#include "effects/effect_helpers.h"
#include "fades_and_blinds.h"
#include "raster/complex_region.h"
#include "raster/random.h"

namespace effects::fades_and_blinds {

// The generator is seeded with the picture seed and the cells are visited in
// a fixed order, so each cell gets the same draw in every frame of one
// transition: a cell once shown stays shown.
void RandomSquaresAppear(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                         int Progress) noexcept {
  std::optional<raster::Region> shown;
  {
    raster::ScopedRandSeed seed(PictureSeed(Image));
    const int t = std::min(W, H) / 50 + 1;
    const int cell = 2 * t;  // pixels
    raster::ComplexRegion cells;
    for (int left = 0; left < W; left += cell) {
      for (int top = 0; top < H; top += cell) {
        if (seed.Random(100) < Progress) cells.AddRect(left, top, left + cell, top + cell);
      }
    }
    shown = cells.CreateRegion();
  }
  RevealRegion(Screen, Image, W, H, std::move(shown));
}

}  // namespace effects::fades_and_blinds
