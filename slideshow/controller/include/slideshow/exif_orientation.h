#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/bitmap.h"

// The orientation a camera records in a JPEG's Exif data (tag 0x0112): how the
// stored pixels must be turned to stand upright. No Qt here.
namespace slideshow {

// 1 = as stored, 2 = mirrored left-right, 3 = turned 180°, 4 = mirrored top-
// bottom, 5 = mirrored along the main diagonal, 6 = turned 90° clockwise,
// 7 = mirrored along the other diagonal, 8 = turned 90° anticlockwise.
inline constexpr int kOrientationNormal = 1;

// The orientation of a JPEG from its first bytes (the Exif block sits right
// after the start marker, within the first 64 KiB); 1 when there is none or
// the data are damaged. Never reads outside [data, data + size).
int JpegExifOrientation(const std::uint8_t* data, std::size_t size);

// The bitmap turned upright; a bitmap with orientation 1 (or an unknown
// value) comes back as it is.
raster::Bitmap Orient(const raster::Bitmap& bitmap, int orientation);

}  // namespace slideshow
