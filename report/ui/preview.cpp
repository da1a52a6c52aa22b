#include "report/ui/preview.h"

#include "report/ui/preview_source.h"
#include "text_recorder_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int kArrowStep = 8;       // pixels
constexpr int kPageStep = 300;      // pixels
constexpr int kWheelStep = 20;      // pixels per wheel message
constexpr double kWheelZoomStep = 0.1;
constexpr double kThumbnailZoom = 0.1;
constexpr int kHitSpare = 20;       // pixels kept around a found text

}  // namespace

Preview::Preview(QWidget* parent) : QAbstractScrollArea(parent) {
  // Always there, so that showing it never narrows the view and re-flows the rows.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setSingleStep(kArrowStep);
  horizontalScrollBar()->setSingleStep(kArrowStep);
}

Preview::~Preview() = default;

void Preview::SetSource(PreviewSource* source) {
  m_source = source;
  ClearFind();
  m_pageNo = 1;
  Relayout();
  SetPageNo(1);
}

void Preview::SetThumbnails(bool on) {
  m_thumbnails = on;
  if (on) {
    m_zoom = kThumbnailZoom;
    m_zoomMode = ZoomMode::zmDefault;
  }
  Relayout();
}

int Preview::PageCount() const { return m_source ? m_source->PageCount() : 0; }

QRect Preview::PageRect(int index) const {
  if (index < 0 || index >= static_cast<int>(m_layout.pages.size())) return {};
  return m_layout.pages[static_cast<std::size_t>(index)].rect;
}

QPoint Preview::ScrollPosition() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void Preview::SetScrollPosition(QPoint position) {
  horizontalScrollBar()->setValue(position.x());
  verticalScrollBar()->setValue(position.y());
}

void Preview::SetPageNo(int pageNo) {
  const int count = static_cast<int>(m_layout.pages.size());
  pageNo = std::clamp(pageNo, 1, std::max(1, count));
  if (count > 0) {
    m_settingPage = true;
    verticalScrollBar()->setValue(PageRect(pageNo - 1).top() - kPageGap);
    m_settingPage = false;
  }
  MakeCurrent(pageNo);
}

void Preview::MakeCurrent(int pageNo) {
  if (pageNo == m_pageNo) return;
  m_pageNo = pageNo;
  viewport()->update();
  emit PageChanged(m_pageNo);
}

void Preview::SetZoom(double zoom) {
  if (m_thumbnails) return;
  zoom = ClampZoom(zoom);
  const bool modeChanged = m_zoomMode != ZoomMode::zmDefault;
  m_zoomMode = ZoomMode::zmDefault;
  if (zoom == m_zoom && !modeChanged) {
    emit ZoomChanged(m_zoom);  // the combo shows the value again after a bad entry
    return;
  }
  // Keep the same spot of the current page at the top of the view.
  const QRect before = PageRect(m_pageNo - 1);
  const double into = before.height() > 0
      ? double(verticalScrollBar()->value() - before.top()) / before.height() : 0.0;
  m_zoom = zoom;
  Relayout();
  const QRect after = PageRect(m_pageNo - 1);
  if (!after.isNull()) {
    m_settingPage = true;
    verticalScrollBar()->setValue(after.top() + static_cast<int>(std::lround(into * after.height())));
    m_settingPage = false;
  }
  emit ZoomChanged(m_zoom);
}

void Preview::SetZoomMode(report::ZoomMode mode) {
  if (m_thumbnails) return;
  m_zoomMode = mode;
  const double old = m_zoom;
  Relayout();
  if (m_layout.pages.empty() || old != m_zoom) SetPageNo(m_pageNo);
  emit ZoomChanged(m_zoom);
}

void Preview::UpdatePages() {
  const int count = PageCount();
  Relayout();
  if (m_pageNo > std::max(1, count)) SetPageNo(count);
  if (m_foundPage >= count) ClearFind();
}

void Preview::ApplyFitZoom() {
  if (m_thumbnails || !m_source) return;
  if (m_zoomMode != ZoomMode::zmWholePage && m_zoomMode != ZoomMode::zmPageWidth) return;
  const int count = m_source->PageCount();
  const QSizeF size = count > 0 ? m_source->PageSize(std::clamp(m_pageNo - 1, 0, count - 1))
                                : QSizeF(kEmptyPageWidth, kEmptyPageHeight);
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  // The whole width, as if no scroll bar were there, less a scroll bar.
  const QSize view(viewport()->width() + verticalScrollBar()->sizeHint().width(),
                   viewport()->height());
  m_zoom = FitZoom(m_zoomMode, m_zoom, size, view, scrollBar);
}

void Preview::Relayout() {
  ApplyFitZoom();
  std::vector<QSizeF> sizes;
  const int count = PageCount();
  sizes.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) sizes.push_back(m_source->PageSize(i));
  m_layout = LayOutPages(sizes, m_zoom, viewport()->width());
  UpdateScrollBars();
  viewport()->update();
}

