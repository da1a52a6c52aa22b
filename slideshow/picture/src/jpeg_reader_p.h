#pragma once

#include <QByteArray>
#include <QSize>

#include "slideshow/picture_readers.h"

namespace slideshow::detail {

// The denominator (1, 2, 4 or 8) a picture of naturalSize is decoded with so
// that it stays at least targetSize on both sides; 1 without a target.
int JpegScaleDenominator(const QSize& naturalSize, const QSize& targetSize);

// Decodes a JPEG with libjpeg straight into the raster layer's pixel layout.
// Throws PictureDecodeError for a damaged, truncated or oversized picture.
DecodedPicture ReadJpeg(const QByteArray& data, const PictureReadRequest& request);

}  // namespace slideshow::detail
