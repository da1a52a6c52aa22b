// photo-gen OUTDIR
//
// Writes the sample picture folder shipped with the program: a dozen
// pictures of our own making in the formats the slideshow shows and in
// several sizes, among them one large JPEG (6000 x 4000), one BMP, one icon,
// a WMF and an EMF,
// names in mixed case, and a photograph taken sideways whose Exif orientation
// stands it upright. OUTDIR is emptied first. The output is the same on every
// run.
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTransform>

#include <cstdio>

#include "exif.h"
#include "metafiles.h"
#include "scenes.h"

namespace {

QByteArray Encode(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) {
    std::fprintf(stderr, "photo-gen: cannot encode %s: %s\n", format, qPrintable(writer.errorString()));
    return {};
  }
  return bytes;
}

bool Write(const QDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "photo-gen: cannot write %s\n", qPrintable(file.fileName()));
    return false;
  }
  return true;
}

const photo_gen::Palette kDawn{{40, 60, 120}, {250, 170, 110}, {255, 235, 180}, {40, 70, 40}, {90, 110, 130}};
const photo_gen::Palette kNoon{{60, 120, 210}, {180, 215, 245}, {255, 255, 230}, {70, 130, 50}, {120, 160, 190}};
const photo_gen::Palette kAutumn{{90, 120, 170}, {230, 200, 160}, {255, 240, 200}, {150, 80, 30}, {170, 120, 90}};
const photo_gen::Palette kDusk{{30, 20, 70}, {230, 100, 80}, {255, 200, 120}, {30, 25, 40}, {80, 50, 80}};
const photo_gen::Palette kSnow{{70, 110, 180}, {210, 225, 240}, {255, 255, 255}, {230, 235, 245}, {150, 170, 200}};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: photo-gen OUTDIR\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[1]));
  if (dir.exists() && !dir.removeRecursively()) {
    std::fprintf(stderr, "photo-gen: cannot empty %s\n", argv[1]);
    return 1;
  }
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "photo-gen: cannot make %s\n", argv[1]);
    return 1;
  }

  using photo_gen::Landscape;
  // Held sideways: stored turned a quarter anticlockwise, shown upright
  // through orientation 6 (turn 90 degrees clockwise).
  const QImage upright = Landscape(800, 1200, kDusk, 7);
  const QImage sideways = upright.transformed(QTransform().rotate(-90));

  bool ok = true;
  ok &= Write(dir, QStringLiteral("Alba sul poligono.jpg"), Encode(Landscape(6000, 4000, kDawn, 1), "jpg", 88));
  ok &= Write(dir, QStringLiteral("Bersaglio.bmp"), Encode(photo_gen::Target(800, 600, 2), "bmp"));
  ok &= Write(dir, QStringLiteral("Cartucce.JPEG"), Encode(photo_gen::Cartridges(1600, 1067, 5), "jpg", 90));
  ok &= Write(dir, QStringLiteral("Colline d'autunno.jpg"), Encode(Landscape(1920, 1080, kAutumn, 3), "jpg", 90));
  ok &= Write(dir, QStringLiteral("lago all'alba.jpeg"), Encode(Landscape(1024, 768, kDawn, 4), "jpg", 90));
  ok &= Write(dir, QStringLiteral("Nebbia.emf"), photo_gen::HillsEmf());
  ok &= Write(dir, QStringLiteral("Ogiva.ico"), Encode(photo_gen::BulletIcon(128), "ico"));
  ok &= Write(dir, QStringLiteral("Pianura.jpg"), Encode(Landscape(3000, 2000, kNoon, 6), "jpg", 90));
  ok &= Write(dir, QStringLiteral("Sera in montagna.jpg"),
              photo_gen::WithExifOrientation(Encode(sideways, "jpg", 90), 6));
  ok &= Write(dir, QStringLiteral("Tiro a segno.wmf"), photo_gen::TargetWmf());
  ok &= Write(dir, QStringLiteral("Tre cartucce.jpg"), Encode(photo_gen::Cartridges(1080, 1440, 3), "jpg", 90));
  ok &= Write(dir, QStringLiteral("Vetta innevata.jpg"), Encode(Landscape(2400, 1600, kSnow, 9), "jpg", 90));
  return ok ? 0 : 1;
}
