#include "window_image.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QWidget>

namespace app {

QImage WindowImage(QWidget& window) {
  // Let pending layout and paint requests run, so the picture is up to date.
  QCoreApplication::processEvents();
  return window.grab().toImage();
}

}  // namespace app
