#include "report/ui/print_pictures.h"

#include <QPainter>

namespace report {

namespace {

void Sheet(QPainter& painter, QRectF rect, const QString& label) {
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(rect);
  if (label.isEmpty()) return;
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(rect.height() / 2.5));
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(rect, Qt::AlignCenter, label);
}

QPixmap Blank(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap CollatePicture(bool collated) {
  QPixmap pixmap = Blank(QSize(100, 48));
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // Two copies of three pages: collated, two stacks 1-2-3 (page 1 on top);
  // uncollated, three stacks 1-1, 2-2, 3-3.
  const int stacks = collated ? 2 : 3;
  const int layers = collated ? 3 : 2;
  for (int stack = 0; stack < stacks; ++stack) {
    for (int layer = layers - 1; layer >= 0; --layer) {
      const QRectF rect(4 + stack * (collated ? 46 : 32) + layer * 5, 4 + layer * 5, 22, 30);
      Sheet(painter, rect, QString::number(collated ? layer + 1 : stack + 1));
    }
  }
  return pixmap;
}

QIcon PrintModeIcon(PrintMode mode) {
  QPixmap pixmap = Blank(QSize(32, 32));
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  const QRectF sheet(6.5, 2.5, 19, 27);
  switch (mode) {
    case PrintMode::pmDefault:
      painter.drawRect(sheet);
      break;
    case PrintMode::pmSplit:
      // One big page cut across two sheets.
      painter.drawRect(QRectF(2.5, 2.5, 13, 27));
      painter.drawRect(QRectF(16.5, 2.5, 13, 27));
      painter.setPen(QPen(Qt::darkBlue, 1, Qt::DashLine));
      painter.drawLine(QPointF(16, 0), QPointF(16, 32));
      break;
    case PrintMode::pmJoin:
      // Four small pages on one sheet.
      painter.drawRect(sheet);
      painter.setBrush(QColor(200, 215, 240));
      for (int i = 0; i < 4; ++i) painter.drawRect(QRectF(8.5 + (i % 2) * 8, 4.5 + (i / 2) * 12, 7, 11));
      break;
    case PrintMode::pmScale:
      // A page made to fill the sheet.
      painter.drawRect(sheet);
      painter.setBrush(QColor(200, 215, 240));
      painter.drawRect(QRectF(9.5, 6.5, 13, 19));
      painter.setPen(QPen(Qt::darkBlue, 1));
      painter.drawLine(QPointF(9.5, 6.5), QPointF(6.5, 2.5));
      painter.drawLine(QPointF(22.5, 25.5), QPointF(25.5, 29.5));
      break;
  }
  return QIcon(pixmap);
}

QPixmap OrientationPicture(PaperOrientation orientation) {
  QPixmap pixmap = Blank(QSize(48, 48));
  QPainter painter(&pixmap);
  const bool landscape = orientation == PaperOrientation::poLandscape;
  const QRectF sheet = landscape ? QRectF(2.5, 10.5, 43, 30) : QRectF(9.5, 2.5, 30, 43);
  Sheet(painter, sheet, QString());
  painter.setPen(QPen(Qt::gray, 1));
  for (double y = sheet.top() + 5; y < sheet.bottom() - 4; y += 4) {
    painter.drawLine(QPointF(sheet.left() + 4, y), QPointF(sheet.right() - 4, y));
  }
  return pixmap;
}

}  // namespace report
