#include "slideshow/diorama.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <mutex>

#include "effects/effect_table.h"
#include "raster/canvas.h"
#include "raster/region.h"

namespace slideshow {

namespace {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "raster pixels (blue, green, red, fourth) are shown as QImage::Format_RGB32");

// DSM_PROGRESS and DSM_FINISHED as Qt events, with the transition's serial.
class TransitionEvent : public QEvent {
 public:
  static QEvent::Type EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  TransitionEvent(int message, std::uint32_t serial) : QEvent(EventType()), m_message(message), m_serial(serial) {}
  int Message() const { return m_message; }
  std::uint32_t Serial() const { return m_serial; }

 private:
  int m_message;
  std::uint32_t m_serial;
};

raster::Pixel ToPixel(const QColor& color) {
  return raster::MakePixel(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                           static_cast<std::uint8_t>(color.blue()), 0xFF);
}

QRect ToQRect(const raster::Rect& rect) {
  return QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1));
}

raster::Region ToRegion(const QRegion& region) {
  std::vector<raster::Rect> rects;
  for (const QRect& r : region) rects.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  return raster::ExtCreateRegion(rects);
}

}  // namespace

CustomDiorama::CustomDiorama(QWidget* parent) : QWidget(parent) {
  // The control paints its whole client area itself and never erases it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  SetColorPixel(ToPixel(m_color));
  SetFrameColorPixel(ToPixel(m_frameColor));
  m_picture.SetOnChange([this] { PictureChanged(); });
  m_bgPicture.SetOnChange([this] { BgPictureChanged(); });
  resize(100, 100);
  UpdatePictureTargetSize();
}

CustomDiorama::~CustomDiorama() {
  // While the hooks still work: no event fires from here on, and no tick
  // outlives the widget.
  MarkDestroying();
  Stop();
  m_picture.SetOnChange(nullptr);
  m_bgPicture.SetOnChange(nullptr);
}

// --- Properties

void CustomDiorama::SetColor(const QColor& value) {
  if (value == m_color) return;
  m_color = value;
  SetColorPixel(ToPixel(value));
  m_bgGraphic.reset();
  if (OverBackground() && OldImage() != nullptr) BuildBackgroundFrame();
  update();
}

void CustomDiorama::SetFrameColor(const QColor& value) {
  if (value == m_frameColor) return;
  m_frameColor = value;
  SetFrameColorPixel(ToPixel(value));
}

int CustomDiorama::GetStyleNames(QStringList& Strings) const {
  Strings.reserve(Strings.size() + effects::kEffectCount);
  for (const effects::Effect& row : effects::EffectTable) {
    Strings.append(QString::fromUtf8(row.Name.data(), static_cast<qsizetype>(row.Name.size())));
  }
  return effects::kEffectCount;
}

void CustomDiorama::SetAutoSize(bool value) {
  if (value == m_autoSize) return;
  m_autoSize = value;
  UpdatePictureTargetSize();
  RefitAutoSize();
}

void CustomDiorama::SetAlign(slideshow::Align value) {
  if (value == m_align) return;
  m_align = value;
  WatchParent();
  ApplyAlign();
}

bool CustomDiorama::CanAutoSize(int& NewWidth, int& NewHeight) {
  if (!m_picture.HasGraphic() || m_align == slideshow::Align::alClient) return true;
  // A widget has no frame of its own around the client area.
  const int border = 2 * FrameWidth();
  if (m_align != slideshow::Align::alTop && m_align != slideshow::Align::alBottom) NewWidth = m_picture.Width() + border;
  if (m_align != slideshow::Align::alLeft && m_align != slideshow::Align::alRight) NewHeight = m_picture.Height() + border;
  return true;
}

void CustomDiorama::RefitAutoSize() {
  if (!m_autoSize) return;
  int newWidth = width();
  int newHeight = height();
  if (CanAutoSize(newWidth, newHeight)) resize(newWidth, newHeight);
}

void CustomDiorama::UpdatePictureTargetSize() {
  // Only where the picture is fitted to the client area may a large JPEG be
  // decoded smaller; the screen's size keeps it sharp in full screen too.
  if (m_autoSize || !(Stretch() || Proportional())) {
    m_picture.SetTargetSize(QSize());
    return;
  }
  QSize target = size();
  if (const QScreen* shownOn = screen()) target = target.expandedTo(shownOn->size());
  m_picture.SetTargetSize(target);
}

void CustomDiorama::LayoutOptionsChanged() {
  UpdatePictureTargetSize();
  RefitAutoSize();
}

