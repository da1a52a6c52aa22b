#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>

#include "raster/bitmap.h"

namespace slideshow {

// A picture file read and decoded, ready to be handed to the picture show.
struct LoadedPicture {
  std::uint32_t serial = 0;  // the request it answers
  QString name;              // the bare file name
  raster::Bitmap bitmap;     // upright (Exif orientation applied)
  bool hasAlpha = false;
  QString error;             // empty on success; otherwise why (Italian, with the file)
  bool Ok() const { return error.isEmpty(); }
};

// Reads one file: decoded with the picture holder's readers for the target
// size (a large JPEG is scaled in the DCT), turned upright by its Exif
// orientation, and, when still much larger than the target, scaled down
// smoothly so that it still covers the target on both sides. Runs on any
// thread.
LoadedPicture LoadPictureFile(const QString& path, const QString& name, const QSize& targetSize);

// Decodes the slideshow's next picture on a worker thread, so that a 24
// megapixel photograph never holds up the window. One request at a time
// matters: a new request makes the answer of an older one stale, and a stale
// answer is dropped, never delivered.
class PictureLoader : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(LoadedPicture&)>;

  explicit PictureLoader(QObject* parent = nullptr);
  ~PictureLoader() override;

  // Starts reading; `done` runs on this object's thread with the result,
  // unless another Request or Cancel came first.
  void Request(const QString& path, const QString& name, const QSize& targetSize, Handler done);
  // Drops the answer of the request under way.
  void Cancel() {
    ++m_serial;
    m_pending = false;
    m_done = nullptr;
  }
  bool Pending() const { return m_pending; }
  // Waits for the worker (tests, shutdown); the answer is still delivered
  // through the event loop.
  void WaitForWorker();

 private:
  void Finished(QFutureWatcher<LoadedPicture>* watcher);

  std::uint32_t m_serial = 0;
  bool m_pending = false;
  Handler m_done;
  QFutureWatcher<LoadedPicture>* m_watcher = nullptr;
};

}  // namespace slideshow
