#include "canvas_p.h"

#include <QBrush>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace metafile::detail {

namespace {

// Beyond this many output pixels from the origin a drawing cannot be part of
// any picture this player makes; such coordinates come from broken files.
constexpr double kMaxCoordinate = 1 << 24;

bool Finite(double v) { return std::isfinite(v); }

bool FinitePoint(QPointF p) { return Finite(p.x()) && Finite(p.y()); }

bool AxisAligned(const QTransform& t) { return t.type() <= QTransform::TxScale; }

double Determinant(const QTransform& t) { return t.m11() * t.m22() - t.m12() * t.m21(); }

// Unions many rectangles in pairs, so that building a region of n
// rectangles costs about n log n instead of n squared.
QRegion UniteAll(std::vector<QRegion>& parts) {
  if (parts.empty()) return {};
  while (parts.size() > 1) {
    std::vector<QRegion> next;
    next.reserve(parts.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) next.push_back(parts[i].united(parts[i + 1]));
    if (parts.size() % 2 == 1) next.push_back(parts.back());
    parts.swap(next);
  }
  return parts.front();
}

int ClampToInt(double v) {
  return static_cast<int>(std::lround(std::clamp(v, -kMaxCoordinate, kMaxCoordinate)));
}

double PolylineLength(const QPainterPath& path) {
  double length = 0;
  for (int i = 1; i < path.elementCount(); ++i) {
    const QPainterPath::Element a = path.elementAt(i - 1);
    const QPainterPath::Element b = path.elementAt(i);
    length += std::hypot(b.x - a.x, b.y - a.y);
  }
  return length;
}

// The 8 × 8 hatch patterns, one bit per pixel, top row first.
constexpr std::uint8_t kHatchRows[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal, "\"
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal, "/"
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xFF},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

QImage HatchImage(int hatch, QRgb line, std::optional<QRgb> background) {
  QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
  image.fill(background ? QColor::fromRgb(*background) : QColor(Qt::transparent));
  const auto& rows = kHatchRows[std::clamp(hatch, 0, 5)];
  for (int y = 0; y < 8; ++y) {
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < 8; ++x) {
      if ((rows[y] >> (7 - x)) & 1) dst[x] = line | 0xFF000000u;
    }
  }
  return image;
}

}  // namespace

Canvas::Canvas(const CanvasSetup& setup, Diagnostics& diagnostics)
    : m_setup(setup), m_painter(setup.painter), m_diagnostics(diagnostics) {
  if (m_painter == nullptr) return;
  m_painter->save();
  m_baseOpacity = m_painter->opacity();
  // Output coordinates are the device's own pixels.
  m_painter->setViewTransformEnabled(false);
  m_painter->setWorldTransform(QTransform());
  m_painter->setClipRect(m_setup.outputBounds, Qt::IntersectClip);
  m_painter->save();
}

Canvas::~Canvas() {
  if (m_painter == nullptr) return;
  m_painter->restore();
  m_painter->restore();
}

QRgb Canvas::Color(ColorRef color) const {
  if ((color >> 24) == 0x01) {
    const std::size_t index = color & 0xFFFF;
    if (m_state.palette && index < m_state.palette->entries.size()) return m_state.palette->entries[index];
    return qRgb(0, 0, 0);
  }
  return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
              static_cast<int>((color >> 16) & 0xFF));
}

// ---------------------------------------------------------------- mapping

namespace {
// Device units per logical unit of a fixed mapping mode, in millimetres; y grows upwards.
double FixedModeMm(int mode) {
  switch (mode) {
    case gdi::kMmLoMetric: return 0.1;
    case gdi::kMmHiMetric: return 0.01;
    case gdi::kMmLoEnglish: return 0.254;
    case gdi::kMmHiEnglish: return 0.0254;
    case gdi::kMmTwips: return 25.4 / 1440;
    default: return 0;
  }
}
}  // namespace

QTransform Canvas::LogicalToDevice() const {
  const DcState& s = m_state;
  double sx = 1;
  double sy = 1;
  if (s.mapMode == gdi::kMmIsotropic || s.mapMode == gdi::kMmAnisotropic) {
    sx = s.viewportExt.x() / s.windowExt.x();
    sy = s.viewportExt.y() / s.windowExt.y();
    if (s.mapMode == gdi::kMmIsotropic) {
      const double m = std::min(std::abs(sx), std::abs(sy));
      sx = std::copysign(m, sx);
      sy = std::copysign(m, sy);
    }
  } else if (const double mm = FixedModeMm(s.mapMode); mm > 0) {
    sx = mm * m_setup.devicePerMmX;
    sy = -mm * m_setup.devicePerMmY;
  }
  const QTransform page(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                        s.viewportOrg.y() - s.windowOrg.y() * sy);
  return s.world * page;
}

