#pragma once

#include <QByteArray>

#include "slideshow/picture_readers.h"

namespace slideshow::detail {

// Reads a WMF or EMF picture with the metafile player and draws it at its own
// size (from the placeable header, the EMF frame, or the window of a plain
// WMF), transparent where the picture draws nothing, so that the holder's
// owner puts its own colour behind it. A picture of more than 16 Mi pixels is
// drawn smaller, its shape kept (NaturalSize stays its own). Throws
// PictureDecodeError.
DecodedPicture ReadMetafile(const QByteArray& data, const PictureReadRequest& request);

}  // namespace slideshow::detail