void Preview::UpdateScrollBars() {
  QSize area = m_layout.area;
  if (m_layout.pages.empty()) {
    const QRect empty = EmptyPageRect(m_zoom, viewport()->width());
    area = QSize(empty.right() + kPageGap, empty.bottom() + kPageGap);
  }
  const QSize view = viewport()->size();
  verticalScrollBar()->setRange(0, std::max(0, area.height() - view.height()));
  verticalScrollBar()->setPageStep(std::min(kPageStep, std::max(1, view.height())));
  horizontalScrollBar()->setRange(0, std::max(0, area.width() - view.width()));
  horizontalScrollBar()->setPageStep(std::min(kPageStep, std::max(1, view.width())));
}

void Preview::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  const double old = m_zoom;
  Relayout();
  if (old != m_zoom) emit ZoomChanged(m_zoom);
}

void Preview::scrollContentsBy(int, int) {
  viewport()->update();
  if (!m_settingPage) CurrentFromScroll();
}

void Preview::CurrentFromScroll() {
  if (m_layout.rowFirst.empty()) return;
  const int top = verticalScrollBar()->value();
  // A page counts as reached once its top is within a fifth of its height;
  // the first page of the last row reached becomes current.
  int current = 0;
  for (int first : m_layout.rowFirst) {
    const QRect r = m_layout.pages[static_cast<std::size_t>(first)].rect;
    if (r.top() - top > r.height() / 5) break;
    current = first;
  }
  MakeCurrent(current + 1);
}

void Preview::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), kPreviewBackground);
  const QPoint scroll = ScrollPosition();
  painter.translate(-scroll);
  const QRect visible = event->rect().translated(scroll);
  m_pagesPainted = 0;

  if (m_layout.pages.empty()) {
    const QRect empty = EmptyPageRect(m_zoom, viewport()->width());
    painter.fillRect(empty, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(empty.adjusted(0, 0, -1, -1));
    painter.end();
    emit Painted();
    return;
  }

  // The last row that starts at or above the visible area's top.
  const auto& rows = m_layout.rowFirst;
  auto row = std::upper_bound(rows.begin(), rows.end(), visible.top(), [&](int y, int first) {
    return y < m_layout.pages[static_cast<std::size_t>(first)].rect.top();
  });
  if (row != rows.begin()) --row;
  const int count = static_cast<int>(m_layout.pages.size());
  for (int i = *row; i < count; ++i) {
    const QRect r = m_layout.pages[static_cast<std::size_t>(i)].rect;
    if (r.top() > visible.bottom()) break;
    if (!r.intersects(visible)) continue;
    ++m_pagesPainted;
    painter.fillRect(r, Qt::white);
    if (m_source) {
      painter.save();
      painter.setClipRect(r.intersected(visible));
      m_source->DrawPage(i, painter, QRectF(r));
      painter.restore();
    }
    if (i == m_foundPage && !m_foundRect.isEmpty()) {
      const QRectF hit(r.left() + m_foundRect.left() * m_zoom, r.top() + m_foundRect.top() * m_zoom,
                       m_foundRect.width() * m_zoom, m_foundRect.height() * m_zoom);
      painter.save();
      painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter.fillRect(hit, Qt::white);  // inverts what lies under the hit
      painter.restore();
    }
    painter.setBrush(Qt::NoBrush);
    if (i == m_pageNo - 1) {
      painter.setPen(QPen(kCurrentPageFrame, 2));
      painter.drawRect(QRectF(r).adjusted(0, 0, -1, -1));
    } else {
      painter.setPen(Qt::black);
      painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (m_thumbnails) {
      const QString number = QString::number(i + 1);
      QFont font(QStringLiteral("Arial"));
      font.setPixelSize(11);  // Arial 8 points at 96 dots per inch
      painter.setFont(font);
      const QRect label = QFontMetrics(font).boundingRect(number).adjusted(-2, 0, 2, 0);
      const QRect box(r.topLeft(), label.size());
      painter.fillRect(box, kCurrentPageFrame);
      painter.setPen(Qt::white);
      painter.drawText(box, Qt::AlignCenter, number);
    }
  }
  painter.end();
  emit Painted();
}

void Preview::ScrollToVisible(const QRect& area, int spare) {
  const QRect want = area.adjusted(-spare, -spare, spare, spare);
  const QPoint pos = ScrollPosition();
  const QSize view = viewport()->size();
  int x = pos.x();
  int y = pos.y();
  if (want.bottom() > y + view.height()) y = want.bottom() - view.height();
  if (want.top() < y) y = want.top();
  if (want.right() > x + view.width()) x = want.right() - view.width();
  if (want.left() < x) x = want.left();
  m_settingPage = true;
  SetScrollPosition({x, y});
  m_settingPage = false;
}

int Preview::PageAt(QPoint viewportPoint) const {
  const QPoint p = viewportPoint + ScrollPosition();
  for (std::size_t i = 0; i < m_layout.pages.size(); ++i)
    if (m_layout.pages[i].rect.contains(p)) return static_cast<int>(i);
  return -1;
}

void Preview::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  QScrollBar* v = verticalScrollBar();
  QScrollBar* h = horizontalScrollBar();
  switch (event->key()) {
    case Qt::Key_Up: v->setValue(v->value() - kArrowStep); break;
    case Qt::Key_Down: v->setValue(v->value() + kArrowStep); break;
    case Qt::Key_Left: h->setValue(h->value() - kArrowStep); break;
    case Qt::Key_Right: h->setValue(h->value() + kArrowStep); break;
    case Qt::Key_PageUp:
      if (ctrl) Prior(); else v->setValue(v->value() - kPageStep);
      break;
    case Qt::Key_PageDown:
      if (ctrl) Next(); else v->setValue(v->value() + kPageStep);
      break;
    case Qt::Key_Home: First(); break;
    case Qt::Key_End: Last(); break;
    case Qt::Key_F3: emit FindNextKey(); break;
    case Qt::Key_P: if (ctrl) emit PrintKey(); break;
    case Qt::Key_S: if (ctrl) emit SaveKey(); break;
    case Qt::Key_F: if (ctrl) emit FindKey(); break;
    case Qt::Key_O: if (ctrl) emit OpenKey(); break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
}

void Preview::wheelEvent(QWheelEvent* event) {
  const int turn = event->angleDelta().y();
  if (turn == 0) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  if ((event->modifiers() & Qt::ControlModifier) && !m_thumbnails) {
    double zoom = m_zoom + (turn > 0 ? kWheelZoomStep : -kWheelZoomStep);
    if (zoom < kMinWheelZoom) zoom = kMinWheelZoom;
    SetZoom(zoom);
  } else {
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() + (turn > 0 ? -kWheelStep : kWheelStep));
  }
  event->accept();
}

