#include "canvas_p.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace metafile::detail {

namespace {

// The font's height when a record asks for the default one: 12 points at 96 dpi.
constexpr double kDefaultFontDevice = 16;

QFont BaseFont(const Font& font) {
  QFont out(font.face.isEmpty() ? QStringLiteral("Sans Serif") : font.face);
  out.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? 400 : font.weight, 100, 900)));
  out.setItalic(font.italic);
  out.setUnderline(font.underline);
  out.setStrikeOut(font.strikeOut);
  // Outlines at the exact size, so that a picture looks the same at every scale.
  out.setHintingPreference(QFont::PreferNoHinting);
  out.setStyleStrategy(QFont::PreferOutline);
  return out;
}

}  // namespace

void Canvas::Text(const TextRun& run) {
  if (m_stopped || (run.text.isEmpty() && !(run.options & gdi::kEtoOpaque))) return;
  DrawText(run);
}

void Canvas::DrawText(const TextRun& run) {
  const QTransform toOutput = LogicalToOutput();
  const bool updateCp = (m_state.textAlign & gdi::kTaUpdateCp) != 0;
  const QPointF reference = updateCp ? m_state.currentPosition : run.reference;

  // The opaque rectangle comes first and needs no font.
  if ((run.options & gdi::kEtoOpaque) && run.rect) {
    QPainterPath box;
    box.addRect(run.rect->normalized());
    FillOutput(toOutput.map(box), QBrush(QColor::fromRgb(Color(m_state.bkColor))), QPainter::CompositionMode_SourceOver);
  }
  if (run.text.isEmpty()) return;

  const QPointF unitX = toOutput.map(QPointF(1, 0)) - toOutput.map(QPointF(0, 0));
  const QPointF unitY = toOutput.map(QPointF(0, 1)) - toOutput.map(QPointF(0, 0));
  const double sx = std::hypot(unitX.x(), unitX.y());  // output pixels per logical unit, along x
  const double sy = std::hypot(unitY.x(), unitY.y());
  if (!(sx > 0) || !(sy > 0) || !std::isfinite(sx) || !std::isfinite(sy)) return;

  const Font& font = m_state.font;
  double height = font.height == 0 ? kDefaultFontDevice * std::hypot(m_setup.deviceToOutput.m21(),
                                                                     m_setup.deviceToOutput.m22())
                                   : std::abs(static_cast<double>(font.height)) * sy;
  if (!std::isfinite(height) || height < 0.5) return;
  if (height > limits::kMaxTextPixels) {
    m_diagnostics.Warn(WarningKind::kTextTooLarge,
                       QStringLiteral("un testo alto %1 pixel è stato tralasciato").arg(std::lround(height)));
    return;
  }

  // Escapement turns the baseline counter-clockwise on the output; a world
  // transform that rotates turns it further. Text stays upright when an axis
  // is mirrored, as it does on a device context.
  double angle = font.escapement / 10.0;
  if (std::abs(unitX.y()) > 1e-9 * sx || std::abs(unitY.x()) > 1e-9 * sy) {
    angle += std::atan2(-unitX.y(), std::abs(unitX.x()) > 0 ? unitX.x() : 1e-300) * 180 / std::numbers::pi;
  }
  const QPointF origin = toOutput.map(reference);
  const int characters = static_cast<int>(run.text.size());

  QFont qfont;
  double emPixels = height;
  double ascent = 0.8 * height;
  double descent = 0.2 * height;
  double stretch = sx / sy;
  // Fonts need a QGuiApplication; the load pass has none and estimates instead.
  const bool measure = Drawing();
  if (measure) {
    qfont = BaseFont(font);
    if (font.height > 0) {
      // A positive height is the cell (ascent plus descent), not the em.
      QFont probe = qfont;
      probe.setPixelSize(256);
      const QFontMetricsF metrics(probe);
      const double cell = metrics.ascent() + metrics.descent();
      if (cell > 0) emPixels = height * 256 / cell;
    }
    qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(emPixels))));
    const QFontMetricsF metrics(qfont);
    ascent = metrics.ascent();
    descent = metrics.descent();
    if (font.width != 0 && metrics.averageCharWidth() > 0) {
      stretch = std::abs(static_cast<double>(font.width)) * sx / metrics.averageCharWidth();
    }
  }
  stretch = std::clamp(stretch, 0.01, 100.0);
  const double logicalPerLocal = stretch / sx;  // one local unit is `stretch` output pixels along x

  // Advances: the record's own, or the font's.
  std::vector<double> advances;  // local units
  double width = 0;
  if (!run.dx.empty()) {
    advances.reserve(run.dx.size());
    for (const double dx : run.dx) {
      advances.push_back(dx / logicalPerLocal);
      width += advances.back();
    }
  } else if (measure) {
    width = QFontMetricsF(qfont).horizontalAdvance(run.text);
  } else {
    width = 0.6 * emPixels * characters;
  }
  if (!std::isfinite(width)) return;

  double x = 0;
  switch (m_state.textAlign & gdi::kTaHorizontalMask) {
    case gdi::kTaCenter: x = -width / 2; break;
    case gdi::kTaRight: x = -width; break;
    default: break;
  }
  double y = ascent;  // top alignment: the reference point is the cell's top
  switch (m_state.textAlign & gdi::kTaVerticalMask) {
    case gdi::kTaBaseline: y = 0; break;
    case gdi::kTaBottom: y = -descent; break;
    default: break;
  }

  QTransform local;
  local.translate(origin.x(), origin.y());
  local.rotate(-angle);
  local.scale(stretch, 1);

  const QRectF cell(x, y - ascent, std::abs(width), ascent + descent);
  const QRectF box = local.mapRect(cell);
  if (updateCp) {
    m_state.currentPosition.rx() += width * logicalPerLocal * (unitX.x() < 0 ? -1 : 1);
  }
  if (!Usable(box)) return;

  if (m_pathOpen) {
    QPainterPath outline;
    if (!measure) {
      outline.addRect(cell);
      m_path.addPath(local.map(outline));
      m_pathNeedsMove = true;
      return;
    }
    double pen = x;
    for (int i = 0; i < characters; ++i) {
      const QString piece = advances.empty() ? run.text : run.text.mid(i, 1);
      outline.addText(QPointF(pen, y), qfont, piece);
      if (advances.empty()) break;
      pen += i < static_cast<int>(advances.size()) ? advances[i] : 0;
    }
    m_path.addPath(local.map(outline));
    m_pathNeedsMove = true;
    return;
  }

  m_drawnBounds = m_drawnBounds.isNull() ? box : m_drawnBounds.united(box);
  // Finding and measuring a font costs far more than a small fill.
  constexpr std::int64_t kFontCost = 256;
  if (!Spend(static_cast<std::int64_t>(VisibleArea(box)) + characters + kFontCost)) return;
  if (m_painter == nullptr) return;

  ApplyClip();
  QPainter& p = *m_painter;
  p.save();
  if ((run.options & gdi::kEtoClipped) && run.rect) {
    p.setWorldTransform(toOutput);
    p.setClipRect(run.rect->normalized(), Qt::IntersectClip);
  }
  p.setWorldTransform(local);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (m_state.bkMode == gdi::kOpaque && !(run.options & gdi::kEtoOpaque)) {
    p.fillRect(cell, QColor::fromRgb(Color(m_state.bkColor)));
  }
  p.setBackgroundMode(Qt::TransparentMode);
  p.setFont(qfont);
  p.setPen(QColor::fromRgb(Color(m_state.textColor)));
  if (advances.empty()) {
    p.drawText(QPointF(x, y), run.text);
  } else {
    double pen = x;
    for (int i = 0; i < characters; ++i) {
      // A surrogate pair is one character with the advance of both halves.
      const bool pair = run.text.at(i).isHighSurrogate() && i + 1 < characters;
      p.drawText(QPointF(pen, y), run.text.mid(i, pair ? 2 : 1));
      pen += i < static_cast<int>(advances.size()) ? advances[i] : 0;
      if (pair) {
        ++i;
        pen += i < static_cast<int>(advances.size()) ? advances[i] : 0;
      }
    }
  }
  p.restore();
}

}  // namespace metafile::detail
