#include "slideshow/picture_readers.h"

#include <QHash>

#include <algorithm>
#include <mutex>

#include "jpeg_reader_p.h"
#include "metafile_reader_p.h"
#include "qt_image_reader_p.h"

namespace slideshow {

namespace {

struct Registry {
  std::mutex mutex;
  QHash<QString, PictureReader> readers;  // guarded by mutex

  Registry() {
    for (const char* format : {"bmp", "ico", "gif", "png"}) {
      const QByteArray name(format);
      readers.insert(QString::fromLatin1(name), [name](const QByteArray& data, const PictureReadRequest&) {
        return detail::ReadWithQt(data, name);
      });
    }
    readers.insert(QStringLiteral("jpg"), detail::ReadJpeg);
    readers.insert(QStringLiteral("jpeg"), detail::ReadJpeg);
    readers.insert(QStringLiteral("emf"), detail::ReadMetafile);
    readers.insert(QStringLiteral("wmf"), detail::ReadMetafile);
  }
};

Registry& Readers() {
  static Registry registry;
  return registry;
}

QString Key(const QString& extension) {
  QString key = extension.toLower();
  if (key.startsWith(QLatin1Char('.'))) key.remove(0, 1);
  return key;
}

}  // namespace

void RegisterPictureReader(const QString& extension, PictureReader reader) {
  Registry& registry = Readers();
  const std::lock_guard lock(registry.mutex);
  if (reader) {
    registry.readers.insert(Key(extension), std::move(reader));
  } else {
    registry.readers.remove(Key(extension));
  }
}

PictureReader FindPictureReader(const QString& extension) {
  const QString key = Key(extension);
  Registry& registry = Readers();
  const std::lock_guard lock(registry.mutex);
  if (const auto found = registry.readers.constFind(key); found != registry.readers.cend()) return *found;
  return {};
}

bool IsReadablePictureExtension(const QString& extension) {
  Registry& registry = Readers();
  const std::lock_guard lock(registry.mutex);
  return registry.readers.contains(Key(extension));
}

QStringList ReadablePictureExtensions() {
  Registry& registry = Readers();
  const std::lock_guard lock(registry.mutex);
  QStringList extensions = registry.readers.keys();
  std::sort(extensions.begin(), extensions.end());
  return extensions;
}

}  // namespace slideshow