void Preview::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const int page = PageAt(event->position().toPoint());
  if (page >= 0) MakeCurrent(page + 1);
  m_dragging = true;
  m_dragFrom = event->position().toPoint();
  event->accept();
}

void Preview::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const QPoint now = event->position().toPoint();
  const QPoint moved = now - m_dragFrom;
  m_dragFrom = now;
  SetScrollPosition(ScrollPosition() - moved);
  event->accept();
}

void Preview::mouseReleaseEvent(QMouseEvent* event) {
  m_dragging = false;
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void Preview::mouseDoubleClickEvent(QMouseEvent* event) {
  emit DoubleClicked();
  event->accept();
}

void Preview::ClearFind() {
  m_foundPage = -1;
  m_foundIndex = -1;
  m_foundRect = QRectF();
  viewport()->update();
}

bool Preview::Find(const QString& text, bool caseSensitive, bool fromBeginning) {
  if (text.isEmpty()) return false;  // an empty text would match every run
  if (text != m_findText || caseSensitive != m_findCase || fromBeginning) {
    m_foundPage = -1;
    m_foundIndex = -1;
  }
  m_findText = text;
  m_findCase = caseSensitive;
  return FindFrom(fromBeginning ? 0 : m_pageNo - 1);
}

bool Preview::FindNext() {
  if (m_findText.isEmpty()) return false;
  return FindFrom(m_foundPage >= 0 ? m_foundPage : m_pageNo - 1);
}

bool Preview::FindFrom(int pageIndex) {
  if (!m_source) return false;
  const int count = m_source->PageCount();
  const QString wanted = m_findCase ? m_findText : m_findText.toUpper();
  for (int p = std::max(0, pageIndex); p < count; ++p) {
    const QSizeF size = m_source->PageSize(p);
    TextRecorder recorder(size.toSize());
    {
      QPainter painter(&recorder);
      m_source->DrawPage(p, painter, QRectF(QPointF(0, 0), size));
    }
    const auto& runs = recorder.Runs();
    const int start = p == m_foundPage ? m_foundIndex + 1 : 0;
    for (int i = start; i < static_cast<int>(runs.size()); ++i) {
      const TextRun& run = runs[static_cast<std::size_t>(i)];
      const bool match = m_findCase ? run.text.contains(wanted)
                                    : run.text.toUpper().contains(wanted);
      if (!match) continue;
      m_foundPage = p;
      m_foundIndex = i;
      m_foundRect = run.rect;
      const QRect page = PageRect(p);
      const QRect hit(page.left() + static_cast<int>(run.rect.left() * m_zoom),
                      page.top() + static_cast<int>(run.rect.top() * m_zoom),
                      static_cast<int>(std::ceil(run.rect.width() * m_zoom)),
                      static_cast<int>(std::ceil(run.rect.height() * m_zoom)));
      ScrollToVisible(hit, kHitSpare);
      if (m_pageNo != p + 1) {
        m_pageNo = p + 1;
        emit PageChanged(m_pageNo);
      }
      viewport()->update();
      return true;
    }
  }
  return false;
}

}  // namespace report
