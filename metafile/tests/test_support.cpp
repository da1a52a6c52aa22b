#include "test_support.h"

#include "testing/test_support.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace metafile_test {

void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "metafile_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

QByteArray ReadBytes(const std::filesystem::path& path) {
  const std::string bytes = testing_support::ReadFileBytes(path);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::filesystem::path DataDir() { return testing_support::TestDataDir(); }

std::filesystem::path OutputDir() {
  const char* binary = std::getenv("VERSANTO_BINARY_DIR");
  const std::filesystem::path dir =
      std::filesystem::path(binary != nullptr && *binary != '\0' ? binary : ".") / "metafile-pictures";
  std::filesystem::create_directories(dir);
  return dir;
}

std::vector<CardCell> ReadCells(const std::filesystem::path& path) {
  std::vector<CardCell> cells;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    CardCell cell;
    int left = 0, top = 0, width = 0, height = 0;
    if (fields >> cell.name >> left >> top >> width >> height) {
      cell.rect = QRect(left, top, width, height);
      cells.push_back(cell);
    }
  }
  return cells;
}

QImage OnWhite(const QImage& image) {
  QImage out(image.size(), QImage::Format_RGB32);
  out.fill(Qt::white);
  QPainter painter(&out);
  painter.drawImage(0, 0, image);
  return out;
}

namespace {
double OneWay(const QImage& a, const QImage& b, const QRect& area, int tolerance, int radius, Blends blends) {
  const QRect inside = area.intersected(a.rect()).intersected(b.rect());
  if (inside.isEmpty()) return 0;
  int bad = 0;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QRgb p = a.pixel(x, y);
      bool matched = false;
      int low[3] = {255, 255, 255};
      int high[3] = {0, 0, 0};
      for (int dy = -radius; dy <= radius && !matched; ++dy) {
        for (int dx = -radius; dx <= radius && !matched; ++dx) {
          const int qx = x + dx;
          const int qy = y + dy;
          if (!b.rect().contains(qx, qy)) continue;
          const QRgb q = b.pixel(qx, qy);
          matched = std::abs(qRed(p) - qRed(q)) <= tolerance && std::abs(qGreen(p) - qGreen(q)) <= tolerance &&
                    std::abs(qBlue(p) - qBlue(q)) <= tolerance;
          const int channels[3] = {qRed(q), qGreen(q), qBlue(q)};
          for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], channels[i]);
            high[i] = std::max(high[i], channels[i]);
          }
        }
      }
      if (!matched && blends == Blends::kAllowed) {
        const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
        matched = true;
        for (int i = 0; i < 3; ++i) {
          matched = matched && channels[i] >= low[i] - tolerance && channels[i] <= high[i] + tolerance;
        }
      }
      if (!matched) ++bad;
    }
  }
  return static_cast<double>(bad) / (static_cast<double>(inside.width()) * inside.height());
}
}  // namespace

double MismatchShare(const QImage& a, const QImage& b, const QRect& area, int tolerance, int radius, Blends blends) {
  const QImage wa = OnWhite(a);
  const QImage wb = OnWhite(b);
  return std::max(OneWay(wa, wb, area, tolerance, radius, blends), OneWay(wb, wa, area, tolerance, radius, blends));
}

}  // namespace metafile_test
