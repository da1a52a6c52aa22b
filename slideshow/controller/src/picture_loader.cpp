#include "slideshow/picture_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>
#include <cstring>

#include "slideshow/exif_orientation.h"
#include "slideshow/picture.h"

namespace slideshow {

namespace {

// Exif data come right after the start marker; a camera keeps them within
// the first 64 KiB.
constexpr qint64 kExifSearchBytes = 64 * 1024;

// Every frame of a transition is computed at the picture's size, on the
// timer thread under the lock the window's paints wait for: a smaller picture
// is worth the one smooth scale on the worker as soon as it saves a little.
constexpr double kScaleWhenBelow = 0.95;

int FileOrientation(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return kOrientationNormal;
  const QByteArray head = file.read(kExifSearchBytes);
  return JpegExifOrientation(reinterpret_cast<const std::uint8_t*>(head.constData()),
                             static_cast<std::size_t>(head.size()));
}

QImage View(const raster::Bitmap& bitmap, bool hasAlpha) {
  QImage image(bitmap.Width(), bitmap.Height(),
               hasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  if (image.isNull()) return image;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(image.scanLine(y), bitmap.ScanLine(y), std::size_t(bitmap.Width()) * 4);
  }
  return image;
}

raster::Bitmap FromImage(const QImage& image) {
  raster::Bitmap bitmap(image.width(), image.height());
  if (bitmap.Empty()) return bitmap;
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(bitmap.ScanLine(y), image.constScanLine(y), std::size_t(image.width()) * 4);
  }
  return bitmap;
}

// Down to the size that still covers the target on both sides, as a
// stretched picture needs; never up.
void ScaleToCover(LoadedPicture& picture, const QSize& target) {
  if (!target.isValid() || target.isEmpty() || picture.bitmap.Empty()) return;
  const double w = picture.bitmap.Width();
  const double h = picture.bitmap.Height();
  const double scale = std::max(target.width() / w, target.height() / h);
  if (scale >= kScaleWhenBelow) return;
  const QSize size(std::max(1, static_cast<int>(std::ceil(w * scale))),
                   std::max(1, static_cast<int>(std::ceil(h * scale))));
  const QImage scaled = View(picture.bitmap, picture.hasAlpha)
                            .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(picture.hasAlpha ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
  if (scaled.isNull()) return;  // out of memory: the larger picture still shows
  raster::Bitmap bitmap = FromImage(scaled);
  if (!bitmap.Empty()) picture.bitmap = std::move(bitmap);
}

bool IsJpeg(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

}  // namespace

LoadedPicture LoadPictureFile(const QString& path, const QString& name, const QSize& targetSize) {
  LoadedPicture loaded;
  loaded.name = name;
  Picture holder;
  holder.SetTargetSize(targetSize);
  try {
    holder.LoadFromFile(path);
  } catch (const PictureError& error) {
    loaded.error = error.Message();
    return loaded;
  } catch (const std::bad_alloc&) {
    loaded.error = QStringLiteral("Impossibile leggere l'immagine \"%1\": memoria insufficiente.").arg(path);
    return loaded;
  }
  if (holder.Empty()) {
    loaded.error = QStringLiteral("L'immagine \"%1\" non ha pixel.").arg(path);
    return loaded;
  }
  loaded.hasAlpha = holder.HasAlpha();
  const int orientation = IsJpeg(path) ? FileOrientation(path) : kOrientationNormal;
  loaded.bitmap = Orient(holder.Bitmap(), orientation);
  ScaleToCover(loaded, targetSize);
  return loaded;
}

PictureLoader::PictureLoader(QObject* parent) : QObject(parent) {}

PictureLoader::~PictureLoader() {
  Cancel();
  WaitForWorker();
}

void PictureLoader::Request(const QString& path, const QString& name, const QSize& targetSize, Handler done) {
  const std::uint32_t serial = ++m_serial;
  m_done = std::move(done);
  m_pending = true;
  auto* watcher = new QFutureWatcher<LoadedPicture>(this);
  connect(watcher, &QFutureWatcher<LoadedPicture>::finished, this, [this, watcher] { Finished(watcher); });
  watcher->setFuture(QtConcurrent::run([path, name, targetSize, serial] {
    LoadedPicture loaded = LoadPictureFile(path, name, targetSize);
    loaded.serial = serial;
    return loaded;
  }));
  m_watcher = watcher;
}

void PictureLoader::WaitForWorker() {
  if (m_watcher != nullptr) m_watcher->waitForFinished();
}

void PictureLoader::Finished(QFutureWatcher<LoadedPicture>* watcher) {
  watcher->deleteLater();
  if (watcher == m_watcher) m_watcher = nullptr;
  // Taken, not copied: a 24 megapixel bitmap would cost the UI thread.
  QFuture<LoadedPicture> future = watcher->future();
  LoadedPicture loaded = future.takeResult();
  if (loaded.serial != m_serial) return;
  m_pending = false;
  // The handler may ask for the next picture at once, which replaces m_done.
  Handler done = std::move(m_done);
  m_done = nullptr;
  if (done) done(loaded);
}

}  // namespace slideshow