void CustomDiorama::WatchParent() {
  if (m_watchedParent) m_watchedParent->removeEventFilter(this);
  m_watchedParent = m_align != slideshow::Align::alNone ? parentWidget() : nullptr;
  if (m_watchedParent) m_watchedParent->installEventFilter(this);
}

void CustomDiorama::ApplyAlign() {
  const QWidget* parent = parentWidget();
  if (parent == nullptr || m_align == slideshow::Align::alNone) return;
  const QRect area = parent->contentsRect();
  switch (m_align) {
    case slideshow::Align::alTop:
      setGeometry(area.left(), area.top(), area.width(), height());
      break;
    case slideshow::Align::alBottom:
      setGeometry(area.left(), area.bottom() + 1 - height(), area.width(), height());
      break;
    case slideshow::Align::alLeft:
      setGeometry(area.left(), area.top(), width(), area.height());
      break;
    case slideshow::Align::alRight:
      setGeometry(area.right() + 1 - width(), area.top(), width(), area.height());
      break;
    case slideshow::Align::alClient:
      setGeometry(area);
      break;
    case slideshow::Align::alNone:
      break;
  }
}

void CustomDiorama::SetOnBeforeNewFrame(CustomDrawEvent handler) {
  const std::lock_guard lock(RenderLock());
  m_onBeforeNewFrame = std::move(handler);
}

void CustomDiorama::SetOnAfterNewFrame(CustomDrawEvent handler) {
  const std::lock_guard lock(RenderLock());
  m_onAfterNewFrame = std::move(handler);
}

void CustomDiorama::SetOnCustomDraw(CustomDrawEvent handler) {
  const std::lock_guard lock(RenderLock());
  m_onCustomDraw = std::move(handler);
}

void CustomDiorama::Stop() {
  DioramaCore::Stop();
  // A loop-mode transition waiting between frames need not wait any longer.
  if (m_waitLoop) m_waitLoop->quit();
}

// --- Pictures

void CustomDiorama::PictureChanged() {
  if (Destroying()) return;
  if (m_picture.HasGraphic()) RefitAutoSize();
  DoChange();
}

void CustomDiorama::BgPictureChanged() {
  m_bgGraphic.reset();
  if (Destroying() || BgMode() == BackgroundMode::bmNone) return;
  if (OverBackground() && OldImage() != nullptr) BuildBackgroundFrame();
  update();
}

const raster::Bitmap* CustomDiorama::BackgroundGraphic() {
  if (m_bgPicture.Empty()) return nullptr;
  if (!m_bgGraphic) m_bgGraphic = m_bgPicture.Render(ColorPixel());
  return m_bgGraphic->Empty() ? nullptr : &*m_bgGraphic;
}

// --- Events

void CustomDiorama::DoChange() {
  if (m_onChange) m_onChange(*this);
}
void CustomDiorama::DoProgress() {
  if (m_onProgress) m_onProgress(*this);
}
void CustomDiorama::DoCustomDraw(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (m_onCustomDraw) m_onCustomDraw(*this, Picture, Screen);
}
void CustomDiorama::DoBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (m_onBeforeNewFrame) m_onBeforeNewFrame(*this, Picture, Screen);
}
void CustomDiorama::DoAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (m_onAfterNewFrame) m_onAfterNewFrame(*this, Picture, Screen);
}
void CustomDiorama::DoComplete() {
  if (m_onComplete) m_onComplete(*this);
}
void CustomDiorama::DoStart(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (m_onStart) m_onStart(*this, Picture, Screen);
}
void CustomDiorama::DoStop() {
  if (m_onStop) m_onStop(*this);
}

void CustomDiorama::FireBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (m_onBeforeNewFrame) m_onBeforeNewFrame(*this, Picture, Screen);
}
void CustomDiorama::FireAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (m_onAfterNewFrame) m_onAfterNewFrame(*this, Picture, Screen);
}

// --- The window

void CustomDiorama::PostTransitionMessage(int message, std::uint32_t serial) {
  // postEvent takes the event over; it is thread-safe, which is all the timer
  // thread may use of the widget.
  QCoreApplication::postEvent(this, std::make_unique<TransitionEvent>(message, serial).release());
}

bool CustomDiorama::event(QEvent* event) {
  if (event->type() == TransitionEvent::EventType()) {
    const auto* message = static_cast<const TransitionEvent*>(event);
    HandleTransitionMessage(message->Message(), message->Serial());
    return true;
  }
  if (event->type() == QEvent::ParentChange) {
    WatchParent();
    ApplyAlign();
  }
  return QWidget::event(event);
}

bool CustomDiorama::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_watchedParent && event->type() == QEvent::Resize) ApplyAlign();
  return QWidget::eventFilter(watched, event);
}

