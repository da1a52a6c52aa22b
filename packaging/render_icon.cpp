// render-icon SVG SIZE OUT.png
//
// Draws an SVG picture into a square PNG of SIZE x SIZE pixels on a
// transparent background, keeping its proportions and centring it. The build
// makes the desktop icons of every size from the program's own SVG icon with
// it, so that no icon is a scaled copy of another.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: render-icon SVG SIZE OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Usage();
  const QString svg = QString::fromLocal8Bit(argv[1]);
  bool isNumber = false;
  const int size = QString::fromLatin1(argv[2]).toInt(&isNumber);  // pixels
  const QString out = QString::fromLocal8Bit(argv[3]);
  if (!isNumber || size < 1 || size > 4096) return Usage();

  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render-icon: %s is not a readable SVG picture\n", argv[1]);
    return 1;
  }
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  {
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QSizeF picture = renderer.defaultSize();
    picture.scale(size, size, Qt::KeepAspectRatio);
    const QRectF target((size - picture.width()) / 2, (size - picture.height()) / 2,
                        picture.width(), picture.height());
    renderer.render(&painter, target);
  }
  if (!icon.save(out, "PNG")) {
    std::fprintf(stderr, "render-icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