QTransform Canvas::LogicalToOutput() const { return LogicalToDevice() * m_setup.deviceToOutput; }

void Canvas::SetMapMode(int mode) {
  if (mode < gdi::kMmText || mode > gdi::kMmAnisotropic || mode == m_state.mapMode) return;
  const bool scalable = mode == gdi::kMmIsotropic || mode == gdi::kMmAnisotropic;
  if (scalable) {
    // Keep the scale the fixed mode had, as a device context does.
    if (const double mm = FixedModeMm(m_state.mapMode); mm > 0) {
      m_state.windowExt = QPointF(1, 1);
      m_state.viewportExt = QPointF(mm * m_setup.devicePerMmX, -mm * m_setup.devicePerMmY);
    }
  }
  m_state.mapMode = mode;
}

void Canvas::SetWindowOrg(QPointF origin) {
  if (FinitePoint(origin)) m_state.windowOrg = origin;
}

void Canvas::SetWindowExt(QPointF extent) {
  if (FinitePoint(extent) && extent.x() != 0 && extent.y() != 0) m_state.windowExt = extent;
}

void Canvas::SetViewportOrg(QPointF origin) {
  if (FinitePoint(origin)) m_state.viewportOrg = origin;
}

void Canvas::SetViewportExt(QPointF extent) {
  if (FinitePoint(extent) && extent.x() != 0 && extent.y() != 0) m_state.viewportExt = extent;
}

void Canvas::ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom) {
  if (xDenom == 0 || yDenom == 0) return;
  SetWindowExt(QPointF(m_state.windowExt.x() * xNum / xDenom, m_state.windowExt.y() * yNum / yDenom));
}

void Canvas::ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom) {
  if (xDenom == 0 || yDenom == 0) return;
  SetViewportExt(QPointF(m_state.viewportExt.x() * xNum / xDenom, m_state.viewportExt.y() * yNum / yDenom));
}

void Canvas::SetWorldTransform(const QTransform& transform) {
  const double values[] = {transform.m11(), transform.m12(), transform.m21(),
                           transform.m22(), transform.dx(),  transform.dy()};
  if (!std::all_of(std::begin(values), std::end(values), Finite)) return;
  m_state.world = transform;
}

void Canvas::ModifyWorldTransform(const QTransform& transform, int mode) {
  switch (mode) {
    case 1: m_state.world = QTransform(); break;
    case 2: SetWorldTransform(transform * m_state.world); break;
    case 3: SetWorldTransform(m_state.world * transform); break;
    case 4: SetWorldTransform(transform); break;
    default: break;
  }
}

// ---------------------------------------------------------------- save / restore

void Canvas::SaveDc() {
  if (static_cast<int>(m_saved.size()) >= limits::kMaxSaveDepth) {
    if (m_savedBeyondCap == 0) {
      m_diagnostics.Warn(WarningKind::kSaveDepthClipped,
                         QStringLiteral("salvataggi dello stato annidati oltre %1 livelli: quelli in più sono ignorati")
                             .arg(limits::kMaxSaveDepth));
    }
    ++m_savedBeyondCap;
    return;
  }
  m_saved.push_back(m_state);
}

void Canvas::RestoreDc(int which) {
  std::size_t keep = 0;
  if (which < 0) {
    std::int64_t levels = -static_cast<std::int64_t>(which);
    // The levels that were never stored go first; the state stays as it is.
    const std::int64_t virtualLevels = std::min<std::int64_t>(levels, m_savedBeyondCap);
    m_savedBeyondCap -= static_cast<int>(virtualLevels);
    levels -= virtualLevels;
    if (levels == 0) return;
    if (levels > static_cast<std::int64_t>(m_saved.size())) return;
    keep = m_saved.size() - static_cast<std::size_t>(levels);
  } else if (which > 0) {
    if (static_cast<std::size_t>(which) > m_saved.size()) return;
    keep = static_cast<std::size_t>(which) - 1;
    m_savedBeyondCap = 0;
  } else {
    return;
  }
  m_state = m_saved[keep];
  m_saved.resize(keep);
  m_clipDirty = true;
}

// ---------------------------------------------------------------- clipping

QRegion Canvas::WholeOutput() const { return QRegion(m_setup.outputBounds.toAlignedRect()); }

QRegion Canvas::OutputRegion(const std::vector<QRectF>& rects, const QTransform& toOutput) const {
  std::vector<QRegion> parts;
  parts.reserve(rects.size());
  for (const QRectF& rect : rects) {
    if (AxisAligned(toOutput)) {
      const QRectF mapped = toOutput.mapRect(rect.normalized());
      const int left = ClampToInt(mapped.left());
      const int top = ClampToInt(mapped.top());
      const int right = ClampToInt(mapped.right());
      const int bottom = ClampToInt(mapped.bottom());
      if (right > left && bottom > top) parts.emplace_back(left, top, right - left, bottom - top);
      continue;
    }
    QPolygon polygon;
    for (const QPointF& corner : toOutput.map(QPolygonF(rect.normalized()))) {
      polygon << QPoint(ClampToInt(corner.x()), ClampToInt(corner.y()));
    }
    parts.emplace_back(polygon);
  }
  return UniteAll(parts);
}

