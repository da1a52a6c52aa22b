#include "footer_photo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace report_pictures {

namespace {

// Our own generator: std's distributions differ between libraries, and the
// picture must not.
class Grain {
 public:
  explicit Grain(std::uint64_t seed) : m_state(seed) {}
  // In [-1, 1).
  double Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 7;
    m_state ^= m_state << 17;
    return double(m_state >> 11) / double(1ULL << 52) - 1.0;
  }

 private:
  std::uint64_t m_state;
};

constexpr int kBenchTop = 300;  // pixels: where the wall meets the bench

int Clamp(double v) { return std::clamp(int(std::lround(v)), 0, 255); }

void PaintWallAndBench(QImage& photo) {
  Grain grain(0x5eed'1a7eu);
  // A slowly wandering phase per row makes the grain of the planks.
  double phase = 0;
  for (int y = 0; y < photo.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    if (y < kBenchTop) {
      const double t = double(y) / kBenchTop;
      for (int x = 0; x < photo.width(); ++x) {
        const double light = 1.0 - 0.45 * double(x) / photo.width();
        row[x] = qRgb(Clamp((70 + 25 * t) * light), Clamp((82 + 22 * t) * light),
                      Clamp((74 + 14 * t) * light));
      }
      continue;
    }
    phase += 0.04 * grain.Next();
    const int plank = (y - kBenchTop) / 118;
    const double plankTone = 1.0 - 0.08 * (plank % 2);
    const bool seam = (y - kBenchTop) % 118 < 3;
    for (int x = 0; x < photo.width(); ++x) {
      const double rings = 0.5 + 0.5 * std::sin(x * 0.021 + phase * 9 + std::sin(x * 0.003 + plank) * 3);
      const double light = 1.0 - 0.5 * double(x) / photo.width();
      double r = (150 + 40 * rings) * plankTone * light;
      double g = (98 + 26 * rings) * plankTone * light;
      double b = (56 + 14 * rings) * plankTone * light;
      if (seam) r *= 0.45, g *= 0.45, b *= 0.45;
      row[x] = qRgb(Clamp(r), Clamp(g), Clamp(b));
    }
  }
}

// One cartridge standing on the bench: its foot at (centreX, footY).
void PaintCartridge(QPainter& painter, double centreX, double footY, double scale) {
  const double caseWidth = 46 * scale;
  const double caseHeight = 150 * scale;
  const double neckWidth = 38 * scale;
  const double bulletHeight = 78 * scale;
  const double left = centreX - caseWidth / 2;
  const double top = footY - caseHeight;

  // Shadow to the right, away from the light.
  QRadialGradient shadow(QPointF(centreX + 40 * scale, footY), 70 * scale);
  shadow.setColorAt(0, QColor(0, 0, 0, 120));
  shadow.setColorAt(1, QColor(0, 0, 0, 0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(shadow);
  painter.drawEllipse(QPointF(centreX + 36 * scale, footY - 2 * scale), 80 * scale, 14 * scale);

  QLinearGradient brass(left, 0, left + caseWidth, 0);
  brass.setColorAt(0.0, QColor(120, 86, 30));
  brass.setColorAt(0.22, QColor(250, 222, 140));
  brass.setColorAt(0.45, QColor(214, 168, 70));
  brass.setColorAt(1.0, QColor(96, 66, 22));
  painter.setBrush(brass);
  QPainterPath body;
  body.moveTo(left, footY);
  body.lineTo(left, top + 22 * scale);
  body.lineTo(centreX - neckWidth / 2, top + 8 * scale);
  body.lineTo(centreX - neckWidth / 2, top);
  body.lineTo(centreX + neckWidth / 2, top);
  body.lineTo(centreX + neckWidth / 2, top + 8 * scale);
  body.lineTo(left + caseWidth, top + 22 * scale);
  body.lineTo(left + caseWidth, footY);
  body.closeSubpath();
  painter.drawPath(body);
  // The extractor groove near the foot.
  painter.setBrush(QColor(70, 48, 16, 170));
  painter.drawRect(QRectF(left, footY - 16 * scale, caseWidth, 4 * scale));

  QLinearGradient copper(centreX - neckWidth / 2, 0, centreX + neckWidth / 2, 0);
  copper.setColorAt(0.0, QColor(110, 46, 20));
  copper.setColorAt(0.25, QColor(240, 150, 100));
  copper.setColorAt(0.5, QColor(190, 92, 48));
  copper.setColorAt(1.0, QColor(80, 32, 14));
  painter.setBrush(copper);
  QPainterPath ogive;
  ogive.moveTo(centreX - neckWidth / 2, top);
  ogive.cubicTo(centreX - neckWidth / 2, top - bulletHeight * 0.7, centreX - 4 * scale,
                top - bulletHeight, centreX, top - bulletHeight);
  ogive.cubicTo(centreX + 4 * scale, top - bulletHeight, centreX + neckWidth / 2,
                top - bulletHeight * 0.7, centreX + neckWidth / 2, top);
  ogive.closeSubpath();
  painter.drawPath(ogive);
}

// Primers scattered in front of the row.
void PaintPrimers(QPainter& painter) {
  Grain place(0x9121'3e75u);
  for (int i = 0; i < 14; ++i) {
    const QPointF centre(140 + 380 * (place.Next() + 1), 640 + 50 * place.Next());
    QRadialGradient metal(centre - QPointF(4, 4), 16);
    metal.setColorAt(0, QColor(245, 240, 225));
    metal.setColorAt(1, QColor(140, 128, 100));
    painter.setBrush(metal);
    painter.drawEllipse(centre, 13, 8);
  }
}

void AddVignetteAndGrain(QImage& photo) {
  Grain grain(0xf11a'9a1eu);
  const double cx = photo.width() / 2.0;
  const double cy = photo.height() / 2.0;
  const double reach = std::hypot(cx, cy);
  for (int y = 0; y < photo.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < photo.width(); ++x) {
      const double d = std::hypot(x - cx, y - cy) / reach;
      const double keep = 1.0 - 0.55 * d * d;
      const double noise = 9 * grain.Next();
      row[x] = qRgb(Clamp(qRed(row[x]) * keep + noise), Clamp(qGreen(row[x]) * keep + noise),
                    Clamp(qBlue(row[x]) * keep + noise));
    }
  }
}

}  // namespace

QImage FooterPhoto() {
  QImage photo(kPhotoWidth, kPhotoHeight, QImage::Format_RGB32);
  PaintWallAndBench(photo);
  {
    QPainter painter(&photo);
    painter.setRenderHint(QPainter::Antialiasing);
    // Back row smaller, as seen from the front.
    for (int i = 0; i < 6; ++i) PaintCartridge(painter, 190 + i * 130, 470, 1.0);
    for (int i = 0; i < 5; ++i) PaintCartridge(painter, 250 + i * 150, 600, 1.35);
    PaintPrimers(painter);
  }
  AddVignetteAndGrain(photo);
  return photo;
}

}  // namespace report_pictures
