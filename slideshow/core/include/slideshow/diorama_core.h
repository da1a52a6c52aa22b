#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/geometry.h"
#include "raster/pixel.h"
#include "slideshow/critical_section.h"
#include "slideshow/timer_service.h"

namespace slideshow {

// How the background picture fills the area around the shown frame.
enum class BackgroundMode : std::uint8_t { bmNone = 0, bmTiled = 1, bmStretched = 2, bmCentered = 3 };

// The two messages the timer thread posts to the window; each carries the
// serial number of the transition it belongs to.
inline constexpr int DSM_FINISHED = 1025;
inline constexpr int DSM_PROGRESS = 1026;

inline constexpr int kCustomStyle = 0;   // frames drawn by OnCustomDraw
inline constexpr int kLastStyle = 176;   // the last row of the effect table

struct PixelSize {
  int Width = 0;   // pixels
  int Height = 0;  // pixels
};

// The picture show without its window: the transition from the frame shown to
// a new picture, its steps, timing and threads, the layout of the frame in the
// client area, and the painting of frame, border and background on a raster
// canvas. The window (a widget, a test, a benchmark) derives from it and
// supplies the hooks at the end of this class.
//
// Threads: everything runs on the thread that owns the window (the "UI
// thread"), except, in threaded mode, TimerProc and what it calls: NextStep,
// the progress step, UpdateFrame with the effect and the OnBeforeNewFrame,
// OnAfterNewFrame and OnCustomDraw hooks. The timer thread never calls the
// window: it posts DSM_PROGRESS and DSM_FINISHED, and the UI thread shows the
// frame and fires OnProgress, OnComplete and OnStop when they arrive. A message
// whose transition has ended or been replaced is dropped. Frame computation,
// painting and the layout rectangles are serialised by RenderLock.
class DioramaCore {
 public:
  DioramaCore();
  virtual ~DioramaCore();
  DioramaCore(const DioramaCore&) = delete;
  DioramaCore& operator=(const DioramaCore&) = delete;

  // --- Properties. Setters act only on a real change.
  int Style() const { return m_style.load(); }
  void SetStyle(int value);  // 0 .. 176; other values are ignored
  std::string StyleName() const;
  void SetStyleName(std::string_view value);  // "Custom" or a row's name, any case
  std::uint16_t Step() const { return m_step.load(); }
  void SetStep(std::uint16_t value);  // percentage points; 0 -> 1, above 100 -> 99
  std::uint16_t Delay() const { return m_delay.load(); }
  void SetDelay(std::uint16_t value) { m_delay.store(value); }  // milliseconds
  bool ExactTiming() const { return m_exactTiming.load(); }
  void SetExactTiming(bool value) { m_exactTiming.store(value); }
  bool Threaded() const { return m_threaded.load(); }
  void SetThreaded(bool value) { m_threaded.store(value); }
  bool Manual() const { return m_manual.load(); }
  void SetManual(bool value);
  bool Reverse() const { return m_reverse.load(); }
  void SetReverse(bool value) { m_reverse.store(value); }
  bool OverDraw() const { return m_overDraw; }
  void SetOverDraw(bool value) { m_overDraw = value; }
  bool Center() const { return m_center; }
  void SetCenter(bool value);
  bool Stretch() const { return m_stretch; }
  void SetStretch(bool value);
  bool Proportional() const { return m_proportional; }
  void SetProportional(bool value);
  BackgroundMode BgMode() const { return m_bgMode; }
  void SetBgMode(BackgroundMode value);
  int FrameWidth() const { return m_frameWidth; }  // pixels
  void SetFrameWidth(int value);                   // negative values count as 0

  // 0 .. 100. Writing has an effect only while Busy: the frame for the new
  // value is drawn and shown, and OnProgress follows.
  int Progress() const { return m_progress.load(); }
  void SetProgress(int value);
  bool Busy() const { return m_busy.load(); }

