// The transition itself: properties, Execute, the steps and their timing, the
// timer, and the end of a transition. Layout and painting are in
// diorama_paint.cpp.
#include "slideshow/diorama_core.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "effects/effect_table.h"
#include "effects/frame.h"
#include "raster/numeric.h"

namespace slideshow {

namespace {

constexpr std::string_view kCustomName = "Custom";

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

[[noreturn]] void ThrowOutOfMemory(int width, int height) {
  throw std::runtime_error("Memoria insufficiente per un'immagine di " + std::to_string(width) +
                           " x " + std::to_string(height) + " pixel.");
}

}  // namespace

DioramaCore::DioramaCore()
    : m_color(raster::MakePixel(0xFF, 0xFF, 0xFF, 0xFF)),
      m_frameColor(raster::MakePixel(0xB4, 0xB4, 0xB4, 0xFF)),
      m_timerService(&SystemTimerService()) {}

DioramaCore::~DioramaCore() {
  // The window stops the transition in its own destructor, while its hooks
  // still work; this only makes sure that no tick outlives the object.
  StopTimer();
}

// --- Properties

void DioramaCore::SetStyle(int value) {
  if (value < kCustomStyle || value > kLastStyle || value == m_style.load()) return;
  m_style.store(value);
  if (m_busy.load() && m_manual.load() && !m_stopping.load()) {
    UpdateFrame();
    InvalidateRect(m_picRect);
  }
}

std::string DioramaCore::StyleName() const {
  const int style = m_style.load();
  if (style == kCustomStyle) return std::string(kCustomName);
  const effects::Effect* row = effects::EffectRow(style);
  return row != nullptr ? std::string(row->Name) : std::string();
}

void DioramaCore::SetStyleName(std::string_view value) {
  if (EqualsIgnoringAsciiCase(value, kCustomName)) {
    SetStyle(kCustomStyle);
    return;
  }
  if (const std::optional<int> style = effects::FindEffectStyle(value)) SetStyle(*style);
}

void DioramaCore::SetStep(std::uint16_t value) {
  // Above 100 is taken as 99 rather than 100, as the stored settings expect.
  if (value == 0) value = 1;
  if (value > 100) value = 99;
  m_step.store(value);
}

void DioramaCore::SetManual(bool value) {
  if (m_manual.exchange(value) == value) return;
  StopTimer();
  if (!m_busy.load()) {
    m_progress.store(m_reverse.load() ? 100 : 0);
    return;
  }
  if (!value) Animate();
}

void DioramaCore::SetCenter(bool value) {
  if (value == m_center) return;
  m_center = value;
  RelayoutAndInvalidate();
}

void DioramaCore::SetStretch(bool value) {
  if (value == m_stretch) return;
  m_stretch = value;
  RelayoutAndInvalidate();
}

void DioramaCore::SetProportional(bool value) {
  if (value == m_proportional) return;
  m_proportional = value;
  RelayoutAndInvalidate();
}

void DioramaCore::SetFrameWidth(int value) {
  value = std::max(value, 0);
  if (value == m_frameWidth) return;
  m_frameWidth = value;
  LayoutOptionsChanged();
  if (m_screen.Empty()) return;
  CalculatePicRect();
  Invalidate();
}

void DioramaCore::RelayoutAndInvalidate() {
  CalculatePicRect();
  if (!m_screen.Empty()) Invalidate();
  LayoutOptionsChanged();
}

void DioramaCore::SetFrameColorPixel(raster::Pixel value) {
  if (value == m_frameColor) return;
  m_frameColor = value;
  if (m_frameWidth != 0 && !m_screen.Empty()) Invalidate();
}

void DioramaCore::SetBgMode(BackgroundMode value) {
  if (value == m_bgMode) return;
  m_bgMode = value;
  if (BackgroundGraphic() == nullptr) return;
  if (m_overBackground && m_oldImage) BuildBackgroundFrame();
  Invalidate();
}

// --- Operations

void DioramaCore::Execute() {
  if (!PictureHasGraphic() || m_busy.load()) return;
  // A graphic without pixels has no frames to show; it is refused like none.
  const PixelSize size = PictureSize();
  if (size.Width <= 0 || size.Height <= 0) return;
  std::uint32_t serial = 0;
  {
    const std::lock_guard lock(m_renderLock);
    serial = m_serial.load() + 1;
    m_serial.store(serial);
    m_timerError = nullptr;
    m_busy.store(true);
  }
  try {
    Prepare();
    // OnStart may have stopped the transition (or even started another).
    if (!IsCurrent(serial)) return;
    if (!m_manual.load() && !m_stopping.load()) Animate();
  } catch (...) {
    if (m_serial.load() == serial) {
      StopTimer();
      FreeWorkImages();
      m_busy.store(false);
    }
    throw;
  }
}

void DioramaCore::Prepare() {
  const PixelSize size = PictureSize();
  const int W = size.Width;
  const int H = size.Height;
  raster::Bitmap picture = RenderPicture(m_color);
  if (picture.Width() != W || picture.Height() != H) ThrowOutOfMemory(W, H);
  {
    const std::lock_guard lock(m_renderLock);
    if (m_overDraw && !m_screen.Empty() && m_screen.Width() == W && m_screen.Height() == H) {
      m_overBackground = false;
      m_oldImage.emplace(m_screen);
    } else {
      // Its content comes from BuildBackgroundFrame, through CalculatePicRect.
      m_overBackground = true;
      m_oldImage.emplace(W, H, m_color);
    }
    // The picture is the transition's own copy, so Picture may be reloaded
    // from OnStart; it keeps one handle for all frames (the effects' seed).
    m_newImage.emplace(std::move(picture));
    if (m_oldImage->Empty() || !m_screen.SetSize(W, H)) ThrowOutOfMemory(W, H);
    m_sourceRect = {0, 0, W, H};
  }
  // Set before the layout, whose manual redraw would otherwise draw a frame
  // at the last transition's progress.
  m_progress.store(m_reverse.load() ? 100 : 0);
  CalculatePicRect();
  {
    // Until the first step the start frame shows, also when Progress is 100.
    const std::lock_guard lock(m_renderLock);
    m_screen.Assign(*m_oldImage);
  }
  Invalidate();
  DoStart(*m_newImage, *m_oldImage);
}

void DioramaCore::UpdateFrame() {
  const std::lock_guard lock(m_renderLock);
  if (!m_newImage || !m_oldImage) return;
  raster::Bitmap& image = *m_newImage;
  const raster::CanvasLock imageLock(image.Canvas());
  const raster::CanvasLock screenLock(m_screen.Canvas());
  raster::Canvas& screen = m_screen.Canvas();
  // A handler may leave a clip region or a moved origin on Screen; the start
  // frame is still copied whole, and the effect gets the clean canvas its
  // contract promises.
  const auto resetScreen = [&] {
    raster::SelectClipRgn(screen, nullptr);
    raster::SetViewportOrgEx(screen, 0, 0);
  };
  resetScreen();
  {
    const raster::CanvasLock oldLock(m_oldImage->Canvas());
    raster::BitBlt(screen, 0, 0, image.Width(), image.Height(), *m_oldImage, 0, 0, raster::SRCCOPY);
  }
  FireBeforeNewFrame(image, m_screen);
  resetScreen();
  const int progress = m_progress.load();
  const int style = m_style.load();
  if (progress == 100 || (progress != 0 && style != kCustomStyle)) {
    // The last frame is always the whole new picture, whatever the style.
    effects::DrawEffectFrame(style, m_screen, image, progress);
  } else if (progress != 0) {
    DoCustomDraw(image, m_screen);
  }
  FireAfterNewFrame(image, m_screen);
}

void DioramaCore::SetProgress(int value) { ApplyProgress(value, false); }

void DioramaCore::ApplyProgress(int value, bool onTimerThread) {
  value = std::clamp(value, 0, 100);
  std::uint32_t serial = 0;
  {
    const std::lock_guard lock(m_renderLock);
    // Checked under the lock: a tick that fired just before a Stop must not
    // draw into the bitmaps that Finish frees.
    if (!m_busy.load() || value == m_progress.load()) return;
    m_progress.store(value);
    UpdateFrame();
    serial = m_serial.load();
    if (onTimerThread) {
      // The window is the UI thread's: it shows the frame when this arrives.
      PostTransitionMessage(DSM_PROGRESS, serial);
      return;
    }
  }
  if (!HandleAllocated()) {
    DoProgress();
    return;
  }
  ShowFrame();
  if (m_threaded.load() && !m_manual.load()) {
    PostTransitionMessage(DSM_PROGRESS, serial);
  } else {
    DoProgress();
  }
}

bool DioramaCore::NextStep() { return StepProgress(false); }

bool DioramaCore::StepProgress(bool onTimerThread) {
  const std::int64_t now = TickCount();
  int step = m_step.load();
  const int delay = m_delay.load();
  // Without a period there is nothing to scale by; the step stays as it is.
  if (m_exactTiming.load() && delay > 0) {
    const std::int64_t elapsed = std::clamp<std::int64_t>(now - m_lastTick.load(), 0, INT_MAX);
    step = raster::MulDiv(step, static_cast<int>(elapsed), delay);
    if (step < 0 || step > 100) step = 100;  // beyond int range: the rest of the way
  }
  m_lastTick.store(now);
  const int progress = m_progress.load();
  if (m_reverse.load()) {
    ApplyProgress(step < progress ? progress - step : 0, onTimerThread);
  } else {
    ApplyProgress(progress < 100 - step ? progress + step : 100, onTimerThread);
  }
  // Read again: in loop mode OnProgress may just have turned the direction.
  const int after = m_progress.load();
  return m_reverse.load() ? after != 0 : after != 100;
}

void DioramaCore::Animate() {
  m_lastTick.store(TickCount());
  if (m_threaded.load()) {
    StartTimer();
    return;
  }
  const std::uint32_t serial = m_serial.load();
  for (;;) {
    const bool more = NextStep();
    // OnProgress may have stopped this transition, or started another one.
    if (!IsCurrent(serial)) return;
    if (!more || m_manual.load() || m_stopping.load()) break;
    const std::int64_t until = TickCount() + m_delay.load();
    while (TickCount() < until) {
      ProcessMessagesUntil(until);
      if (!IsCurrent(serial)) return;
    }
  }
  // Switched to manual: the transition stays Busy where it is.
  if (m_stopping.load() || !m_manual.load()) Finish();
}

void DioramaCore::StartTimer() {
  if (m_timerID.load() != 0 || !HandleAllocated()) return;
  TimerPeriodRange range;
  if (!m_timerService->QueryPeriodRange(range)) range = {0, 0};
  unsigned delay = m_delay.load();
  if (delay > range.Maximum) delay = range.Maximum;
  unsigned resolution = delay / 10;
  if (resolution < range.Minimum) {
    resolution = range.Minimum;
    if (range.Minimum > delay) delay = range.Minimum;
  }
  delay = std::min<unsigned>(delay, UINT16_MAX);
  m_delay.store(static_cast<std::uint16_t>(delay));
  m_timerResolution.store(resolution);
  if (delay == 0) return;  // no period: the transition waits for Stop
  // Held while starting, so that no tick runs before TimerID is known.
  const std::lock_guard lock(m_renderLock);
  m_timerService->BeginResolution(resolution);
  const std::uint32_t serial = m_serial.load();
  const TimerId id = m_timerService->StartPeriodic(delay, resolution, [this, serial] { TimerProc(serial); });
  if (id == 0) {
    m_timerService->EndResolution(resolution);
    throw std::runtime_error("Impossibile avviare il temporizzatore della transizione.");
  }
  m_timerID.store(id);
}

void DioramaCore::StopTimer() {
  const TimerId id = m_timerID.exchange(0);
  if (id != 0) {
    // Waiting for a running tick while holding the lock it needs would never
    // end; such a tick finds the timer gone when it gets the lock.
    m_timerService->Kill(id, !m_renderLock.HeldByCurrentThread());
    m_timerService->EndResolution(m_timerResolution.load());
  }
  // The barrier also when the timer thread stopped the timer itself: a tick
  // still computing its frame holds the lock until it is done.
  std::this_thread::yield();
  const std::lock_guard barrier(m_renderLock);
}

void DioramaCore::TimerProc(std::uint32_t serial) {
  // The whole tick holds the lock, and touches nothing once it lets go: a
  // StopTimer on the UI thread that got past the lock may free everything.
  const std::lock_guard lock(m_renderLock);
  if (!IsCurrent(serial) || m_stopping.load() || m_manual.load() || m_timerID.load() == 0) return;
  try {
    if (StepProgress(true)) return;
  } catch (...) {
    // Reported on the UI thread, which can show it.
    m_timerError = std::current_exception();
  }
  StopTimer();
  PostTransitionMessage(DSM_FINISHED, serial);
}

void DioramaCore::HandleTransitionMessage(int message, std::uint32_t serial) {
  // Messages of an ended or replaced transition are dropped.
  if (!IsCurrent(serial)) return;
  if (message == DSM_PROGRESS) {
    ShowFrame();
    DoProgress();
    return;
  }
  if (message != DSM_FINISHED || m_stopping.load()) return;
  std::exception_ptr error;
  {
    const std::lock_guard lock(m_renderLock);
    error = std::exchange(m_timerError, nullptr);
  }
  if (!error) {
    Finish();
    return;
  }
  // A handler failed on the timer thread: the transition ends as a failed
  // Execute does (no events), and the error goes to whoever shows errors.
  FreeWorkImages();
  m_busy.store(false);
  std::rethrow_exception(error);
}

void DioramaCore::FreeWorkImages() {
  const std::lock_guard lock(m_renderLock);
  m_newImage.reset();
  m_oldImage.reset();
}

void DioramaCore::Finish() {
  m_busy.store(false);
  // A run switched to manual and back after its last tick restarted the
  // timer before the end message arrived; no timer may outlive its run.
  StopTimer();
  FreeWorkImages();
  if (Destroying()) return;
  if (!m_stopping.load()) DoComplete();
  DoStop();
}

void DioramaCore::Stop() {
  if (!m_busy.load() || m_stopping.load()) return;
  m_stopping.store(true);
  try {
    StopTimer();
    Finish();
  } catch (...) {
    m_stopping.store(false);
    throw;
  }
  m_stopping.store(false);
}

void DioramaCore::Clear() {
  if (m_busy.load()) return;
  {
    const std::lock_guard lock(m_renderLock);
    if (m_screen.Empty()) return;
    m_screen.SetSize(0, 0);
    m_sourceRect = {};
    m_picRect = {};
  }
  Invalidate();
}

std::int64_t DioramaCore::TickCount() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace slideshow
