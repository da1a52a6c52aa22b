#include "metafile/metafile.h"

#include "byte_reader_p.h"
#include "canvas_p.h"
#include "diagnostics_p.h"
#include "player_p.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace metafile {

struct Picture::Data {
  QByteArray bytes;
  detail::PictureSetup setup;
  int records = 0;
  std::vector<Warning> warnings;
  std::vector<SkippedRecord> skipped;
};

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEmfSignature = 0x464D4520;

detail::ByteReader ReaderOf(const QByteArray& bytes) {
  return detail::ByteReader(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size()));
}

detail::WalkResult Walk(const detail::PictureSetup& setup, detail::ByteReader data, detail::Canvas& canvas,
                        detail::Diagnostics& diagnostics) {
  canvas.State() = setup.initial;
  return setup.format == Format::kEmf ? detail::WalkEmf(setup, data, canvas, diagnostics)
                                      : detail::WalkWmf(setup, data, canvas, diagnostics);
}

LoadResult Failure(Error error) {
  LoadResult result;
  result.error = std::move(error);
  return result;
}

}  // namespace

QString Error::ToString() const {
  if (recordIndex >= 0) return QStringLiteral("record %1 (byte %2): %3").arg(recordIndex).arg(byteOffset).arg(message);
  if (byteOffset > 0) return QStringLiteral("byte %1: %2").arg(byteOffset).arg(message);
  return message;
}

Picture::Picture(std::shared_ptr<const Data> data) : m_data(std::move(data)) {}

Format Picture::FileFormat() const { return m_data->setup.format; }
QSize Picture::SizePixels() const { return m_data->setup.sizePixels; }
std::optional<QSizeF> Picture::SizeMm() const { return m_data->setup.sizeMm; }
int Picture::RecordCount() const { return m_data->records; }
const std::vector<Warning>& Picture::Warnings() const { return m_data->warnings; }
const std::vector<SkippedRecord>& Picture::Skipped() const { return m_data->skipped; }

std::optional<Format> Sniff(QByteArrayView bytes) {
  detail::ByteReader r(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::size_t>(bytes.size()));
  if (r.U32() == kPlaceableKey) return Format::kPlaceableWmf;
  r.Seek(0);
  if (r.U32() == 1) {
    r.Seek(40);
    if (r.U32() == kEmfSignature) return Format::kEmf;
  }
  r = detail::ByteReader(r.Data(), r.Size());
  const std::uint16_t type = r.U16();
  const std::uint16_t headerWords = r.U16();
  const std::uint16_t version = r.U16();
  if (r.Ok() && (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300)) {
    return Format::kWmf;
  }
  return std::nullopt;
}

LoadResult Load(QByteArrayView bytes) {
  if (bytes.size() > limits::kMaxFileBytes) {
    return Failure(Error{ErrorKind::kTooLarge, -1, 0,
                         QStringLiteral("il file supera i %1 MiB ammessi per un metafile")
                             .arg(limits::kMaxFileBytes / (1024 * 1024))});
  }
  const std::optional<Format> format = Sniff(bytes);
  if (!format) {
    return Failure(Error{ErrorKind::kNotAMetafile, -1, 0, QStringLiteral("il file non è un metafile WMF né EMF")});
  }
  const auto data = std::make_shared<Picture::Data>();
  data->bytes = bytes.toByteArray();
  const detail::ByteReader reader = ReaderOf(data->bytes);
  detail::HeaderResult header = *format == Format::kEmf ? detail::ReadEmfHeader(reader) : detail::ReadWmfHeader(reader);
  if (header.error) return Failure(*header.error);
  detail::PictureSetup& setup = *header.setup;

  detail::Diagnostics diagnostics;
  detail::CanvasSetup check;
  check.outputBounds = setup.frameDevice;
  check.devicePerMmX = setup.devicePerMmX;
  check.devicePerMmY = setup.devicePerMmY;
  detail::WalkResult walk;
  {
    detail::Canvas canvas(check, diagnostics);
    walk = Walk(setup, reader, canvas, diagnostics);
    if (walk.error) return Failure(*walk.error);
    if (setup.frameFromDrawing) {
      // Nothing in the file says how big it is: the frame is what it draws,
      // its units taken as pixels, scaled down to a sensible side.
      const QRectF drawn = canvas.DrawnBounds();
      if (!(drawn.width() > 0) || !(drawn.height() > 0)) {
        return Failure(Error{ErrorKind::kZeroSize, -1, 0, QStringLiteral("l'immagine non disegna nulla")});
      }
      setup.frameDevice = drawn;
    }
  }
  if (setup.format == Format::kWmf) {
    const double side = std::max(setup.frameDevice.width(), setup.frameDevice.height());
    const double scale = std::min(1.0, limits::kUnsizedWmfMaxSide / side);
    if (auto error = detail::SizeFromFrame(setup.frameDevice.width() * scale, setup.frameDevice.height() * scale,
                                           setup.sizePixels)) {
      return Failure(*error);
    }
  }
  data->records = walk.records;
  data->warnings = setup.warnings;
  for (Warning& warning : diagnostics.TakeWarnings()) {
    if (data->warnings.size() < 64) data->warnings.push_back(std::move(warning));
  }
  data->skipped = diagnostics.Skipped();
  data->setup = std::move(setup);
  LoadResult result;
  result.picture = Picture(data);
  return result;
}

