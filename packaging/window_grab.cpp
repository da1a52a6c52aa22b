// window-grab WINDOW-ID OUT.png
//
// Writes a picture of a window of the X display (any program's, given by its
// id as xwininfo prints it, e.g. 0x1a00007) to OUT.png and prints its size
// and the number of colours in it ("968x684 1234"), so that a script can
// tell a drawn window from an empty one. The package test takes the
// installed program's picture with it.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>

#include <cstdio>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: window-grab WINDOW-ID OUT.png\n");
  return 2;
}

qsizetype CountColours(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QSet<QRgb> colours;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) colours.insert(row[x]);
  }
  return colours.size();
}

}  // namespace

int main(int argc, char** argv) {
  const QGuiApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.size() != 2) return Usage();
  bool isNumber = false;
  const WId window = args[0].toULongLong(&isNumber, 0);
  if (!isNumber || window == 0) return Usage();

  const QImage picture = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
  if (picture.isNull()) {
    std::fprintf(stderr, "window-grab: cannot take a picture of window %s\n", argv[1]);
    return 1;
  }
  if (!picture.save(args[1], "PNG")) {
    std::fprintf(stderr, "window-grab: cannot write %s\n", qPrintable(args[1]));
    return 1;
  }
  std::printf("%dx%d %lld\n", picture.width(), picture.height(),
              static_cast<long long>(CountColours(picture)));
  return 0;
}