  // --- Operations.
  // Starts a transition from what is shown to the picture. Nothing happens
  // without a picture (or with one of no size) or while Busy. Returns at once
  // in threaded and manual mode; in loop mode when the transition has ended or
  // was switched to manual. An error frees the work bitmaps, clears Busy and
  // passes on.
  virtual void Execute();
  // Ends the running transition; the last frame stays and only OnStop fires.
  virtual void Stop();
  // When not Busy: shows only the background again.
  virtual void Clear();

  // The timer service of threaded mode: the system's, unless a caller (a test)
  // gives another. Set it only while no transition runs.
  void SetTimerService(TimerService& service) { m_timerService = &service; }

 protected:
  // --- Overridable operations. The Do-operations fire the events of their
  // names; the defaults do nothing.
  virtual void DrawBackground(raster::Canvas& Canvas, const raster::Rect& Rect);
  virtual void PaintContent(raster::Canvas& Canvas);
  virtual void DoChange() {}
  virtual void DoProgress() {}
  virtual void DoCustomDraw(raster::Bitmap& /*Picture*/, raster::Bitmap& /*Screen*/) {}
  virtual void DoBeforeNewFrame(raster::Bitmap& /*Picture*/, raster::Bitmap& /*Screen*/) {}
  virtual void DoAfterNewFrame(raster::Bitmap& /*Picture*/, raster::Bitmap& /*Screen*/) {}
  virtual void DoComplete() {}
  virtual void DoStart(raster::Bitmap& /*Picture*/, raster::Bitmap& /*Screen*/) {}
  virtual void DoStop() {}

  // --- The steps of a transition (see the .cpp files for what each does).
  void Prepare();
  void CalculatePicRect();
  void BuildBackgroundFrame();
  void UpdateFrame();
  bool NextStep();
  void Animate();
  void StartTimer();
  void StopTimer();
  void TimerProc(std::uint32_t serial);
  void Finish();
  void TileDraw(raster::Canvas& Canvas, const raster::Rect& Rect, const raster::Bitmap& Graphic);

  // The UI thread's handling of a posted DSM_PROGRESS or DSM_FINISHED.
  void HandleTransitionMessage(int message, std::uint32_t serial);

  // The window calls this first in its destructor: from then on Finish fires
  // no events.
  void MarkDestroying() { m_destroying.store(true); }
  bool Destroying() const { return m_destroying.load(); }

  // The colour behind the picture and of bmNone, and the border's colour.
  raster::Pixel ColorPixel() const { return m_color; }
  void SetColorPixel(raster::Pixel value) { m_color = value; }
  raster::Pixel FrameColorPixel() const { return m_frameColor; }
  void SetFrameColorPixel(raster::Pixel value);

  // Read access to the private state, for the window and for tests. Hold
  // RenderLock while reading the bitmaps or rectangles from another thread.
  CriticalSection& RenderLock() const { return m_renderLock; }
  const raster::Bitmap& Screen() const { return m_screen; }
  const raster::Bitmap* NewImage() const { return m_newImage ? &*m_newImage : nullptr; }
  const raster::Bitmap* OldImage() const { return m_oldImage ? &*m_oldImage : nullptr; }
  raster::Rect SourceRect() const { return m_sourceRect; }
  raster::Rect PicRect() const { return m_picRect; }
  bool Stopping() const { return m_stopping.load(); }
  bool OverBackground() const { return m_overBackground; }
  TimerId TimerID() const { return m_timerID.load(); }
  unsigned TimerResolution() const { return m_timerResolution.load(); }  // milliseconds
  std::int64_t LastTick() const { return m_lastTick.load(); }            // milliseconds
  std::uint32_t Serial() const { return m_serial.load(); }

  // Stretches Screen (SourceRect) onto the destination rectangle of Canvas,
  // without smoothing, with RenderLock and Screen's canvas lock held. A
  // negative width or height mirrors, as StretchBlt does.
  void StretchScreen(raster::Canvas& Canvas, int x, int y, int width, int height);

