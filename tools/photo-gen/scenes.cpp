#include "scenes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace photo_gen {

namespace {

// A small fixed generator: the same pictures on every build.
class Dice {
 public:
  explicit Dice(unsigned seed) : m_state(seed * 2654435761u + 1) {}
  double Next() {  // 0 .. 1
    m_state = m_state * 1664525u + 1013904223u;
    return (m_state >> 8) / double(1u << 24);
  }

 private:
  unsigned m_state;
};

QPainterPath Hills(int width, int height, double base, double amplitude, Dice& dice) {
  QPainterPath path;
  path.moveTo(0, height);
  const double phase1 = dice.Next() * 6.28;
  const double phase2 = dice.Next() * 6.28;
  const int steps = 64;
  for (int i = 0; i <= steps; ++i) {
    const double x = width * double(i) / steps;
    const double t = double(i) / steps;
    const double y = height * (base - amplitude * (0.6 * std::sin(t * 5.0 + phase1) + 0.4 * std::sin(t * 11.0 + phase2)));
    path.lineTo(x, y);
  }
  path.lineTo(width, height);
  path.closeSubpath();
  return path;
}

}  // namespace

QImage Landscape(int width, int height, const Palette& palette, unsigned seed) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, palette.skyTop);
  sky.setColorAt(0.7, palette.skyBottom);
  painter.fillRect(image.rect(), sky);

  Dice dice(seed);
  const QPointF sunCentre(width * (0.2 + 0.6 * dice.Next()), height * (0.25 + 0.2 * dice.Next()));
  const double sunRadius = std::min(width, height) * 0.08;
  QRadialGradient glow(sunCentre, sunRadius * 4);
  QColor halo = palette.sun;
  halo.setAlpha(110);
  glow.setColorAt(0, halo);
  glow.setColorAt(1, QColor(0, 0, 0, 0));
  painter.fillRect(image.rect(), glow);
  painter.setPen(Qt::NoPen);
  painter.setBrush(palette.sun);
  painter.drawEllipse(sunCentre, sunRadius, sunRadius);

  QLinearGradient far(0, height * 0.45, 0, height);
  far.setColorAt(0, palette.hillFar);
  far.setColorAt(1, palette.hillFar.darker(140));
  painter.setBrush(far);
  painter.drawPath(Hills(width, height, 0.62, 0.08, dice));
  QLinearGradient near(0, height * 0.6, 0, height);
  near.setColorAt(0, palette.hillNear);
  near.setColorAt(1, palette.hillNear.darker(180));
  painter.setBrush(near);
  painter.drawPath(Hills(width, height, 0.8, 0.07, dice));
  return image;
}

QImage Target(int width, int height, unsigned seed) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(image.rect(), QColor(196, 178, 140));  // cardboard
  const QPointF centre(width / 2.0, height / 2.0);
  const double outer = std::min(width, height) * 0.45;
  painter.setBrush(QColor(245, 240, 228));
  painter.setPen(Qt::NoPen);
  painter.drawRect(QRectF(centre.x() - outer * 1.05, centre.y() - outer * 1.05, outer * 2.1, outer * 2.1));
  for (int ring = 10; ring >= 1; --ring) {
    const double r = outer * ring / 10.0;
    const bool black = ring <= 6;
    painter.setBrush(black ? QColor(20, 20, 20) : QColor(245, 240, 228));
    painter.setPen(QPen(black ? QColor(230, 230, 230) : QColor(20, 20, 20), std::max(1.0, outer / 150)));
    painter.drawEllipse(centre, r, r);
  }
  Dice dice(seed);
  painter.setPen(Qt::NoPen);
  for (int hit = 0; hit < 9; ++hit) {
    const double angle = dice.Next() * 6.28;
    const double distance = outer * 0.5 * dice.Next() * dice.Next();
    const QPointF at(centre.x() + distance * std::cos(angle), centre.y() + distance * std::sin(angle));
    painter.setBrush(QColor(90, 70, 50));
    painter.drawEllipse(at, outer / 40, outer / 40);
  }
  return image;
}

QImage Cartridges(int width, int height, int count) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient cloth(width / 2.0, height * 0.3, std::max(width, height));
  cloth.setColorAt(0, QColor(60, 30, 30));
  cloth.setColorAt(1, QColor(15, 8, 8));
  painter.fillRect(image.rect(), cloth);
  const double slot = double(width) / (count + 1);
  const double caseWidth = slot * 0.55;
  const double caseHeight = height * 0.5;
  for (int i = 0; i < count; ++i) {
    const double left = slot * (i + 1) - caseWidth / 2;
    const double top = height * 0.35;
    QLinearGradient brass(left, 0, left + caseWidth, 0);
    brass.setColorAt(0, QColor(120, 85, 30));
    brass.setColorAt(0.35, QColor(250, 215, 120));
    brass.setColorAt(1, QColor(110, 75, 25));
    painter.setPen(Qt::NoPen);
    painter.setBrush(brass);
    painter.drawRect(QRectF(left, top, caseWidth, caseHeight));
    QLinearGradient lead(left, 0, left + caseWidth, 0);
    lead.setColorAt(0, QColor(110, 60, 40));
    lead.setColorAt(0.35, QColor(230, 150, 110));
    lead.setColorAt(1, QColor(90, 45, 30));
    painter.setBrush(lead);
    QPainterPath tip;
    tip.moveTo(left, top);
    tip.cubicTo(left, top - caseWidth * 1.2, left + caseWidth, top - caseWidth * 1.2, left + caseWidth, top);
    tip.closeSubpath();
    painter.drawPath(tip);
  }
  return image;
}

QImage BulletIcon(int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient copper(side * 0.4, side * 0.35, side * 0.6);
  copper.setColorAt(0, QColor(255, 200, 150));
  copper.setColorAt(1, QColor(140, 60, 30));
  painter.setPen(Qt::NoPen);
  painter.setBrush(copper);
  painter.drawEllipse(QRectF(side * 0.1, side * 0.1, side * 0.8, side * 0.8));
  return image;
}

}  // namespace photo_gen
