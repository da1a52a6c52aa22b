#pragma once

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

#include "raster/bitmap.h"
#include "slideshow/diorama_core.h"
#include "slideshow/picture.h"

class QEventLoop;

namespace slideshow {

// How the control places itself in its parent (for a child outside a layout):
// along one side, over the whole client area, or where it was put.
enum class Align { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The type of the design-time "About" entry; it has no behaviour.
class About {};

// The picture show widget: shows one picture and animates the change to the
// next one with an effect of the effect table (see DioramaCore for the
// transition and its threads). Frames are computed at the picture's own size
// and stretched, without smoothing, into PicRect when shown; a new frame goes
// straight to PicRect on the window without repainting border and background.
//
// Events are callbacks set with SetOnX, each with the sender first. OnStart,
// OnProgress, OnComplete, OnStop, OnChange and the input events always run on
// the UI thread. OnBeforeNewFrame, OnAfterNewFrame and OnCustomDraw draw into
// the frame and run where the frame is computed: in threaded mode on the timer
// thread, under RenderLock, where they must not touch any widget.
class CustomDiorama : public QWidget, public DioramaCore {
  Q_OBJECT

 public:
  using CustomDrawEvent =
      std::function<void(CustomDiorama& Sender, raster::Bitmap& Picture, raster::Bitmap& Screen)>;
  using NotifyEvent = std::function<void(CustomDiorama& Sender)>;
  using MouseEvent = std::function<void(CustomDiorama& Sender, QMouseEvent& Event)>;
  using KeyEvent = std::function<void(CustomDiorama& Sender, QKeyEvent& Event)>;

  explicit CustomDiorama(QWidget* parent = nullptr);
  ~CustomDiorama() override;

  // --- Pictures. The holders are the component's own; loading a file into
  // Picture() (or SetPicture) fires OnChange. A new Picture shows at the next
  // Execute, which takes its own copy first, so Picture may be reloaded from
  // OnStart.
  slideshow::Picture& Picture() { return m_picture; }
  const slideshow::Picture& Picture() const { return m_picture; }
  void SetPicture(const slideshow::Picture& value) { m_picture.Assign(value); }
  slideshow::Picture& BgPicture() { return m_bgPicture; }
  const slideshow::Picture& BgPicture() const { return m_bgPicture; }
  void SetBgPicture(const slideshow::Picture& value) { m_bgPicture.Assign(value); }

  // --- Colours. Color (default white, #FFFFFF) is the fill of bmNone and the
  // colour behind transparent parts of pictures; FrameColor (default
  // #B4B4B4, the usual active-border grey) that of the border.
  QColor Color() const { return m_color; }
  void SetColor(const QColor& value);
  QColor FrameColor() const { return m_frameColor; }
  void SetFrameColor(const QColor& value);

  QString StyleName() const { return QString::fromStdString(DioramaCore::StyleName()); }
  void SetStyleName(const QString& value) { DioramaCore::SetStyleName(value.toStdString()); }

  // Picture holds no graphic, or one without pixels.
  bool Empty() const { return m_picture.Empty(); }
  // Adds the 176 effect names in table order; entry i is Style i + 1.
  int GetStyleNames(QStringList& Strings) const;

  // --- Size and placement.
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  slideshow::Align Align() const { return m_align; }
  void SetAlign(slideshow::Align value);
  // The size AutoSize gives the control: the picture's plus the border.
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
  QSize sizeHint() const override { return {100, 100}; }

  void Stop() override;

  // --- Events.
  const CustomDrawEvent& OnStart() const { return m_onStart; }
  void SetOnStart(CustomDrawEvent handler) { m_onStart = std::move(handler); }
  const CustomDrawEvent& OnBeforeNewFrame() const { return m_onBeforeNewFrame; }
  void SetOnBeforeNewFrame(CustomDrawEvent handler);
  const CustomDrawEvent& OnAfterNewFrame() const { return m_onAfterNewFrame; }
  void SetOnAfterNewFrame(CustomDrawEvent handler);
  const CustomDrawEvent& OnCustomDraw() const { return m_onCustomDraw; }
  void SetOnCustomDraw(CustomDrawEvent handler);
  const NotifyEvent& OnProgress() const { return m_onProgress; }
  void SetOnProgress(NotifyEvent handler) { m_onProgress = std::move(handler); }
  const NotifyEvent& OnComplete() const { return m_onComplete; }
  void SetOnComplete(NotifyEvent handler) { m_onComplete = std::move(handler); }
  const NotifyEvent& OnStop() const { return m_onStop; }
  void SetOnStop(NotifyEvent handler) { m_onStop = std::move(handler); }
  const NotifyEvent& OnChange() const { return m_onChange; }
  void SetOnChange(NotifyEvent handler) { m_onChange = std::move(handler); }
  const NotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
  void SetOnMouseEnter(NotifyEvent handler) { m_onMouseEnter = std::move(handler); }
  const NotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
  void SetOnMouseLeave(NotifyEvent handler) { m_onMouseLeave = std::move(handler); }
  const NotifyEvent& OnClick() const { return m_onClick; }
  void SetOnClick(NotifyEvent handler) { m_onClick = std::move(handler); }
  const NotifyEvent& OnDblClick() const { return m_onDblClick; }
  void SetOnDblClick(NotifyEvent handler) { m_onDblClick = std::move(handler); }
  const NotifyEvent& OnResize() const { return m_onResize; }
  void SetOnResize(NotifyEvent handler) { m_onResize = std::move(handler); }
  const NotifyEvent& OnEnter() const { return m_onEnter; }
  void SetOnEnter(NotifyEvent handler) { m_onEnter = std::move(handler); }
  const NotifyEvent& OnExit() const { return m_onExit; }
  void SetOnExit(NotifyEvent handler) { m_onExit = std::move(handler); }
  const MouseEvent& OnMouseDown() const { return m_onMouseDown; }
  void SetOnMouseDown(MouseEvent handler) { m_onMouseDown = std::move(handler); }
  const MouseEvent& OnMouseMove() const { return m_onMouseMove; }
  void SetOnMouseMove(MouseEvent handler) { m_onMouseMove = std::move(handler); }
  const MouseEvent& OnMouseUp() const { return m_onMouseUp; }
  void SetOnMouseUp(MouseEvent handler) { m_onMouseUp = std::move(handler); }
  const KeyEvent& OnKeyDown() const { return m_onKeyDown; }
  void SetOnKeyDown(KeyEvent handler) { m_onKeyDown = std::move(handler); }
  const KeyEvent& OnKeyUp() const { return m_onKeyUp; }
  void SetOnKeyUp(KeyEvent handler) { m_onKeyUp = std::move(handler); }

