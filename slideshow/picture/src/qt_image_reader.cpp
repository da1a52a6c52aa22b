#include "qt_image_reader_p.h"

#include <QBuffer>
#include <QImageReader>
#include <QString>

#include <cstring>

#include "picture_limits_p.h"

namespace slideshow::detail {

namespace {

QImage ReadLargestImage(QImageReader& reader) {
  QImage best = reader.read();
  // Icons hold several sizes; the others hold one picture (or an animation,
  // whose first frame is the picture).
  if (reader.format() != "ico") return best;
  while (reader.jumpToNextImage()) {
    QImage next = reader.read();
    if (next.isNull()) break;
    if (qint64{next.width()} * next.height() > qint64{best.width()} * best.height()) best = std::move(next);
  }
  return best;
}

}  // namespace

DecodedPicture ReadWithQt(const QByteArray& data, const QByteArray& format) {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  // The extension decides the kind, as for JPEG pictures: a file whose content
  // is of another kind is reported, not guessed at.
  reader.setAutoDetectImageFormat(false);
  reader.setAutoTransform(false);
  const QString kind = QString::fromLatin1(format).toUpper();
  if (!reader.canRead()) {
    throw PictureDecodeError(QStringLiteral("il contenuto non è un'immagine %1 valida").arg(kind));
  }
  const QSize declared = reader.size();
  if (declared.isValid() && !FitsPictureLimit(declared.width(), declared.height())) {
    throw PictureDecodeError(
        QStringLiteral("l'immagine è troppo grande (%1 x %2 pixel)").arg(declared.width()).arg(declared.height()));
  }
  const QImage image = ReadLargestImage(reader);
  if (image.isNull()) {
    throw PictureDecodeError(reader.error() == QImageReader::InvalidDataError
                                 ? QStringLiteral("l'immagine %1 è danneggiata o troncata").arg(kind)
                                 : QStringLiteral("il contenuto non è un'immagine %1 valida").arg(kind));
  }
  return FromImage(image);
}

DecodedPicture FromImage(const QImage& image) {
  DecodedPicture picture;
  picture.naturalSize = image.size();
  if (image.isNull()) return picture;
  picture.hasAlpha = image.hasAlphaChannel();
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the raster layer's pixel bytes are blue, green, red, fourth");
  const QImage pixels = image.convertToFormat(picture.hasAlpha ? QImage::Format_ARGB32_Premultiplied
                                                               : QImage::Format_RGB32);
  picture.bitmap = raster::Bitmap(pixels.width(), pixels.height());
  if (picture.bitmap.Empty()) throw PictureDecodeError(QStringLiteral("memoria insufficiente"));
  const std::size_t rowBytes = std::size_t(pixels.width()) * 4;
  bool opaque = true;
  for (int y = 0; y < pixels.height(); ++y) {
    std::uint8_t* row = picture.bitmap.ScanLine(y);
    std::memcpy(row, pixels.constScanLine(y), rowBytes);
    for (std::size_t x = raster::kFourthByte; opaque && picture.hasAlpha && x < rowBytes; x += 4) opaque = row[x] == 0xFF;
  }
  // Icons, for one, always come with an alpha channel, mostly unused; such a
  // picture is drawn as the opaque one it is.
  if (opaque) picture.hasAlpha = false;
  return picture;
}

}  // namespace slideshow::detail
