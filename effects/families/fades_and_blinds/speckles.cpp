#include "effects/effect_helpers.h"
#include "fades_and_blinds.h"
#include "raster/region_builders.h"

namespace effects::fades_and_blinds {

namespace {

// The builder draws from the shared generator without reseeding it, so the
// specks ahead of the front are scattered anew in every frame and twinkle.
void Speckle(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int HorzKind,
             int VertKind) noexcept {
  RevealRegion(Screen, Image, W, H, raster::CreateSpeckleRegion(X, Y, W, H, HorzKind, VertKind));
}

}  // namespace

void SpeckleAppearFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                            int) noexcept {
  Speckle(Screen, Image, W, H, X, Y, 1, 0);
}

void SpeckleAppearFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                           int) noexcept {
  Speckle(Screen, Image, W, H, X, Y, 2, 0);
}

void SpeckleAppearFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                             int) noexcept {
  Speckle(Screen, Image, W, H, X, Y, 0, 1);
}

void SpeckleAppearFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                          int) noexcept {
  Speckle(Screen, Image, W, H, X, Y, 0, 2);
}

}  // namespace effects::fades_and_blinds
