#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "navigator_glyphs_p.h"

namespace loads::detail {

namespace {

constexpr int kSize = 16;  // pixels

void Triangle(QPainter& p, bool pointsLeft, qreal x) {
  QPolygonF t;
  if (pointsLeft) {
    t << QPointF(x + 5, 3) << QPointF(x, 8) << QPointF(x + 5, 13);
  } else {
    t << QPointF(x, 3) << QPointF(x + 5, 8) << QPointF(x, 13);
  }
  p.drawPolygon(t);
}

// Draws the glyph in 16 x 16 logical units on any pixmap.
void DrawGlyph(QPainter& p, NavButton which) {
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0, 0, 128);
  p.setPen(QPen(ink, 1));
  p.setBrush(ink);
  switch (which) {
    case NavButton::First:
      p.drawRect(QRectF(4, 3, 1.5, 10));
      Triangle(p, true, 6);
      break;
    case NavButton::Prior:
      Triangle(p, true, 5);
      break;
    case NavButton::Next:
      Triangle(p, false, 6);
      break;
    case NavButton::Last:
      Triangle(p, false, 5);
      p.drawRect(QRectF(10.5, 3, 1.5, 10));
      break;
    case NavButton::Insert:
      p.drawRect(QRectF(7, 3, 2, 10));
      p.drawRect(QRectF(3, 7, 10, 2));
      break;
    case NavButton::Delete:
      p.setBrush(QColor(160, 0, 0));
      p.setPen(QColor(160, 0, 0));
      p.drawRect(QRectF(3, 7, 10, 2));
      break;
    case NavButton::Edit: {
      QPolygonF up;
      up << QPointF(3, 11) << QPointF(8, 5) << QPointF(13, 11);
      p.drawPolygon(up);
      break;
    }
    case NavButton::Post: {
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(0, 128, 0), 2));
      QPainterPath tick;
      tick.moveTo(3, 8);
      tick.lineTo(6.5, 12);
      tick.lineTo(13, 4);
      p.drawPath(tick);
      break;
    }
    case NavButton::Cancel:
      p.setPen(QPen(QColor(160, 0, 0), 2));
      p.drawLine(QPointF(4, 4), QPointF(12, 12));
      p.drawLine(QPointF(12, 4), QPointF(4, 12));
      break;
    case NavButton::Refresh: {
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(ink, 1.5));
      p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 280 * 16);
      p.setBrush(ink);
      QPolygonF head;
      head << QPointF(11, 1.5) << QPointF(14, 5.5) << QPointF(9.5, 6);
      p.drawPolygon(head);
      break;
    }
  }
}

}  // namespace

// One pixmap per device pixel ratio in use on today's screens, so that the
// buttons stay sharp on a high-density screen.
QIcon NavigatorGlyph(NavButton which) {
  QIcon icon;
  for (const int ratio : {1, 2}) {
    QPixmap pixmap(kSize * ratio, kSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    DrawGlyph(p, which);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace loads::detail