  // The millisecond tick count the steps are timed by (steady clock).
  virtual std::int64_t TickCount() const;

 private:
  // --- Hooks the window supplies.
  // Whether the window exists to post to and paint on.
  virtual bool HandleAllocated() const = 0;
  // The client area in client coordinates; (0, 0) is its top-left corner.
  virtual raster::Rect ClientRect() const = 0;
  // Whether Picture holds a graphic, and the graphic's size.
  virtual bool PictureHasGraphic() const = 0;
  virtual PixelSize PictureSize() const = 0;
  // Picture drawn at its own size on a field of `background`.
  virtual raster::Bitmap RenderPicture(raster::Pixel background) = 0;
  // BgPicture drawn on a field of Color; nullptr without a graphic or for an
  // empty one.
  virtual const raster::Bitmap* BackgroundGraphic() = 0;
  // Posts a message to the window's own queue; called from either thread.
  virtual void PostTransitionMessage(int message, std::uint32_t serial) = 0;
  // Puts Screen into PicRect on the window now (UI thread), without border or
  // background.
  virtual void ShowFrame() = 0;
  virtual void Invalidate() = 0;
  virtual void InvalidateRect(const raster::Rect& rect) = 0;  // without erasing
  // Loop mode: handles the window's messages until the tick count reaches
  // deadline (it may return earlier).
  virtual void ProcessMessagesUntil(std::int64_t deadline) = 0;
  // Called by UpdateFrame directly (not through the Do-operations).
  virtual void FireBeforeNewFrame(raster::Bitmap& /*Picture*/, raster::Bitmap& /*Screen*/) {}
  virtual void FireAfterNewFrame(raster::Bitmap& /*Picture*/, raster::Bitmap& /*Screen*/) {}
  // A layout property (Center, Stretch, Proportional, FrameWidth) changed.
  virtual void LayoutOptionsChanged() {}

  void ApplyProgress(int value, bool onTimerThread);
  bool StepProgress(bool onTimerThread);
  bool IsCurrent(std::uint32_t serial) const { return m_busy.load() && m_serial.load() == serial; }
  void FreeWorkImages();
  void RelayoutAndInvalidate();

  // Work bitmaps and layout; guarded by m_renderLock where two threads meet.
  raster::Bitmap m_screen;
  std::optional<raster::Bitmap> m_newImage;
  std::optional<raster::Bitmap> m_oldImage;
  raster::Rect m_sourceRect;
  raster::Rect m_picRect;
  bool m_overBackground = false;
  mutable CriticalSection m_renderLock;

  // Read by the timer thread as well.
  std::atomic<int> m_style{51};
  std::atomic<std::uint16_t> m_step{4};
  std::atomic<std::uint16_t> m_delay{40};
  std::atomic<bool> m_exactTiming{false};
  std::atomic<bool> m_threaded{true};
  std::atomic<bool> m_manual{false};
  std::atomic<bool> m_reverse{false};
  std::atomic<int> m_progress{0};
  std::atomic<bool> m_busy{false};
  std::atomic<bool> m_stopping{false};
  std::atomic<bool> m_destroying{false};
  std::atomic<std::uint32_t> m_serial{0};
  std::atomic<TimerId> m_timerID{0};
  std::atomic<unsigned> m_timerResolution{0};
  std::atomic<std::int64_t> m_lastTick{0};
  std::exception_ptr m_timerError;  // guarded by m_renderLock

  // UI thread only.
  bool m_overDraw = true;
  bool m_center = false;
  bool m_stretch = false;
  bool m_proportional = false;
  BackgroundMode m_bgMode = BackgroundMode::bmTiled;
  int m_frameWidth = 0;
  raster::Pixel m_color;
  raster::Pixel m_frameColor;
  TimerService* m_timerService;
};

}  // namespace slideshow
