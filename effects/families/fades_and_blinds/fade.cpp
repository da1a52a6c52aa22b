#include "fades_and_blinds.h"
#include "raster/pixel_routines.h"

namespace effects::fades_and_blinds {

// The fade's step, d := d + floor((s - d) * MulDiv(256, P, 100) / 256) on
// every colour byte, is exactly BlendRect's over the whole picture, so it
// shares BlendRect's vectorised loop.
void Fade(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int Progress) noexcept {
  raster::BlendRect(Screen, Image, Progress, 0, 0, W, H);
}

}  // namespace effects::fades_and_blinds
