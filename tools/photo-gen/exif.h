#pragma once

#include <QByteArray>

namespace photo_gen {

// The JPEG with an Exif block (APP1) right after its start marker that holds
// only the orientation tag (0x0112), in the given byte order. A camera writes
// such a block when it was held sideways.
QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation, bool bigEndian = true);

}  // namespace photo_gen
