#pragma once

#include <QByteArray>
#include <QImage>

#include "slideshow/picture_readers.h"

namespace slideshow::detail {

// Reads a picture with Qt's reader for `format` ("bmp", "ico", "gif", "png");
// the content must be of that format. Of an icon with several sizes the
// largest is taken, of an animation the first frame. Throws
// PictureDecodeError.
DecodedPicture ReadWithQt(const QByteArray& data, const QByteArray& format);

// An image in the raster layer's layout: premultiplied when it has an alpha
// channel, otherwise opaque with 0xFF in the fourth byte.
DecodedPicture FromImage(const QImage& image);

}  // namespace slideshow::detail
