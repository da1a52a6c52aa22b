#include "picture_box.h"

#include <QPainter>

namespace app {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::SetPicture(const QString& path) {
  if (path == m_picture) return;
  m_picture = path;
  m_renderer.load(path);
  m_renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (!m_renderer.isValid()) return;
  QPainter painter(this);
  m_renderer.render(&painter, rect());
}

}  // namespace app
