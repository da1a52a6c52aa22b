#include "canvas_p.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace metafile::detail {

namespace {

// How a bit-block operation combines source and destination, from the index
// byte of its ternary raster operation. Operations that also use the brush
// pattern draw the source alone: pictures use them for masks over a plain
// background, where that looks the same.
QPainter::CompositionMode SourceMode(std::uint32_t rop) {
  switch ((rop >> 16) & 0xFF) {
    case 0xEE: return QPainter::RasterOp_SourceOrDestination;
    case 0x88: return QPainter::RasterOp_SourceAndDestination;
    case 0x66: return QPainter::RasterOp_SourceXorDestination;
    case 0x44: return QPainter::RasterOp_SourceAndNotDestination;
    case 0x33: return QPainter::RasterOp_NotSource;
    case 0x11: return QPainter::RasterOp_NotSourceAndNotDestination;
    case 0xBB: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

bool UsesSource(std::uint32_t rop) { return (((rop >> 2) ^ rop) & 0x00330000) != 0; }

}  // namespace

void Canvas::Bitmap(const BitmapBlit& blit) {
  if (m_stopped || m_pathOpen) return;
  if (!UsesSource(blit.rop)) {
    PatBlt(blit.dest, blit.rop);
    return;
  }
  QRectF source = blit.source;
  QRectF dest = blit.dest;
  // A mirrored source is the same as a mirrored destination.
  if (source.width() < 0) {
    source = QRectF(source.x() + source.width(), source.y(), -source.width(), source.height());
    dest = QRectF(dest.x() + dest.width(), dest.y(), -dest.width(), dest.height());
  }
  if (source.height() < 0) {
    source = QRectF(source.x(), source.y() + source.height(), source.width(), -source.height());
    dest = QRectF(dest.x(), dest.y() + dest.height(), dest.width(), -dest.height());
  }
  if (!(source.width() > 0) || !(source.height() > 0) || dest.width() == 0 || dest.height() == 0) return;

  QTransform sourceToLogical;
  sourceToLogical.translate(dest.x(), dest.y());
  sourceToLogical.scale(dest.width() / source.width(), dest.height() / source.height());
  sourceToLogical.translate(-source.x(), -source.y());
  const QTransform sourceToOutput = sourceToLogical * LogicalToOutput();
  const QRectF box = sourceToOutput.mapRect(source);
  if (!Usable(box)) return;
  m_drawnBounds = m_drawnBounds.isNull() ? box : m_drawnBounds.united(box);
  if (!Spend(static_cast<std::int64_t>(VisibleArea(box)) + blit.pixels)) return;
  if (m_painter == nullptr) return;

  QImage image = blit.decode ? blit.decode() : QImage();
  if (image.isNull()) {
    m_diagnostics.Warn(WarningKind::kUnsupportedBitmap, QStringLiteral("una bitmap non si è potuta decodificare"));
    return;
  }
  if (blit.recolorMono && image.format() == QImage::Format_Mono) {
    // 0 bits take the text colour, 1 bits the background colour.
    image.setColorTable({Color(m_state.textColor) | 0xFF000000u, Color(m_state.bkColor) | 0xFF000000u});
  }
  if (blit.transparentColor) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = Color(*blit.transparentColor) & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        if ((row[x] & 0xFFFFFF) == key) row[x] = 0;
      }
    }
  }
  QPainter::CompositionMode mode = SourceMode(blit.rop);
  if (mode != QPainter::CompositionMode_SourceOver && !CanRasterOp()) mode = QPainter::CompositionMode_SourceOver;

  ApplyClip();
  QPainter& p = *m_painter;
  p.setWorldTransform(sourceToOutput);
  p.setCompositionMode(mode);
  // Enlarged bitmaps keep their pixels sharp, as on a device context, unless
  // the picture asks for halftone scaling; reduced ones are smoothed, which
  // is what a viewer showing a picture small is expected to do.
  const bool reduced = box.width() < source.width() - 0.5 || box.height() < source.height() - 0.5;
  const bool smooth = (reduced || m_state.stretchMode == 4) && mode == QPainter::CompositionMode_SourceOver;
  p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setOpacity(m_baseOpacity * std::clamp(blit.constantAlpha, 0.0, 1.0));
  p.drawImage(source, image, source);
  p.setOpacity(m_baseOpacity);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace metafile::detail
