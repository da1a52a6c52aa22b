#include "report/store/page_painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>

#include "report/model/objects.h"
#include "report/model/text_layout.h"
#include "report/model/units.h"
#include "report/store/prepared_pages.h"

namespace report {
namespace {

void DrawFrame(QPainter& painter, const View& view, const QRectF& r) {
  const report::Frame& frame = view.Frame();
  if (frame.typ == 0 || frame.width <= 0) return;
  QPen pen(frame.color);
  pen.setWidthF(frame.width);
  pen.setCapStyle(Qt::SquareCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  if (frame.typ & ftLeft) painter.drawLine(r.topLeft(), r.bottomLeft());
  if (frame.typ & ftRight) painter.drawLine(r.topRight(), r.bottomRight());
  if (frame.typ & ftTop) painter.drawLine(r.topLeft(), r.topRight());
  if (frame.typ & ftBottom) painter.drawLine(r.bottomLeft(), r.bottomRight());
}

void DrawMemo(QPainter& painter, const MemoView& memo, const QRectF& r, int totalPages,
              const QString& copyName) {
  QString text = memo.Text();
  if (text.contains(QLatin1Char('['))) {
    text.replace(QLatin1String("[TotalPages#]"), QString::number(totalPages));
    text.replace(QLatin1String("[CopyName#]"), copyName);
  }
  if (text.isEmpty()) return;
  const report::Font font = memo.ParentFont() ? memo.EffectiveFont() : memo.Font();
  const QFont qfont = ResolveFont(font);
  const MemoLines lines = BreakMemoLines(memo, text, font, r.width());
  const double textHeight = lines.lines.size() * lines.lineHeight - memo.LineSpacing();
  double y = r.top() + memo.GapY();
  if (memo.VAlign() == VAlign::vaBottom) y = r.bottom() - memo.GapY() - textHeight;
  if (memo.VAlign() == VAlign::vaCenter) y = r.top() + (r.height() - textHeight) / 2;

  painter.save();
  if (memo.Clipped()) painter.setClipRect(r, Qt::IntersectClip);
  painter.setFont(qfont);
  painter.setPen(font.color);
  const QFontMetricsF metrics(qfont);
  for (const QString& line : lines.lines) {
    const double advance = metrics.horizontalAdvance(line);
    double x = r.left() + memo.GapX();
    if (memo.HAlign() == HAlign::haRight) x = r.right() - memo.GapX() - advance;
    if (memo.HAlign() == HAlign::haCenter) x = r.left() + (r.width() - advance) / 2;
    painter.drawText(QPointF(x, y + lines.ascent), line);
    y += lines.lineHeight;
  }
  painter.restore();
}

void DrawPicture(QPainter& painter, const PictureView& view, const QRectF& r) {
  const QImage image = view.Picture().Image();
  if (image.isNull() || image.width() <= 0 || image.height() <= 0) return;
  QRectF target;
  if (view.Stretched() && view.KeepAspectRatio()) {
    const double k = std::min(r.width() / image.width(), r.height() / image.height());
    target = QRectF(r.topLeft(), QSizeF(image.width() * k, image.height() * k));
  } else if (view.Stretched()) {
    target = r;
  } else {
    target = QRectF(r.topLeft(), QSizeF(image.width(), image.height()));  // 1 pixel = 1 unit
  }
  if (view.Center()) target.moveCenter(r.center());
  painter.save();
  painter.setClipRect(r, Qt::IntersectClip);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, image);
  painter.restore();
}

}  // namespace

void DrawObject(QPainter& painter, const Component& object, int totalPages, const QString& copyName) {
  const auto* view = dynamic_cast<const View*>(&object);
  if (!view) return;  // bands draw nothing of their own
  const QRectF r(object.Left(), object.Top(), object.Width(), object.Height());
  if (view->Color().isValid()) painter.fillRect(r, view->Color());
  if (object.Type() == ObjectType::MemoView) {
    DrawMemo(painter, static_cast<const MemoView&>(object), r, totalPages, copyName);
  } else if (object.Type() == ObjectType::PictureView) {
    DrawPicture(painter, static_cast<const PictureView&>(object), r);
  }
  DrawFrame(painter, *view, r);
}

void PreparedPages::DrawPage(int i, QPainter& painter, double scale, QPointF offset) const {
  const ReportPage* source = SourcePage(i);
  if (!source || !(scale > 0)) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(offset + QPointF(MmToUnits(source->LeftMargin()), MmToUnits(source->TopMargin())) * scale);
  painter.scale(scale, scale);
  for (const ObjectRecord& record : m_pages[std::size_t(i)].records) {
    if (const auto object = Materialize(record)) DrawObject(painter, *object, Count(), m_copyName);
  }
  painter.restore();
}

QImage RenderPage(const PreparedPages& pages, int i, double dpi) {
  const QSizeF size = pages.PageSize(i);
  const double scale = dpi / kUnitsPerInch;
  if (size.isEmpty() || !(scale > 0) || size.width() * scale > 30000 || size.height() * scale > 30000) {
    return {};
  }
  QImage image(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  const int dotsPerMeter = int(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  QPainter painter(&image);
  pages.DrawPage(i, painter, scale, QPointF(0, 0));
  return image;
}

bool WritePdf(const PreparedPages& pages, const QString& fileName, const std::vector<int>& indices,
              QString* error) {
  std::vector<int> list = indices;
  if (list.empty()) {
    for (int i = 0; i < pages.Count(); ++i) list.push_back(i);
  }
  for (int i : list) {
    if (i < 0 || i >= pages.Count()) {
      if (error) *error = QStringLiteral("There is no page %1").arg(i + 1);
      return false;
    }
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("Versanto"));
    auto layoutOf = [&](int i) {
      const PageSettings s = pages.Settings(i);
      const QPageSize size(QSizeF(s.paperWidth, s.paperHeight), QPageSize::Millimeter);
      return QPageLayout(size,
                         s.orientation == Orientation::poLandscape ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait,
                         QMarginsF(0, 0, 0, 0));
    };
    if (!list.empty()) writer.setPageLayout(layoutOf(list.front()));
    QPainter painter;
    if (!painter.begin(&writer)) {
      if (error) *error = QStringLiteral("Cannot write the PDF");
      return false;
    }
    const double scale = writer.resolution() / kUnitsPerInch;
    for (std::size_t k = 0; k < list.size(); ++k) {
      if (k > 0) {
        writer.setPageLayout(layoutOf(list[k]));
        writer.newPage();
      }
      pages.DrawPage(list[k], painter, scale, QPointF(0, 0));
    }
    painter.end();
  }
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace report
