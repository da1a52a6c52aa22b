#include "slideshow/picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <new>

#include "picture_limits_p.h"
#include "qt_image_reader_p.h"
#include "slideshow/picture_readers.h"

namespace slideshow {

namespace {

QString Shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }

QString OpenFailure(const QFile& file) {
  if (!file.exists()) return QStringLiteral("il file non esiste");
  if (QFileInfo(file).isDir()) return QStringLiteral("è una cartella");
  if (file.error() == QFileDevice::PermissionsError) return QStringLiteral("accesso negato");
  return QStringLiteral("errore di lettura");
}

// The file's whole content; throws PictureError.
QByteArray ReadWholeFile(const QString& fileName) {
  QFile file(fileName);
  if (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly)) {
    throw PictureError(QStringLiteral("Impossibile aprire il file \"%1\": %2.").arg(Shown(fileName), OpenFailure(file)));
  }
  if (file.size() > detail::kMaxFileBytes) {
    throw PictureError(QStringLiteral("Impossibile leggere l'immagine \"%1\": il file è troppo grande.").arg(Shown(fileName)));
  }
  QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw PictureError(QStringLiteral("Impossibile leggere il file \"%1\": errore di lettura.").arg(Shown(fileName)));
  }
  if (data.isEmpty()) {
    throw PictureError(QStringLiteral("Il file \"%1\" è vuoto: non contiene un'immagine.").arg(Shown(fileName)));
  }
  return data;
}

std::uint8_t Over(std::uint8_t source, std::uint8_t background, std::uint8_t alpha) {
  return static_cast<std::uint8_t>(source + (background * (255 - alpha) + 127) / 255);
}

}  // namespace

Picture::Picture(const Picture& other)
    : m_bitmap(other.m_bitmap),
      m_hasGraphic(other.m_hasGraphic),
      m_hasAlpha(other.m_hasAlpha),
      m_naturalSize(other.m_naturalSize),
      m_fileName(other.m_fileName) {}

Picture& Picture::operator=(const Picture& other) {
  Assign(other);
  return *this;
}

void Picture::LoadFromFile(const QString& fileName) {
  const QString extension = QFileInfo(fileName).suffix();
  if (extension.isEmpty()) {
    throw PictureError(QStringLiteral("Il file \"%1\" non ha un'estensione di immagine.").arg(Shown(fileName)));
  }
  const PictureReader reader = FindPictureReader(extension);
  if (!reader) {
    throw PictureError(
        QStringLiteral("Estensione di immagine sconosciuta (.%1): \"%2\".").arg(extension, Shown(fileName)));
  }
  const QByteArray data = ReadWholeFile(fileName);
  DecodedPicture decoded;
  try {
    decoded = reader(data, PictureReadRequest{m_targetSize});
  } catch (const PictureDecodeError& error) {
    throw PictureError(QStringLiteral("Impossibile leggere l'immagine \"%1\": %2.").arg(Shown(fileName), error.Reason()));
  } catch (const std::bad_alloc&) {
    throw PictureError(QStringLiteral("Impossibile leggere l'immagine \"%1\": memoria insufficiente.").arg(Shown(fileName)));
  }
  m_bitmap = std::move(decoded.bitmap);
  m_hasAlpha = decoded.hasAlpha;
  m_naturalSize = decoded.naturalSize.isValid() ? decoded.naturalSize : QSize(m_bitmap.Width(), m_bitmap.Height());
  m_hasGraphic = true;
  m_fileName = fileName;
  Changed();
}

bool Picture::TryLoadFromFile(const QString& fileName, QString* errorMessage) {
  try {
    LoadFromFile(fileName);
    return true;
  } catch (const PictureError& error) {
    if (errorMessage != nullptr) *errorMessage = error.Message();
    return false;
  }
}

void Picture::Assign(const Picture& other) {
  if (&other != this) {
    m_bitmap = other.m_bitmap;
    m_hasGraphic = other.m_hasGraphic;
    m_hasAlpha = other.m_hasAlpha;
    m_naturalSize = other.m_naturalSize;
    m_fileName = other.m_fileName;
  }
  Changed();
}

void Picture::SetImage(const QImage& image) {
  if (image.isNull()) {
    Clear();
    return;
  }
  DecodedPicture decoded = detail::FromImage(image);
  m_bitmap = std::move(decoded.bitmap);
  m_hasAlpha = decoded.hasAlpha;
  m_naturalSize = image.size();
  m_hasGraphic = true;
  m_fileName.clear();
  Changed();
}

void Picture::SetBitmap(raster::Bitmap bitmap, bool hasAlpha) {
  m_naturalSize = QSize(bitmap.Width(), bitmap.Height());
  m_bitmap = std::move(bitmap);
  m_hasAlpha = hasAlpha;
  m_hasGraphic = true;
  m_fileName.clear();
  Changed();
}

void Picture::Clear() {
  m_bitmap = raster::Bitmap();
  m_hasGraphic = false;
  m_hasAlpha = false;
  m_naturalSize = QSize();
  m_fileName.clear();
  Changed();
}

raster::Bitmap Picture::Render(raster::Pixel background) const {
  if (!m_hasAlpha) return m_bitmap;
  raster::Bitmap out(m_bitmap.Width(), m_bitmap.Height());
  if (out.Empty()) return out;
  const std::uint8_t blue = raster::PixelByte(background, raster::kBlueByte);
  const std::uint8_t green = raster::PixelByte(background, raster::kGreenByte);
  const std::uint8_t red = raster::PixelByte(background, raster::kRedByte);
  for (int y = 0; y < out.Height(); ++y) {
    const std::uint8_t* from = m_bitmap.ScanLine(y);
    std::uint8_t* to = out.ScanLine(y);
    for (int x = 0; x < out.Width(); ++x, from += 4, to += 4) {
      const std::uint8_t alpha = from[raster::kFourthByte];
      to[raster::kBlueByte] = Over(from[raster::kBlueByte], blue, alpha);
      to[raster::kGreenByte] = Over(from[raster::kGreenByte], green, alpha);
      to[raster::kRedByte] = Over(from[raster::kRedByte], red, alpha);
      to[raster::kFourthByte] = 0xFF;
    }
  }
  return out;
}

QImage Picture::ToImage() const {
  if (Empty()) return QImage();
  QImage image(m_bitmap.Width(), m_bitmap.Height(),
               m_hasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  if (image.isNull()) return image;
  const std::size_t rowBytes = std::size_t(m_bitmap.Width()) * 4;
  for (int y = 0; y < m_bitmap.Height(); ++y) std::memcpy(image.scanLine(y), m_bitmap.ScanLine(y), rowBytes);
  return image;
}

void Picture::Changed() {
  if (m_onChange) m_onChange();
}

}  // namespace slideshow
