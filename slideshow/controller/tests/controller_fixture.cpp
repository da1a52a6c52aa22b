#include "controller_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace slideshow_test {

void WritePicture(const QString& path, int width, int height, QColor color, const char* format) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  const QByteArray kind = format != nullptr ? QByteArray(format) : QFileInfo(path).suffix().toLower().toLatin1();
  QImageWriter writer(path, kind == "jpeg" ? QByteArray("jpg") : kind);
  ASSERT_TRUE(writer.write(image)) << path.toStdString() << ": " << writer.errorString().toStdString();
}

void WriteText(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

}  // namespace slideshow_test
