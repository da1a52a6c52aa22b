#pragma once

#include "diagnostics_p.h"
#include "gdi_p.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPen;
class QBrush;

// The device context both players draw through: mapping modes, window and
// viewport, world transform, selected objects, clipping, paths and the
// drawing calls, in the records' logical coordinates.
//
// Three coordinate spaces take part:
//   logical  the records' own numbers
//   device   the picture's device units (EMF reference-device pixels; for a
//            WMF the units its player's viewport is given in)
//   output   pixels of the painter's device; the clip region and every path
//            live here, as the clip and the path of a real device context do
// logical --(world, then window to viewport)--> device --(setup)--> output.
//
// Without a painter the canvas only follows the state and measures what would
// be drawn; that is the load pass, which must never touch fonts or pixels.
namespace metafile::detail {

struct CanvasSetup {
  QPainter* painter = nullptr;
  QTransform deviceToOutput;
  QRectF outputBounds;            // output pixels that may be drawn
  double devicePerMmX = 96 / 25.4;  // device units per millimetre, for the metric mapping modes
  double devicePerMmY = 96 / 25.4;
  std::int64_t workBudget = 0;    // 0: unlimited
};

struct TextRun {
  QPointF reference;         // logical
  QString text;
  std::vector<double> dx;    // logical advance after each character; empty for the font's own
  std::uint32_t options = 0;  // kEto* bits
  std::optional<QRectF> rect;  // logical, for opaque filling and clipping
};

struct BitmapBlit {
  QRectF dest;    // logical; a negative width or height mirrors
  QRectF source;  // pixels of the decoded image, top row 0
  std::uint32_t rop = gdi::kSrcCopy;
  std::function<QImage()> decode;  // called only when drawing
  std::int64_t pixels = 0;         // decoded size, for the work budget
  bool recolorMono = false;        // a 1-bit bitmap takes the text and background colours
  double constantAlpha = 1;
  std::optional<ColorRef> transparentColor;
};

enum class ArcKind { kArc, kChord, kPie, kArcTo };

class Canvas {
 public:
  Canvas(const CanvasSetup& setup, Diagnostics& diagnostics);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  DcState& State() { return m_state; }
  const DcState& State() const { return m_state; }
  bool Drawing() const { return m_painter != nullptr; }
  // The work budget is spent; every later drawing call does nothing.
  bool Stopped() const { return m_stopped; }
  // Union of the output boxes of everything drawn so far.
  const QRectF& DrawnBounds() const { return m_drawnBounds; }

  // Mapping.
  void SetMapMode(int mode);
  void SetWindowOrg(QPointF origin);
  void SetWindowExt(QPointF extent);
  void SetViewportOrg(QPointF origin);
  void SetViewportExt(QPointF extent);
  void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
  void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
  void SetWorldTransform(const QTransform& transform);
  // mode: 1 identity, 2 multiply on the left, 3 on the right, 4 set
  void ModifyWorldTransform(const QTransform& transform, int mode);
  QTransform LogicalToDevice() const;
  QTransform LogicalToOutput() const;

  void SaveDc();
  // which < 0: that many levels up; which > 0: the state saved as number `which`
  void RestoreDc(int which);

  // Figures.
  void MoveTo(QPointF point);
  void LineTo(QPointF point);
  void Polyline(const std::vector<QPointF>& points);
  void PolylineTo(const std::vector<QPointF>& points);
  void Polygon(const std::vector<QPointF>& points);
  void PolyPolygon(const std::vector<std::vector<QPointF>>& polygons);
  void PolyPolyline(const std::vector<std::vector<QPointF>>& lines);
  void PolyBezier(const std::vector<QPointF>& points);
  void PolyBezierTo(const std::vector<QPointF>& points);
  void PolyDraw(const std::vector<QPointF>& points, const std::vector<std::uint8_t>& types);
  void Rectangle(const QRectF& box);
  void RoundRect(const QRectF& box, QSizeF corner);
  void Ellipse(const QRectF& box);
  void Arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind);
  void AngleArc(QPointF center, double radius, double startDegrees, double sweepDegrees);
  void SetPixel(QPointF point, ColorRef color);
  void Text(const TextRun& run);
  void Bitmap(const BitmapBlit& blit);
  void PatBlt(const QRectF& box, std::uint32_t rop);
  // A rectangle shaded from `from` to `to`, left to right or top to bottom.
  void GradientRect(const QRectF& box, QRgb from, QRgb to, bool vertical);

  // Regions in logical units.
  void FillRegion(const Region& region, const Brush& brush);
  void FrameRegion(const Region& region, const Brush& brush, QSizeF frame);
  void InvertRegion(const Region& region);
  void PaintRegion(const Region& region);

  // Clipping.
  void IntersectClipRect(const QRectF& box);
  void ExcludeClipRect(const QRectF& box);
  void OffsetClip(QPointF logicalOffset);
  // A null region with kRgnCopy resets the clip to the whole picture;
  // `deviceUnits` says the rectangles are device units, not logical.
  void SelectClipRegion(const Region* region, bool deviceUnits, int mode);
  void SelectClipPath(int mode);

  // Paths.
  void BeginPath();
  void EndPath();
  void AbortPath();
  void CloseFigure();
  void FillPath();
  void StrokePath();
  void StrokeAndFillPath();
  void FlattenPath();
  void WidenPath();

  // The colour a COLORREF stands for under the selected palette.
  QRgb Color(ColorRef color) const;

 private:
  enum class Paint { kStroke, kFill, kBoth };

  double OutputScale() const;
  QPainterPath ToOutput(const QPainterPath& logical) const;
  QRegion OutputRegion(const std::vector<QRectF>& rects, const QTransform& toOutput) const;
  QRegion WholeOutput() const;
  QPainterPath RegionOutput(const Region& region) const;
  void CombineClip(const QRegion& region, int mode);
  void ApplyClip();

  void Figure(const QPainterPath& logical, bool closed);
  void ContinueFigure(const QPainterPath& logical);
  void PaintOutputPath(const QPainterPath& output, Paint paint);
  // Fills with `brush` and no pen; `mode` is a raster operation or SourceOver.
  void FillOutput(const QPainterPath& output, const QBrush& brush, QPainter::CompositionMode mode);
  double VisibleArea(const QRectF& outputBox) const;
  bool Spend(std::int64_t units);
  bool Usable(const QRectF& outputBox);
  bool CanRasterOp() const;

  QPen MakePen() const;
  QBrush MakeBrush(const Brush& brush) const;
  // The line raster operation as a composition mode and the colour it forces
  // (black or white); false when it draws nothing.
  bool Rop2(QPainter::CompositionMode& mode, std::optional<QColor>& forced) const;
  QPainterPath ArcPath(const QRectF& box, QPointF start, QPointF end, ArcKind kind) const;
  QRectF InsideFrame(const QRectF& box) const;

  void DrawText(const TextRun& run);

  CanvasSetup m_setup;
  QPainter* m_painter = nullptr;
  double m_baseOpacity = 1;  // the caller's, e.g. a fading transition
  Diagnostics& m_diagnostics;
  DcState m_state;
  std::vector<DcState> m_saved;
  int m_savedBeyondCap = 0;
  bool m_clipDirty = false;

  bool m_pathOpen = false;
  bool m_pathNeedsMove = true;
  bool m_pathWidened = false;
  QPainterPath m_path;  // output pixels

  std::int64_t m_work = 0;
  bool m_stopped = false;
  QRectF m_drawnBounds;
};

}  // namespace metafile::detail