void Canvas::CombineClip(const QRegion& region, int mode) {
  const QRegion base = m_state.clip ? *m_state.clip : WholeOutput();
  QRegion result;
  switch (mode) {
    case gdi::kRgnAnd: result = base.intersected(region); break;
    case gdi::kRgnOr: result = base.united(region); break;
    case gdi::kRgnXor: result = base.xored(region); break;
    case gdi::kRgnDiff: result = base.subtracted(region); break;
    case gdi::kRgnCopy: result = region; break;
    default: return;
  }
  Spend(base.rectCount() + region.rectCount() + result.rectCount());
  m_state.clip = result;
  m_clipDirty = true;
}

void Canvas::ApplyClip() {
  if (m_painter == nullptr || !m_clipDirty) return;
  m_painter->restore();
  m_painter->save();
  if (m_state.clip) {
    m_painter->setWorldTransform(QTransform());
    m_painter->setClipRegion(*m_state.clip, Qt::IntersectClip);
  }
  m_clipDirty = false;
}

void Canvas::IntersectClipRect(const QRectF& box) {
  if (!Drawing()) return;
  CombineClip(OutputRegion({box}, LogicalToOutput()), gdi::kRgnAnd);
}

void Canvas::ExcludeClipRect(const QRectF& box) {
  if (!Drawing()) return;
  CombineClip(OutputRegion({box}, LogicalToOutput()), gdi::kRgnDiff);
}

void Canvas::OffsetClip(QPointF logicalOffset) {
  if (!Drawing() || !m_state.clip) return;
  const QTransform t = LogicalToOutput();
  const QPointF offset = t.map(logicalOffset) - t.map(QPointF(0, 0));
  if (!FinitePoint(offset)) return;
  m_state.clip->translate(ClampToInt(offset.x()), ClampToInt(offset.y()));
  m_clipDirty = true;
}

void Canvas::SelectClipRegion(const Region* region, bool deviceUnits, int mode) {
  if (!Drawing()) return;
  if (region == nullptr) {
    if (mode == gdi::kRgnCopy) {
      m_state.clip.reset();
      m_clipDirty = true;
    }
    return;
  }
  const QTransform toOutput = deviceUnits ? m_setup.deviceToOutput : LogicalToOutput();
  CombineClip(OutputRegion(region->rects, toOutput), mode);
}

void Canvas::SelectClipPath(int mode) {
  const QPainterPath path = m_path;
  m_path = QPainterPath();
  m_pathOpen = false;
  if (!Drawing()) return;
  QPainterPath closed = path;
  closed.setFillRule(m_state.polyFillMode == gdi::kWinding ? Qt::WindingFill : Qt::OddEvenFill);
  const QRectF box = closed.controlPointRect();
  if (!Usable(box)) return;
  const QRegion region(closed.toFillPolygon().toPolygon(), closed.fillRule());
  CombineClip(region, mode);
}

// ---------------------------------------------------------------- painting core

double Canvas::OutputScale() const { return std::sqrt(std::abs(Determinant(LogicalToOutput()))); }

QPainterPath Canvas::ToOutput(const QPainterPath& logical) const { return LogicalToOutput().map(logical); }

bool Canvas::Usable(const QRectF& box) {
  const bool usable = Finite(box.left()) && Finite(box.top()) && Finite(box.right()) && Finite(box.bottom()) &&
                      std::abs(box.left()) <= kMaxCoordinate && std::abs(box.right()) <= kMaxCoordinate &&
                      std::abs(box.top()) <= kMaxCoordinate && std::abs(box.bottom()) <= kMaxCoordinate;
  if (!usable) {
    m_diagnostics.Warn(WarningKind::kOutOfRange,
                       QStringLiteral("un disegno cade fuori da ogni coordinata utile ed è stato tralasciato"));
  }
  return usable;
}

double Canvas::VisibleArea(const QRectF& box) const {
  const QRectF visible = box.normalized().intersected(m_setup.outputBounds);
  return visible.isValid() ? visible.width() * visible.height() : 0;
}

bool Canvas::Spend(std::int64_t units) {
  if (m_stopped) return false;
  if (m_setup.workBudget <= 0) return true;
  m_work += 16 + std::max<std::int64_t>(units, 0);
  if (m_work <= m_setup.workBudget) return true;
  m_stopped = true;
  m_diagnostics.Warn(WarningKind::kWorkBudgetReached,
                     QStringLiteral("il disegno è troppo oneroso e si ferma a questo record"));
  return false;
}

