#pragma once

// The raster layer: 32-bit bitmaps, a canvas with clip region, viewport origin
// and saved states, block copies and stretches, regions and their builders,
// the colour routines, MulDiv and the shared pseudo-random generator. Plain
// C++, no user-interface library.
//
// The raster layer never throws and reports no errors: coordinates outside a
// bitmap or its clip region are clipped, impossible sizes draw nothing, and
// running out of memory leaves a bitmap empty or a region missing.

#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/complex_region.h"
#include "raster/geometry.h"
#include "raster/numeric.h"
#include "raster/pixel.h"
#include "raster/pixel_routines.h"
#include "raster/random.h"
#include "raster/region.h"
#include "raster/region_builders.h"