bool Picture::Play(QPainter& painter, const QRectF& target) const {
  if (!m_data || !painter.isActive()) return true;
  if (!std::isfinite(target.x()) || !std::isfinite(target.y()) || !std::isfinite(target.width()) ||
      !std::isfinite(target.height()) || target.isEmpty()) {
    return true;
  }
  const detail::PictureSetup& setup = m_data->setup;
  const QRectF frame = setup.frameDevice;
  const QTransform deviceToTarget = QTransform::fromTranslate(-frame.left(), -frame.top()) *
                                    QTransform::fromScale(target.width() / frame.width(),
                                                          target.height() / frame.height()) *
                                    QTransform::fromTranslate(target.left(), target.top());
  const QTransform toDevice = painter.combinedTransform();
  QRectF output = toDevice.mapRect(target);
  // Painter coordinates without a transform are device pixels divided by the
  // device's pixel ratio (Qt scales high-density devices underneath).
  if (const QPaintDevice* device = painter.device(); device != nullptr && device->width() > 0) {
    const double ratio = device->devicePixelRatio() > 0 ? device->devicePixelRatio() : 1.0;
    output = output.intersected(QRectF(0, 0, device->width() / ratio, device->height() / ratio));
  }
  if (output.isEmpty()) return true;

  detail::CanvasSetup canvasSetup;
  canvasSetup.painter = &painter;
  canvasSetup.deviceToOutput = deviceToTarget * toDevice;
  canvasSetup.outputBounds = output;
  canvasSetup.devicePerMmX = setup.devicePerMmX;
  canvasSetup.devicePerMmY = setup.devicePerMmY;
  const double area = output.width() * output.height();
  canvasSetup.workBudget = static_cast<std::int64_t>(std::clamp(
      area * static_cast<double>(limits::kWorkPerTargetPixel), static_cast<double>(limits::kMinWorkUnits),
      static_cast<double>(limits::kMaxWorkUnits)));

  detail::Diagnostics diagnostics;
  detail::Canvas canvas(canvasSetup, diagnostics);
  Walk(setup, ReaderOf(m_data->bytes), canvas, diagnostics);
  return !canvas.Stopped();
}

RenderResult Render(const Picture& picture, QSize sizePixels) {
  RenderResult result;
  const QSize size = sizePixels.isEmpty() ? picture.SizePixels() : sizePixels;
  if (size.width() > limits::kMaxRenderSide || size.height() > limits::kMaxRenderSide ||
      static_cast<std::int64_t>(size.width()) * size.height() > limits::kMaxRenderPixels) {
    result.error = Error{ErrorKind::kOutputTooLarge, -1, 0,
                         QStringLiteral("l'immagine richiesta (%1 × %2 pixel) supera il limite di %3 pixel per lato "
                                        "e %4 milioni di pixel")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(limits::kMaxRenderSide)
                             .arg(limits::kMaxRenderPixels / 1'000'000)};
    return result;
  }
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) {
    result.error = Error{ErrorKind::kOutputTooLarge, -1, 0,
                         QStringLiteral("memoria insufficiente per un'immagine di %1 × %2 pixel")
                             .arg(size.width())
                             .arg(size.height())};
    return result;
  }
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    picture.Play(painter, QRectF(0, 0, size.width(), size.height()));
  }
  result.image = std::move(image);
  return result;
}

RenderResult Render(QByteArrayView bytes, QSize sizePixels) {
  const LoadResult loaded = Load(bytes);
  if (!loaded.Ok()) {
    RenderResult result;
    result.error = loaded.error;
    return result;
  }
  return Render(*loaded.picture, sizePixels);
}

}  // namespace metafile