 protected:
  // The Do-operations fire the events of their names.
  void DoChange() override;
  void DoProgress() override;
  void DoCustomDraw(raster::Bitmap& Picture, raster::Bitmap& Screen) override;
  void DoBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) override;
  void DoAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) override;
  void DoComplete() override;
  void DoStart(raster::Bitmap& Picture, raster::Bitmap& Screen) override;
  void DoStop() override;

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // DioramaCore's hooks.
  bool HandleAllocated() const override { return !Destroying(); }
  raster::Rect ClientRect() const override { return {0, 0, width(), height()}; }
  bool PictureHasGraphic() const override { return m_picture.HasGraphic(); }
  PixelSize PictureSize() const override { return {m_picture.Width(), m_picture.Height()}; }
  raster::Bitmap RenderPicture(raster::Pixel background) override { return m_picture.Render(background); }
  const raster::Bitmap* BackgroundGraphic() override;
  void PostTransitionMessage(int message, std::uint32_t serial) override;
  void ShowFrame() override;
  void Invalidate() override { update(); }
  void InvalidateRect(const raster::Rect& rect) override;
  void ProcessMessagesUntil(std::int64_t deadline) override;
  void FireBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) override;
  void FireAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) override;
  void LayoutOptionsChanged() override;

  void PictureChanged();
  void BgPictureChanged();
  void RefitAutoSize();
  void UpdatePictureTargetSize();
  void ApplyAlign();
  void WatchParent();
  void PaintFrame(QPainter& painter, const QRect& area);
  void PaintWhole(QPainter& painter, const QRegion& region);

  slideshow::Picture m_picture;
  slideshow::Picture m_bgPicture;
  std::optional<raster::Bitmap> m_bgGraphic;  // BgPicture on Color, made when first needed
  QColor m_color{0xFF, 0xFF, 0xFF};
  QColor m_frameColor{0xB4, 0xB4, 0xB4};
  bool m_autoSize = false;
  slideshow::Align m_align = slideshow::Align::alNone;
  QPointer<QWidget> m_watchedParent;
  QPointer<QEventLoop> m_waitLoop;  // loop mode's wait between frames
  raster::Bitmap m_canvasBitmap;    // the control's canvas for whole repaints
  QImage m_frameImage;              // where a new frame is stretched to

  CustomDrawEvent m_onStart;
  CustomDrawEvent m_onBeforeNewFrame;  // guarded by RenderLock
  CustomDrawEvent m_onAfterNewFrame;   // guarded by RenderLock
  CustomDrawEvent m_onCustomDraw;      // guarded by RenderLock
  NotifyEvent m_onProgress, m_onComplete, m_onStop, m_onChange;
  NotifyEvent m_onMouseEnter, m_onMouseLeave, m_onClick, m_onDblClick, m_onResize, m_onEnter, m_onExit;
  MouseEvent m_onMouseDown, m_onMouseMove, m_onMouseUp;
  KeyEvent m_onKeyDown, m_onKeyUp;
};

// The picture show as placed in windows: CustomDiorama with its properties
// published to Qt's property system (and so to .ui files).
class Diorama : public CustomDiorama {
  Q_OBJECT
  Q_PROPERTY(int Style READ Style WRITE SetStyle)
  Q_PROPERTY(QString StyleName READ StyleName WRITE SetStyleName STORED false)
  Q_PROPERTY(ushort Step READ Step WRITE SetStep)
  Q_PROPERTY(ushort Delay READ Delay WRITE SetDelay)
  Q_PROPERTY(bool ExactTiming READ ExactTiming WRITE SetExactTiming)
  Q_PROPERTY(bool Threaded READ Threaded WRITE SetThreaded)
  Q_PROPERTY(bool Manual READ Manual WRITE SetManual)
  Q_PROPERTY(bool Reverse READ Reverse WRITE SetReverse)
  Q_PROPERTY(bool OverDraw READ OverDraw WRITE SetOverDraw)
  Q_PROPERTY(bool Center READ Center WRITE SetCenter)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
  Q_PROPERTY(bool Proportional READ Proportional WRITE SetProportional)
  Q_PROPERTY(int FrameWidth READ FrameWidth WRITE SetFrameWidth)
  Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

 public:
  using CustomDiorama::CustomDiorama;
};

}  // namespace slideshow
