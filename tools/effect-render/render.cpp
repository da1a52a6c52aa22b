#include "render.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <ostream>

#include "effects/frame.h"
#include "raster/canvas.h"

namespace effect_render {

namespace {

using raster::Bitmap;
using raster::MakePixel;

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

constexpr int kThumbnailWidth = 320;  // pixels
constexpr int kSheetColumns = 4;
constexpr int kGap = 8;  // pixels

}  // namespace

Bitmap OldTestCard(int width, int height) {
  Bitmap card(width, height);
  for (int y = 0; y < height; ++y) {
    raster::Pixel* row = card.PixelRow(y);
    for (int x = 0; x < width; ++x) {
      const double fx = double(x) / std::max(1, width - 1);
      const double fy = double(y) / std::max(1, height - 1);
      const bool grid = x % 32 == 0 || y % 32 == 0;
      const bool diagonal = std::abs(fx - fy) < 0.01;
      row[x] = grid || diagonal ? MakePixel(230, 230, 230)
                                : MakePixel(Byte(30 + 40 * fx), Byte(70 + 120 * fy), Byte(120 + 100 * (1 - fx)));
    }
  }
  return card;
}

Bitmap NewTestCard(int width, int height) {
  Bitmap card(width, height);
  const double cx = width / 2.0, cy = height / 2.0;
  const int mark = std::max(2, std::min(width, height) / 8);
  for (int y = 0; y < height; ++y) {
    raster::Pixel* row = card.PixelRow(y);
    for (int x = 0; x < width; ++x) {
      const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const bool ring = std::fmod(r, 24.0) < 4.0;
      if (x < mark && y < mark) {
        row[x] = MakePixel(255, 255, 255);
      } else if (ring) {
        row[x] = MakePixel(120, 20, 20);
      } else {
        row[x] = MakePixel(Byte(200 + 55.0 * x / std::max(1, width)), Byte(90 + 140.0 * y / std::max(1, height)), 40);
      }
    }
  }
  return card;
}

std::optional<Bitmap> LoadPicture(const std::string& path, int width, int height, std::string& error) {
  const QImage image(QString::fromStdString(path));
  if (image.isNull()) {
    error = "Impossibile leggere l'immagine \"" + path + "\"";
    return std::nullopt;
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  Bitmap own(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    raster::Pixel* row = own.PixelRow(y);
    for (int x = 0; x < rgb.width(); ++x)
      row[x] = MakePixel(std::uint8_t(qRed(line[x])), std::uint8_t(qGreen(line[x])), std::uint8_t(qBlue(line[x])));
  }
  if (own.Width() == width && own.Height() == height) return own;
  Bitmap sized(width, height);
  raster::SetStretchBltMode(sized.Canvas(), raster::COLORONCOLOR);
  raster::StretchBlt(sized.Canvas(), 0, 0, width, height, own, 0, 0, own.Width(), own.Height());
  return sized;
}

bool SavePicture(const Bitmap& picture, const std::string& path, std::string& error) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
  for (int y = 0; y < picture.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const raster::Pixel* row = picture.PixelRow(y);
    for (int x = 0; x < picture.Width(); ++x) {
      line[x] = qRgb(raster::PixelByte(row[x], raster::kRedByte), raster::PixelByte(row[x], raster::kGreenByte),
                     raster::PixelByte(row[x], raster::kBlueByte));
    }
  }
  if (image.save(QString::fromStdString(path))) return true;
  error = "Impossibile scrivere \"" + path + "\" (cartella inesistente, permessi o estensione non gestita)";
  return false;
}

Bitmap RenderFrame(const effects::Effect& row, const Bitmap& oldPicture, const Bitmap& newPicture,
                   int progress) {
  Bitmap screen = oldPicture;
  effects::DrawEffectFrame(row, screen, newPicture, progress);
  return screen;
}

Bitmap ContactSheet(const effects::Effect& row, const Bitmap& oldPicture, const Bitmap& newPicture) {
  const int w = oldPicture.Width(), h = oldPicture.Height();
  const int thumbWidth = std::min(w, kThumbnailWidth);
  const int thumbHeight = std::max(1, static_cast<int>(std::lround(double(h) * thumbWidth / w)));
  constexpr int kFrames = 11;
  const int rows = (kFrames + kSheetColumns - 1) / kSheetColumns;
  Bitmap sheet(kGap + kSheetColumns * (thumbWidth + kGap), kGap + rows * (thumbHeight + kGap),
               MakePixel(96, 96, 96));
  raster::SetStretchBltMode(sheet.Canvas(), raster::COLORONCOLOR);
  for (int i = 0; i < kFrames; ++i) {
    const Bitmap frame = RenderFrame(row, oldPicture, newPicture, i * 10);
    const int x = kGap + (i % kSheetColumns) * (thumbWidth + kGap);
    const int y = kGap + (i / kSheetColumns) * (thumbHeight + kGap);
    raster::StretchBlt(sheet.Canvas(), x, y, thumbWidth, thumbHeight, frame, 0, 0, w, h);
  }
  return sheet;
}

void ListEffects(std::ostream& out) {
  for (std::size_t i = 0; i < effects::EffectTable.size(); ++i) {
    const effects::Effect& row = effects::EffectTable[i];
    out << i + 1 << '\t' << row.Name << '\t' << (row.Proc != nullptr ? "yes" : "no") << '\n';
  }
}

int Run(const Options& options, const effects::Effect& row, std::ostream& out, std::ostream& err) {
  if (options.help) {
    out << Usage();
    return kDone;
  }
  if (options.list) {
    ListEffects(out);
    return kDone;
  }
  if (row.Proc == nullptr) {
    err << "L'effetto " << options.style << " \"" << row.Name
        << "\" non ha ancora una procedura di disegno: non c'è nulla da disegnare.\n";
    return kNoProcedure;
  }
  std::string error;
  std::optional<Bitmap> oldPicture = options.oldFile.empty()
                                         ? OldTestCard(options.width, options.height)
                                         : LoadPicture(options.oldFile, options.width, options.height, error);
  std::optional<Bitmap> newPicture = options.newFile.empty()
                                         ? NewTestCard(options.width, options.height)
                                         : LoadPicture(options.newFile, options.width, options.height, error);
  if (!oldPicture || !newPicture) {
    err << error << '\n';
    return kFileError;
  }
  for (const int progress : options.progress) {
    const std::string path = FramePath(options.outPattern, progress);
    if (!SavePicture(RenderFrame(row, *oldPicture, *newPicture, progress), path, error)) {
      err << error << '\n';
      return kFileError;
    }
  }
  if (!options.sheetFile.empty() &&
      !SavePicture(ContactSheet(row, *oldPicture, *newPicture), options.sheetFile, error)) {
    err << error << '\n';
    return kFileError;
  }
  return kDone;
}

}  // namespace effect_render
