#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <stdexcept>

#include "raster/bitmap.h"
#include "raster/pixel.h"

namespace slideshow {

// A picture that could not be loaded; the message names the file (Italian).
class PictureError : public std::runtime_error {
 public:
  explicit PictureError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString Message() const { return QString::fromUtf8(what()); }
};

// The picture holder of the picture show: one graphic, loaded from a file
// ("bmp", "ico", "jpg", "jpeg", "gif", "png", "emf", "wmf", and whatever else
// is registered in picture_readers.h) or given as an image, kept as a raster
// bitmap. A metafile is drawn once, at its own size, when it is loaded; from
// then on it is a picture like the others.
//
// A target size tells the holder where its pictures will be shown at most; a
// JPEG much larger than that is decoded smaller (by 1/2, 1/4 or 1/8, never
// below the target on either side), which is much faster. Width() and Height()
// are then the decoded size and NaturalSize() the file's.
//
// Every change fires the change handler, which the holder's owner sets.
class Picture {
 public:
  Picture() = default;
  // Copies take the graphic, not the change handler or the target size.
  Picture(const Picture& other);
  Picture& operator=(const Picture& other);  // Assign
  ~Picture() = default;

  // Loads the file; on an error the holder keeps its graphic and the
  // PictureError says what went wrong with which file.
  void LoadFromFile(const QString& fileName);
  // The same without an exception: false and the message instead.
  bool TryLoadFromFile(const QString& fileName, QString* errorMessage = nullptr);

  // Takes another holder's graphic.
  void Assign(const Picture& other);
  // Takes an image (for example a copy of the screen); a null image leaves no
  // graphic.
  void SetImage(const QImage& image);
  // Takes a bitmap; with hasAlpha its fourth byte is a premultiplied alpha.
  void SetBitmap(raster::Bitmap bitmap, bool hasAlpha = false);
  void Clear();

  // Whether a graphic is held (possibly one without pixels).
  bool HasGraphic() const { return m_hasGraphic; }
  // No graphic, or one without pixels.
  bool Empty() const { return !m_hasGraphic || m_bitmap.Empty(); }
  int Width() const { return m_bitmap.Width(); }    // pixels, as decoded
  int Height() const { return m_bitmap.Height(); }  // pixels, as decoded
  QSize NaturalSize() const { return m_naturalSize; }
  bool HasAlpha() const { return m_hasAlpha; }
  QString FileName() const { return m_fileName; }  // the file it came from, if any

  const raster::Bitmap& Bitmap() const { return m_bitmap; }
  // The graphic at its own size on a field of `background`, fully opaque.
  raster::Bitmap Render(raster::Pixel background) const;
  QImage ToImage() const;

  QSize TargetSize() const { return m_targetSize; }  // pixels; invalid = none
  void SetTargetSize(const QSize& size) { m_targetSize = size; }

  void SetOnChange(std::function<void()> handler) { m_onChange = std::move(handler); }

 private:
  void Changed();

  raster::Bitmap m_bitmap;
  bool m_hasGraphic = false;
  bool m_hasAlpha = false;
  QSize m_naturalSize;
  QString m_fileName;
  QSize m_targetSize;
  std::function<void()> m_onChange;
};

}  // namespace slideshow
