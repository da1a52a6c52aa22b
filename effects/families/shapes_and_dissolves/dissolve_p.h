#pragma once

#include "raster/bitmap.h"
#include "raster/random.h"

// The dissolve's pixels from the generator as it stands: one draw of
// Random(100) per pixel in memory order (bottom row first), the new pixel
// taken when the draw is below Progress. The plain version draws them one
// by one; the other computes the same draws several at a time and leaves the
// generator's seed where the plain one does.
namespace effects::shapes_and_dissolves {

void DissolvePixelsPlain(raster::ScopedRandLock& generator, raster::Bitmap& Screen,
                         const raster::Bitmap& Image, int W, int H, int Progress) noexcept;
void DissolvePixels(raster::ScopedRandLock& generator, raster::Bitmap& Screen,
                    const raster::Bitmap& Image, int W, int H, int Progress) noexcept;

}  // namespace effects::shapes_and_dissolves