bool Canvas::CanRasterOp() const {
  return m_painter != nullptr && m_painter->paintEngine() != nullptr &&
         m_painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
}

bool Canvas::Rop2(QPainter::CompositionMode& mode, std::optional<QColor>& forced) const {
  mode = QPainter::CompositionMode_SourceOver;
  switch (m_state.rop2) {
    case 1: forced = QColor(Qt::black); return true;
    case 16: forced = QColor(Qt::white); return true;
    case gdi::kR2Nop: return false;
    case gdi::kR2CopyPen: return true;
    default: break;
  }
  if (!CanRasterOp()) return true;
  switch (m_state.rop2) {
    case 2: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case 3: mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case 4: mode = QPainter::RasterOp_NotSource; break;
    case 5: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case 6: mode = QPainter::RasterOp_NotDestination; break;
    case 7: mode = QPainter::RasterOp_SourceXorDestination; break;
    case 8: mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case 9: mode = QPainter::RasterOp_SourceAndDestination; break;
    case 10: mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case 12: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case 14: mode = QPainter::RasterOp_SourceOrNotDestination; break;
    case 15: mode = QPainter::RasterOp_SourceOrDestination; break;
    default: break;
  }
  return true;
}

QPen Canvas::MakePen() const {
  const Pen& pen = m_state.pen;
  const std::uint32_t style = pen.style & gdi::kPsStyleMask;
  if (style == gdi::kPsNull) return QPen(Qt::NoPen);
  // QPen takes widths below 2^15 pixels only; wider is wider than any output anyway.
  const double width = std::min(pen.width * OutputScale(), 32'000.0);
  const bool hairline = pen.width <= 0 || !(width >= 1);
  QPen out(QColor::fromRgb(Color(pen.color)));
  out.setWidthF(hairline ? 1.0 : width);
  if (hairline) {
    out.setCapStyle(Qt::FlatCap);
    out.setJoinStyle(Qt::MiterJoin);
  } else {
    const std::uint32_t cap = pen.style & gdi::kPsEndCapMask;
    out.setCapStyle(cap == gdi::kPsEndCapFlat ? Qt::FlatCap : cap == gdi::kPsEndCapSquare ? Qt::SquareCap : Qt::RoundCap);
    const std::uint32_t join = pen.style & gdi::kPsJoinMask;
    out.setJoinStyle(join == gdi::kPsJoinBevel ? Qt::BevelJoin : join == gdi::kPsJoinMiter ? Qt::MiterJoin : Qt::RoundJoin);
    out.setMiterLimit(m_state.miterLimit);
  }
  // Wide pens made by the plain pen records are solid whatever their style.
  const bool dashed = hairline || pen.extended;
  if (!dashed) return out;
  if (hairline) {
    // Styled one-pixel lines keep their pattern in output pixels.
    switch (style) {
      case gdi::kPsDash: out.setDashPattern({18, 6}); break;
      case gdi::kPsDot: out.setDashPattern({3, 3}); break;
      case gdi::kPsDashDot: out.setDashPattern({9, 6, 3, 6}); break;
      case gdi::kPsDashDotDot: out.setDashPattern({9, 3, 3, 3, 3, 3}); break;
      case gdi::kPsAlternate: out.setDashPattern({1, 1}); break;
      default: break;
    }
    if (style != gdi::kPsUserStyle) return out;
  }
  switch (style) {
    case gdi::kPsDash: out.setStyle(Qt::DashLine); break;
    case gdi::kPsDot: out.setStyle(Qt::DotLine); break;
    case gdi::kPsDashDot: out.setStyle(Qt::DashDotLine); break;
    case gdi::kPsDashDotDot: out.setStyle(Qt::DashDotDotLine); break;
    case gdi::kPsUserStyle: {
      if (pen.dashes.empty()) break;
      const double unit = hairline ? 1.0 / OutputScale() : std::max(pen.width, 1e-9);
      QList<qreal> pattern;
      for (const double dash : pen.dashes) pattern << std::clamp(dash / unit, 0.1, 1e4);
      if (pattern.size() % 2 == 1) pattern << pattern;
      out.setDashPattern(pattern);
      break;
    }
    default: break;
  }
  return out;
}

QBrush Canvas::MakeBrush(const Brush& brush) const {
  QBrush out;
  switch (brush.kind) {
    case BrushKind::kNull: return QBrush(Qt::NoBrush);
    case BrushKind::kSolid: return QBrush(QColor::fromRgb(Color(brush.color)));
    case BrushKind::kHatched: {
      std::optional<QRgb> background;
      if (m_state.bkMode == gdi::kOpaque) background = Color(m_state.bkColor);
      out = QBrush(HatchImage(brush.hatch, Color(brush.color), background));
      break;
    }
    case BrushKind::kPattern:
      if (brush.pattern.isNull()) return QBrush(Qt::NoBrush);
      out = QBrush(brush.pattern);
      break;
    case BrushKind::kMonoPattern: {
      if (brush.pattern.isNull()) return QBrush(Qt::NoBrush);
      QImage colored = brush.pattern;
      colored.setColorTable({Color(m_state.textColor) | 0xFF000000u, Color(m_state.bkColor) | 0xFF000000u});
      out = QBrush(colored.convertToFormat(QImage::Format_ARGB32_Premultiplied));
      break;
    }
  }
  // Patterns are laid on output pixels from the brush origin, never scaled.
  const QPointF origin = m_setup.deviceToOutput.map(m_state.brushOrigin);
  if (FinitePoint(origin)) out.setTransform(QTransform::fromTranslate(std::round(origin.x()), std::round(origin.y())));
  return out;
}

void Canvas::PaintOutputPath(const QPainterPath& output, Paint paint) {
  if (m_stopped) return;
  const bool fill = paint != Paint::kStroke && m_state.brush.kind != BrushKind::kNull;
  const QPen pen = paint != Paint::kFill ? MakePen() : QPen(Qt::NoPen);
  const bool stroke = pen.style() != Qt::NoPen;
  if (!fill && !stroke) return;
  const double halfWidth = stroke ? pen.widthF() / 2 + 1 : 0;
  const QRectF box = output.controlPointRect().adjusted(-halfWidth, -halfWidth, halfWidth, halfWidth);
  if (!Usable(box)) return;
  m_drawnBounds = m_drawnBounds.isNull() ? box : m_drawnBounds.united(box);
  const double area = VisibleArea(box);
  const double strokeCost = stroke ? std::min(PolylineLength(output) * std::max(1.0, pen.widthF()), area) : 0;
  if (!Spend(static_cast<std::int64_t>((fill ? area : 0) + strokeCost) + output.elementCount())) return;
  if (m_painter == nullptr) return;

  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  std::optional<QColor> forced;
  if (!Rop2(mode, forced)) return;
  ApplyClip();
  QPainter& p = *m_painter;
  p.setWorldTransform(QTransform());
  p.setCompositionMode(mode);
  p.setRenderHint(QPainter::Antialiasing, mode == QPainter::CompositionMode_SourceOver);
  p.setBackgroundMode(m_state.bkMode == gdi::kOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
  p.setBackground(QColor::fromRgb(Color(m_state.bkColor)));
  QPen usedPen = pen;
  QBrush usedBrush = fill ? MakeBrush(m_state.brush) : QBrush(Qt::NoBrush);
  if (forced) {
    if (stroke) usedPen.setColor(*forced);
    if (fill) usedBrush = QBrush(*forced);
  }
  // One-pixel lines are drawn without antialiasing: smoothed, a line on
  // whole pixels would smear over two rows at half strength.
  const bool hairline = stroke && pen.widthF() <= 1.0;
  if (hairline && fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(usedBrush);
    p.drawPath(output);
    usedBrush = QBrush(Qt::NoBrush);
  }
  if (hairline) p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(usedPen);
  p.setBrush(usedBrush);
  p.drawPath(output);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::FillOutput(const QPainterPath& output, const QBrush& brush, QPainter::CompositionMode mode) {
  if (m_stopped || brush.style() == Qt::NoBrush) return;
  const QRectF box = output.controlPointRect();
  if (!Usable(box)) return;
  m_drawnBounds = m_drawnBounds.isNull() ? box : m_drawnBounds.united(box);
  if (!Spend(static_cast<std::int64_t>(VisibleArea(box)) + output.elementCount())) return;
  if (m_painter == nullptr) return;
  if (mode != QPainter::CompositionMode_SourceOver && !CanRasterOp()) mode = QPainter::CompositionMode_SourceOver;
  ApplyClip();
  QPainter& p = *m_painter;
  p.setWorldTransform(QTransform());
  p.setCompositionMode(mode);
  p.setRenderHint(QPainter::Antialiasing, mode == QPainter::CompositionMode_SourceOver);
  p.setPen(Qt::NoPen);
  p.setBrush(brush);
  p.drawPath(output);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::Figure(const QPainterPath& logical, bool closed) {
  if (m_pathOpen) {
    m_path.addPath(ToOutput(logical));
    m_pathNeedsMove = true;
    return;
  }
  PaintOutputPath(ToOutput(logical), closed ? Paint::kBoth : Paint::kStroke);
}

void Canvas::ContinueFigure(const QPainterPath& logical) {
  if (m_pathOpen) {
    const QPainterPath output = ToOutput(logical);
    if (m_pathNeedsMove || m_path.isEmpty()) {
      m_path.addPath(output);
    } else {
      m_path.connectPath(output);
    }
    m_pathNeedsMove = false;
    return;
  }
  PaintOutputPath(ToOutput(logical), Paint::kStroke);
}

// ---------------------------------------------------------------- figures

void Canvas::MoveTo(QPointF point) {
  m_state.currentPosition = point;
  m_pathNeedsMove = true;
}

void Canvas::LineTo(QPointF point) {
  QPainterPath piece(m_state.currentPosition);
  piece.lineTo(point);
  ContinueFigure(piece);
  m_state.currentPosition = point;
}

void Canvas::Polyline(const std::vector<QPointF>& points) {
  if (points.size() < 2) return;
  QPainterPath path(points.front());
  for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
  Figure(path, false);
}

void Canvas::PolylineTo(const std::vector<QPointF>& points) {
  if (points.empty()) return;
  QPainterPath piece(m_state.currentPosition);
  for (const QPointF& point : points) piece.lineTo(point);
  ContinueFigure(piece);
  m_state.currentPosition = points.back();
}

void Canvas::Polygon(const std::vector<QPointF>& points) { PolyPolygon({points}); }

void Canvas::PolyPolygon(const std::vector<std::vector<QPointF>>& polygons) {
  QPainterPath path;
  path.setFillRule(m_state.polyFillMode == gdi::kWinding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const auto& polygon : polygons) {
    if (polygon.size() < 2) continue;
    path.moveTo(polygon.front());
    for (std::size_t i = 1; i < polygon.size(); ++i) path.lineTo(polygon[i]);
    path.closeSubpath();
  }
  if (path.isEmpty()) return;
  Figure(path, true);
}

void Canvas::PolyPolyline(const std::vector<std::vector<QPointF>>& lines) {
  QPainterPath path;
  for (const auto& line : lines) {
    if (line.size() < 2) continue;
    path.moveTo(line.front());
    for (std::size_t i = 1; i < line.size(); ++i) path.lineTo(line[i]);
  }
  if (path.isEmpty()) return;
  Figure(path, false);
}

void Canvas::PolyBezier(const std::vector<QPointF>& points) {
  if (points.size() < 4) return;
  QPainterPath path(points.front());
  for (std::size_t i = 1; i + 2 < points.size(); i += 3) path.cubicTo(points[i], points[i + 1], points[i + 2]);
  Figure(path, false);
}

void Canvas::PolyBezierTo(const std::vector<QPointF>& points) {
  if (points.size() < 3) return;
  QPainterPath piece(m_state.currentPosition);
  std::size_t i = 0;
  for (; i + 2 < points.size(); i += 3) piece.cubicTo(points[i], points[i + 1], points[i + 2]);
  ContinueFigure(piece);
  m_state.currentPosition = points[i - 1];
}

void Canvas::PolyDraw(const std::vector<QPointF>& points, const std::vector<std::uint8_t>& types) {
  constexpr std::uint8_t kClose = 0x01;
  constexpr std::uint8_t kLineTo = 0x02;
  constexpr std::uint8_t kBezierTo = 0x04;
  constexpr std::uint8_t kMoveTo = 0x06;
  QPainterPath piece(m_state.currentPosition);
  QPointF figureStart = m_state.currentPosition;
  for (std::size_t i = 0; i < points.size() && i < types.size(); ++i) {
    const std::uint8_t kind = types[i] & 0x06;
    if (kind == kMoveTo) {
      piece.moveTo(points[i]);
      figureStart = points[i];
    } else if (kind == kLineTo) {
      piece.lineTo(points[i]);
    } else if (kind == kBezierTo && i + 2 < points.size()) {
      piece.cubicTo(points[i], points[i + 1], points[i + 2]);
      i += 2;
    } else {
      continue;
    }
    if ((types[i] & kClose) != 0 && kind != kMoveTo) {
      piece.lineTo(figureStart);
      piece.closeSubpath();
    }
    m_state.currentPosition = points[i];
  }
  ContinueFigure(piece);
}

QRectF Canvas::InsideFrame(const QRectF& box) const {
  const QRectF normalized = box.normalized();
  if ((m_state.pen.style & gdi::kPsStyleMask) != gdi::kPsInsideFrame || m_state.pen.width <= 1) return normalized;
  const QTransform t = LogicalToOutput();
  const double inset = m_state.pen.width / 2;
  const double sx = std::hypot(t.m11(), t.m12());
  const double sy = std::hypot(t.m21(), t.m22());
  if (sx <= 0 || sy <= 0) return normalized;
  // The pen is as wide in both directions on the output, so the inset in
  // logical units follows each axis's own scale.
  const double width = inset * OutputScale();
  return normalized.adjusted(width / sx, width / sy, -width / sx, -width / sy);
}

void Canvas::Rectangle(const QRectF& box) {
  QPainterPath path;
  path.addRect(InsideFrame(box));
  Figure(path, true);
}

void Canvas::RoundRect(const QRectF& box, QSizeF corner) {
  QPainterPath path;
  path.addRoundedRect(InsideFrame(box), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
  Figure(path, true);
}

void Canvas::Ellipse(const QRectF& box) {
  QPainterPath path;
  path.addEllipse(InsideFrame(box));
  Figure(path, true);
}

QPainterPath Canvas::ArcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind) const {
  const QRectF r = kind == ArcKind::kChord || kind == ArcKind::kPie ? InsideFrame(box) : box.normalized();
  const double rx = r.width() / 2;
  const double ry = r.height() / 2;
  if (!(rx > 0) || !(ry > 0)) return {};
  const QPointF c = r.center();
  // The angle of the point where the ray from the centre through `p` meets
  // the ellipse, in the ellipse's own parameter (what QPainterPath::arcTo takes).
  auto angle = [&](QPointF p) {
    const double dx = (p.x() - c.x()) / rx;
    const double dy = (p.y() - c.y()) / ry;
    if (dx == 0 && dy == 0) return 0.0;
    return std::atan2(-dy, dx) * 180 / std::numbers::pi;
  };
  const double a0 = angle(start);
  const double a1 = angle(end);
  // Arcs turn counter-clockwise as seen on the output unless the direction
  // says otherwise; a mapping that mirrors one axis turns them in logical space.
  const bool mirrored = Determinant(LogicalToOutput()) < 0;
  const bool positive = (m_state.arcDirection != gdi::kAdClockwise) != mirrored;
  double sweep = std::fmod(a1 - a0, 360.0);
  if (positive) {
    if (sweep <= 0) sweep += 360;
  } else if (sweep >= 0) {
    sweep -= 360;
  }
  QPainterPath path;
  if (kind == ArcKind::kPie) {
    path.moveTo(c);
    path.arcTo(r, a0, sweep);
    path.closeSubpath();
    return path;
  }
  path.arcMoveTo(r, a0);
  path.arcTo(r, a0, sweep);
  if (kind == ArcKind::kChord) path.closeSubpath();
  return path;
}

void Canvas::Arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
  const QPainterPath arc = ArcPath(box, start, end, kind);
  if (arc.isEmpty()) return;
  if (kind == ArcKind::kArcTo) {
    // A line from the current position to the arc's start, then the arc.
    QPainterPath piece(m_state.currentPosition);
    piece.lineTo(arc.elementAt(0).x, arc.elementAt(0).y);
    piece.connectPath(arc);
    ContinueFigure(piece);
    m_state.currentPosition = arc.currentPosition();
    return;
  }
  Figure(arc, kind != ArcKind::kArc);
}

void Canvas::AngleArc(QPointF center, double radius, double startDegrees, double sweepDegrees) {
  if (!Finite(radius) || !Finite(startDegrees) || !Finite(sweepDegrees)) return;
  const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
  const double sweep = std::clamp(sweepDegrees, -3600.0, 3600.0);
  QPainterPath arc;
  arc.arcMoveTo(box, startDegrees);
  arc.arcTo(box, startDegrees, sweep);
  QPainterPath piece(m_state.currentPosition);
  piece.lineTo(arc.elementAt(0).x, arc.elementAt(0).y);
  piece.connectPath(arc);
  ContinueFigure(piece);
  m_state.currentPosition = arc.currentPosition();
}

void Canvas::SetPixel(QPointF point, ColorRef color) {
  const QPointF p = LogicalToOutput().map(point);
  QPainterPath path;
  path.addRect(QRectF(std::floor(p.x()), std::floor(p.y()), 1, 1));
  FillOutput(path, QBrush(QColor::fromRgb(Color(color))), QPainter::CompositionMode_SourceOver);
}

// ---------------------------------------------------------------- regions and block fills

namespace {
QPainterPath RectPath(const QRectF& rect) {
  QPainterPath path;
  path.addRect(rect);
  return path;
}

QPainterPath RegionPath(const Region& region) {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);
  for (const QRectF& rect : region.rects) path.addRect(rect);
  return path;
}
}  // namespace

// Without a painter only the region's bounds matter; a file may fill one
// large region a million times, and the load pass must stay cheap.
QPainterPath Canvas::RegionOutput(const Region& region) const {
  return ToOutput(Drawing() ? RegionPath(region) : RectPath(region.bounds));
}

void Canvas::FillRegion(const Region& region, const Brush& brush) {
  FillOutput(RegionOutput(region), MakeBrush(brush), QPainter::CompositionMode_SourceOver);
}

void Canvas::PaintRegion(const Region& region) { FillRegion(region, m_state.brush); }

void Canvas::InvertRegion(const Region& region) {
  FillOutput(RegionOutput(region), QBrush(Qt::white), QPainter::RasterOp_NotDestination);
}

void Canvas::FrameRegion(const Region& region, const Brush& brush, QSizeF frame) {
  if (!Drawing()) {
    FillOutput(RegionOutput(region), MakeBrush(brush), QPainter::CompositionMode_SourceOver);
    return;
  }
  const QTransform t = LogicalToOutput();
  const QRegion whole = OutputRegion(region.rects, t);
  const int fw = std::max(1, ClampToInt(std::abs(frame.width()) * std::hypot(t.m11(), t.m12())));
  const int fh = std::max(1, ClampToInt(std::abs(frame.height()) * std::hypot(t.m21(), t.m22())));
  if (!Spend(whole.rectCount() * 6)) return;
  const QRegion inner = whole.intersected(whole.translated(fw, 0))
                            .intersected(whole.translated(-fw, 0))
                            .intersected(whole.translated(0, fh))
                            .intersected(whole.translated(0, -fh));
  QPainterPath ring;
  ring.addRegion(whole.subtracted(inner));
  FillOutput(ring, MakeBrush(brush), QPainter::CompositionMode_SourceOver);
}

void Canvas::PatBlt(const QRectF& box, std::uint32_t rop) {
  QPainterPath logical;
  logical.addRect(box.normalized());
  const QPainterPath output = ToOutput(logical);
  switch ((rop >> 16) & 0xFF) {
    case 0xAA: return;  // leaves the destination as it is
    case 0x00: FillOutput(output, QBrush(Qt::black), QPainter::CompositionMode_SourceOver); return;
    case 0xFF: FillOutput(output, QBrush(Qt::white), QPainter::CompositionMode_SourceOver); return;
    case 0x55: FillOutput(output, QBrush(Qt::white), QPainter::RasterOp_NotDestination); return;
    case 0x5A:
      FillOutput(output, MakeBrush(m_state.brush), QPainter::RasterOp_SourceXorDestination);
      return;
    default: FillOutput(output, MakeBrush(m_state.brush), QPainter::CompositionMode_SourceOver); return;
  }
}

void Canvas::GradientRect(const QRectF& box, QRgb from, QRgb to, bool vertical) {
  const QRectF r = box.normalized();
  QPainterPath logical;
  logical.addRect(r);
  const QTransform t = LogicalToOutput();
  QLinearGradient gradient(t.map(r.topLeft()), t.map(vertical ? r.bottomLeft() : r.topRight()));
  gradient.setColorAt(0, QColor::fromRgb(from));
  gradient.setColorAt(1, QColor::fromRgb(to));
  FillOutput(t.map(logical), QBrush(gradient), QPainter::CompositionMode_SourceOver);
}

// ---------------------------------------------------------------- paths

void Canvas::BeginPath() {
  m_path = QPainterPath();
  m_pathWidened = false;
  m_pathOpen = true;
  m_pathNeedsMove = true;
}

void Canvas::EndPath() { m_pathOpen = false; }

void Canvas::AbortPath() {
  m_path = QPainterPath();
  m_pathWidened = false;
  m_pathOpen = false;
}

void Canvas::CloseFigure() {
  if (!m_pathOpen || m_path.isEmpty()) return;
  m_path.closeSubpath();
  m_pathNeedsMove = true;
}

void Canvas::FillPath() {
  QPainterPath path = m_path;
  const bool widened = m_pathWidened;
  AbortPath();
  // A widened outline overlaps itself; it fills as a whole whatever the fill mode.
  path.setFillRule(widened || m_state.polyFillMode == gdi::kWinding ? Qt::WindingFill : Qt::OddEvenFill);
  PaintOutputPath(path, Paint::kFill);
}

void Canvas::StrokePath() {
  const QPainterPath path = m_path;
  AbortPath();
  PaintOutputPath(path, Paint::kStroke);
}

void Canvas::StrokeAndFillPath() {
  QPainterPath path = m_path;
  const bool widened = m_pathWidened;
  AbortPath();
  path.setFillRule(widened || m_state.polyFillMode == gdi::kWinding ? Qt::WindingFill : Qt::OddEvenFill);
  PaintOutputPath(path, Paint::kBoth);
}

void Canvas::FlattenPath() {
  // Curves stay curves: they are drawn at the output's own resolution anyway.
}

void Canvas::WidenPath() {
  if (m_pathOpen || m_path.isEmpty()) return;
  const QPen pen = MakePen();
  if (pen.style() == Qt::NoPen) return;
  if (!Usable(m_path.controlPointRect())) {
    m_path = QPainterPath();
    return;
  }
  QPainterPathStroker stroker(pen);
  m_path = stroker.createStroke(m_path);
  m_pathWidened = true;
}

}  // namespace metafile::detail
