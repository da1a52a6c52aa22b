#include "metafile_reader_p.h"

#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cmath>

#include "metafile/metafile.h"
#include "qt_image_reader_p.h"

namespace slideshow::detail {

namespace {

// A metafile states its size in inches or millimetres, and a poster-sized one
// would take gigabytes as pixels at 96 dpi; beyond this many pixels (a
// 4096 x 4096 square) it is drawn smaller. Drawing briefly needs the pixels
// twice (the drawing and the holder's copy).
constexpr qint64 kMaxDrawnPixels = qint64{1} << 24;

// The size the picture is drawn at: its own, or the largest of its shape
// within kMaxDrawnPixels.
QSize DrawnSize(const QSize& own) {
  const qint64 area = qint64{own.width()} * own.height();
  if (area <= kMaxDrawnPixels) return own;
  const double scale = std::sqrt(static_cast<double>(kMaxDrawnPixels) / static_cast<double>(area));
  QSize drawn(std::max(1, static_cast<int>(own.width() * scale)), std::max(1, static_cast<int>(own.height() * scale)));
  while (qint64{drawn.width()} * drawn.height() > kMaxDrawnPixels) {
    drawn = QSize(std::max(1, drawn.width() - 1), std::max(1, drawn.height() - 1));
  }
  return drawn;
}

}  // namespace

DecodedPicture ReadMetafile(const QByteArray& data, const PictureReadRequest&) {
  // Text records need fonts, and fonts a running GUI application; without
  // one the picture is refused instead of crashing in the font database.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    throw PictureDecodeError(QStringLiteral("i metafile si leggono solo con l'interfaccia grafica avviata"));
  }
  const metafile::LoadResult loaded = metafile::Load(data);
  if (!loaded.Ok()) {
    throw PictureDecodeError(QStringLiteral("il metafile non è valido (%1)").arg(loaded.error->ToString()));
  }
  const QSize own = loaded.picture->SizePixels();
  const metafile::RenderResult rendered = metafile::Render(*loaded.picture, DrawnSize(own));
  if (!rendered.Ok()) {
    throw PictureDecodeError(QStringLiteral("il metafile non si può disegnare (%1)").arg(rendered.error->ToString()));
  }
  DecodedPicture picture = FromImage(rendered.image);
  picture.naturalSize = own;
  return picture;
}

}  // namespace slideshow::detail
