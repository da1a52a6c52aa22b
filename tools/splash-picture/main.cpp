// splash-picture OUT.jpg
//
// (Another suffix, such as .png, writes that kind of file instead.)
// Draws the splash window's picture (450 x 260, the window's client area) and
// writes it as a JPEG. resources/pictures/splash.jpg is this program's output:
//   QT_QPA_PLATFORM=offscreen build/bin/splash-picture resources/pictures/splash.jpg
// Everything in it is drawn here, so the picture is ours to change.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 260;

void Background(QPainter& p) {
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0.0, QColor(18, 32, 58));
  sky.setColorAt(0.65, QColor(30, 62, 92));
  sky.setColorAt(1.0, QColor(12, 20, 34));
  p.fillRect(0, 0, kWidth, kHeight, sky);
  // A soft light behind the cartridges.
  QRadialGradient glow(QPointF(110, 120), 150);
  glow.setColorAt(0.0, QColor(255, 210, 130, 90));
  glow.setColorAt(1.0, QColor(255, 210, 130, 0));
  p.fillRect(0, 0, kWidth, kHeight, glow);
  // A thin engraved frame.
  p.setPen(QPen(QColor(200, 160, 90, 160), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(6.5, 6.5, kWidth - 13, kHeight - 13), 8, 8);
}

// One upright rifle cartridge, its base at (x, baseY), `height` tall.
void Cartridge(QPainter& p, double x, double baseY, double height) {
  const double w = height * 0.22;
  const double caseTop = baseY - height * 0.62;
  const double neckTop = caseTop - height * 0.12;
  const double tip = baseY - height;

  QLinearGradient brass(x - w / 2, 0, x + w / 2, 0);
  brass.setColorAt(0.0, QColor(120, 80, 20));
  brass.setColorAt(0.35, QColor(245, 205, 110));
  brass.setColorAt(0.6, QColor(200, 150, 55));
  brass.setColorAt(1.0, QColor(95, 60, 15));

  QLinearGradient copper(x - w / 2, 0, x + w / 2, 0);
  copper.setColorAt(0.0, QColor(110, 45, 20));
  copper.setColorAt(0.4, QColor(235, 140, 90));
  copper.setColorAt(1.0, QColor(95, 35, 15));

  // Bullet: an ogive from the neck to the tip.
  const double bw = w * 0.62;
  QPainterPath bullet;
  bullet.moveTo(x - bw / 2, neckTop + 2);
  bullet.cubicTo(x - bw / 2, neckTop - (neckTop - tip) * 0.55, x - bw * 0.12, tip + 2, x, tip);
  bullet.cubicTo(x + bw * 0.12, tip + 2, x + bw / 2, neckTop - (neckTop - tip) * 0.55, x + bw / 2, neckTop + 2);
  bullet.closeSubpath();
  p.setPen(QPen(QColor(60, 25, 10), 1));
  p.setBrush(copper);
  p.drawPath(bullet);

  // Case: body, shoulder, neck; then the rim.
  QPainterPath body;
  body.moveTo(x - w / 2, baseY - height * 0.05);
  body.lineTo(x - w / 2, caseTop);
  body.lineTo(x - bw / 2 - 1, caseTop - height * 0.05);
  body.lineTo(x - bw / 2 - 1, neckTop + 4);
  body.lineTo(x + bw / 2 + 1, neckTop + 4);
  body.lineTo(x + bw / 2 + 1, caseTop - height * 0.05);
  body.lineTo(x + w / 2, caseTop);
  body.lineTo(x + w / 2, baseY - height * 0.05);
  body.closeSubpath();
  p.setPen(QPen(QColor(70, 45, 10), 1));
  p.setBrush(brass);
  p.drawPath(body);
  p.drawRoundedRect(QRectF(x - w / 2 - 1, baseY - height * 0.05, w + 2, height * 0.05), 1.5, 1.5);
}

void Texts(QPainter& p) {
  QFont title(QStringLiteral("DejaVu Serif"));
  title.setPixelSize(46);
  title.setBold(true);
  p.setFont(title);
  const QRectF titleBox(175, 52, 260, 60);
  p.setPen(QColor(0, 0, 0, 150));
  p.drawText(titleBox.translated(2, 2), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Versanto"));
  QLinearGradient gold(0, titleBox.top(), 0, titleBox.bottom());
  gold.setColorAt(0.0, QColor(255, 232, 160));
  gold.setColorAt(1.0, QColor(205, 150, 60));
  p.setPen(QPen(QBrush(gold), 1));
  p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Versanto"));

  QFont version(QStringLiteral("DejaVu Sans"));
  version.setPixelSize(22);
  p.setFont(version);
  p.setPen(QColor(235, 225, 200));
  p.drawText(QRectF(178, 108, 250, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("versione 8.0"));

  p.setPen(QPen(QColor(200, 160, 90, 200), 1));
  p.drawLine(QPointF(178, 146), QPointF(420, 146));

  QFont line(QStringLiteral("DejaVu Sans"));
  line.setPixelSize(15);
  p.setFont(line);
  p.setPen(QColor(220, 228, 238));
  p.drawText(QRectF(178, 154, 250, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Il costo della tua munizione"));
  p.drawText(QRectF(178, 176, 250, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("ricaricata, colpo per colpo"));

  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(11);
  small.setItalic(true);
  p.setFont(small);
  p.setPen(QColor(170, 185, 205));
  p.drawText(QRectF(178, 218, 250, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Programmed By Ondrevi"));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: splash-picture OUT.jpg\n");
    return 2;
  }
  QImage picture(kWidth, kHeight, QImage::Format_RGB32);
  {
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Background(p);
    // Three cartridges, the middle one in front.
    Cartridge(p, 62, 226, 170);
    Cartridge(p, 142, 226, 170);
    Cartridge(p, 102, 236, 196);
    Texts(p);
  }
  QImageWriter writer(args[0]);
  writer.setQuality(90);
  if (!writer.write(picture)) {
    std::fprintf(stderr, "splash-picture: cannot write %s: %s\n", qPrintable(args[0]),
                 qPrintable(writer.errorString()));
    return 1;
  }
  return 0;
}
