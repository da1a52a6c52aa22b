#include "window_image.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QWidget>

namespace app {

QImage WindowImage(QWidget& window) {
  // Let pending layout and paint requests run, so the picture is up to date.
  QCoreApplication::processEvents();
  return window.grab().toImage();
}

QImage ClientAreaImage(QMainWindow& window) {
  QCoreApplication::processEvents();
  const QWidget* menu = window.menuWidget();
  const int top = menu != nullptr && menu->isVisible() ? menu->height() : 0;  // pixels
  return window.grab(QRect(0, top, window.width(), window.height() - top)).toImage();
}

}  // namespace app