void CustomDiorama::ShowFrame() {
  if (!isVisible()) return;
  const QRect area = ToQRect(PicRect()) & rect();
  if (!area.isEmpty()) repaint(area);
}

void CustomDiorama::InvalidateRect(const raster::Rect& rect) { update(ToQRect(rect)); }

void CustomDiorama::ProcessMessagesUntil(std::int64_t deadline) {
  const std::int64_t wait = deadline - TickCount();
  if (wait <= 0) {
    QCoreApplication::processEvents();
    return;
  }
  // Sleeps in the event loop instead of spinning, and wakes at the deadline.
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(static_cast<int>(std::min<std::int64_t>(wait, INT_MAX)));
  m_waitLoop = &loop;
  loop.exec();
  m_waitLoop = nullptr;
}

void CustomDiorama::paintEvent(QPaintEvent* event) {
  const std::lock_guard lock(RenderLock());
  QPainter painter(this);
  const QRect area = event->rect();
  const raster::Rect pic = PicRect();
  if (!Screen().Empty() && area.left() >= pic.Left && area.top() >= pic.Top && area.right() < pic.Right &&
      area.bottom() < pic.Bottom) {
    PaintFrame(painter, area);
    return;
  }
  PaintWhole(painter, event->region());
}

// A new frame (or a paint inside PicRect): only the frame, stretched straight
// into the window's image of the area. The image's rows run top-down and the
// raster layer's bottom-up, so the view over it sees the picture upside down
// and the stretch mirrors it back in the same pass.
void CustomDiorama::PaintFrame(QPainter& painter, const QRect& area) {
  if (m_frameImage.size() != area.size()) m_frameImage = QImage(area.size(), QImage::Format_RGB32);
  if (m_frameImage.isNull()) return;
  raster::Bitmap view = raster::Bitmap::View(m_frameImage.bits(), area.width(), area.height(),
                                             m_frameImage.bytesPerLine());
  const raster::Rect pic = PicRect();
  StretchScreen(view.Canvas(), pic.Left - area.left(), area.height() - 1 - (pic.Top - area.top()), pic.Right - pic.Left,
                -(pic.Bottom - pic.Top));
  painter.drawImage(area.topLeft(), m_frameImage);
}

// Everything else: frame, border and background painted on the control's
// canvas, and the painted part handed to the window.
void CustomDiorama::PaintWhole(QPainter& painter, const QRegion& region) {
  if (m_canvasBitmap.Width() != width() || m_canvasBitmap.Height() != height()) {
    m_canvasBitmap = raster::Bitmap(width(), height());
  }
  if (m_canvasBitmap.Empty()) return;
  raster::Canvas& canvas = m_canvasBitmap.Canvas();
  raster::SelectClipRgn(canvas, ToRegion(region));
  PaintContent(canvas);
  raster::SelectClipRgn(canvas, nullptr);
  const QRect area = region.boundingRect() & rect();
  if (area.isEmpty()) return;
  QImage image(area.size(), QImage::Format_RGB32);
  if (image.isNull()) return;
  const std::size_t rowBytes = std::size_t(area.width()) * 4;
  for (int y = 0; y < area.height(); ++y) {
    std::memcpy(image.scanLine(y), m_canvasBitmap.ScanLine(area.top() + y) + 4 * std::size_t(area.left()), rowBytes);
  }
  painter.drawImage(area.topLeft(), image);
}

void CustomDiorama::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  CalculatePicRect();
  if (!Screen().Empty()) update();
  UpdatePictureTargetSize();
  if (m_onResize) m_onResize(*this);
}

void CustomDiorama::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (m_onMouseEnter) m_onMouseEnter(*this);
}

void CustomDiorama::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (m_onMouseLeave) m_onMouseLeave(*this);
}

void CustomDiorama::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (m_onMouseDown) m_onMouseDown(*this, *event);
}

void CustomDiorama::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (m_onMouseMove) m_onMouseMove(*this, *event);
}

void CustomDiorama::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (m_onMouseUp) m_onMouseUp(*this, *event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && m_onClick) m_onClick(*this);
}

void CustomDiorama::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  if (m_onDblClick) m_onDblClick(*this);
}

void CustomDiorama::keyPressEvent(QKeyEvent* event) {
  if (m_onKeyDown) m_onKeyDown(*this, *event);
  QWidget::keyPressEvent(event);
}

void CustomDiorama::keyReleaseEvent(QKeyEvent* event) {
  if (m_onKeyUp) m_onKeyUp(*this, *event);
  QWidget::keyReleaseEvent(event);
}

void CustomDiorama::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (m_onEnter) m_onEnter(*this);
}

void CustomDiorama::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (m_onExit) m_onExit(*this);
}

}  // namespace slideshow
