#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <string>

#include "raster/bitmap.h"

// The readers that turn the bytes of a picture file into pixels, one per file
// extension. Built in: "bmp", "ico", "gif", "png" (Qt's readers), "jpg" and
// "jpeg" (libjpeg), "emf" and "wmf" (the metafile player, drawn at the
// picture's own size). This is where a new kind of picture plugs in: from its
// registration on, every picture holder (slideshow pictures, background
// pictures) reads it.
namespace slideshow {

struct PictureReadRequest {
  // Where the picture will be shown at most (pixels); invalid when unknown. A
  // reader may decode a much larger picture smaller, but never below this
  // size on either side.
  QSize targetSize;
};

struct DecodedPicture {
  // The pixels. With hasAlpha the fourth byte is the alpha and the colour
  // bytes are premultiplied by it; otherwise the fourth byte is 0xFF.
  raster::Bitmap bitmap;
  bool hasAlpha = false;
  QSize naturalSize;  // the size the file describes (pixels)
};

// Why a reader could not read a picture, in words for the user (Italian,
// without the file name, which the holder adds).
class PictureDecodeError : public std::runtime_error {
 public:
  explicit PictureDecodeError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
  QString Reason() const { return QString::fromUtf8(what()); }
};

// Reads a whole file's bytes; throws PictureDecodeError.
using PictureReader = std::function<DecodedPicture(const QByteArray& data, const PictureReadRequest& request)>;

// Installs the reader for an extension (without the dot, any case), replacing
// the one there; an empty reader removes it again. Safe to call from any
// thread.
void RegisterPictureReader(const QString& extension, PictureReader reader);

// The reader for an extension; an empty function when there is none.
PictureReader FindPictureReader(const QString& extension);

// Whether files with this extension can be shown now.
bool IsReadablePictureExtension(const QString& extension);

// The extensions that can be shown now, lower case, sorted.
QStringList ReadablePictureExtensions();

}  // namespace slideshow
