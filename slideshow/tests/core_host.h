#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "raster/bitmap.h"
#include "raster/pixel.h"
#include "slideshow/diorama_core.h"

namespace slideshow_test {

// A picture whose every pixel differs from its neighbours and from those of
// another seed, so that a frame shows where each pixel came from.
inline raster::Bitmap Card(int width, int height, std::uint8_t seed) {
  raster::Bitmap card(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      card.PixelRow(y)[x] = raster::MakePixel(std::uint8_t(x * 7 + seed), std::uint8_t(y * 13 + seed),
                                              seed, 0xFF);
    }
  }
  return card;
}

inline raster::Bitmap Solid(int width, int height, raster::Pixel pixel) {
  return raster::Bitmap(width, height, pixel);
}

inline bool SameImage(const raster::Bitmap& a, const raster::Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.PixelRow(y)[x] != b.PixelRow(y)[x]) return false;
    }
  }
  return true;
}

// The picture show without a widget: a message queue stands in for the
// window's, the test's thread is the UI thread, and the events are written
// down in the order they fire.
class CoreHost : public slideshow::DioramaCore {
 public:
  // A delay of 1 ms keeps the tests short, unless the defaults are asked for.
  explicit CoreHost(bool keepDefaults = false) : m_uiThread(std::this_thread::get_id()) {
    if (!keepDefaults) SetDelay(1);
  }
  ~CoreHost() override {
    MarkDestroying();
    Stop();
  }

  // --- What the "window" holds and does; set by the tests.
  std::optional<raster::Bitmap> picture;
  std::optional<raster::Bitmap> background;
  raster::Rect client{0, 0, 100, 100};
  bool failRender = false;
  std::function<void()> onStart, onProgress, onComplete, onStop;
  std::function<void(raster::Bitmap&, raster::Bitmap&)> onCustomDraw, onBeforeNewFrame, onAfterNewFrame;

  // --- What the tests read.
  std::vector<std::string> events;  // "Start", "Progress 4", "Complete", "Stop"
  std::vector<int> progressSeen;
  int framesShown = 0;
  int invalidations = 0;
  std::atomic<bool> eventOffUiThread{false};
  std::atomic<bool> frameOnUiThread{false};
  std::atomic<int> framesComputed{0};

  // Fake time for the exact-timing rules; real time unless set.
  void UseFakeTime(std::int64_t now) {
    m_fakeNow.store(now);
    m_fakeTime.store(true);
  }
  void AdvanceTime(std::int64_t milliseconds) { m_fakeNow.fetch_add(milliseconds); }

  // Handles the messages queued now.
  void PumpMessages() {
    for (;;) {
      std::optional<Message> message = TakeMessage();
      if (!message) return;
      HandleTransitionMessage(message->message, message->serial);
    }
  }
  // Handles messages until done() holds; false after the timeout.
  bool PumpUntil(const std::function<bool()>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      WaitForMessage(std::chrono::steady_clock::now() + std::chrono::milliseconds(5));
      PumpMessages();
    }
    return true;
  }
  std::size_t QueuedMessages() {
    const std::lock_guard lock(m_queueMutex);
    return m_queue.size();
  }

  using DioramaCore::BuildBackgroundFrame;
  using DioramaCore::CalculatePicRect;
  using DioramaCore::FrameColorPixel;
  using DioramaCore::LastTick;
  using DioramaCore::NewImage;
  using DioramaCore::NextStep;
  using DioramaCore::OldImage;
  using DioramaCore::OverBackground;
  using DioramaCore::PaintContent;
  using DioramaCore::PicRect;
  using DioramaCore::RenderLock;
  using DioramaCore::Screen;
  using DioramaCore::Serial;
  using DioramaCore::SetColorPixel;
  using DioramaCore::SetFrameColorPixel;
  using DioramaCore::ColorPixel;
  using DioramaCore::SourceRect;
  using DioramaCore::TimerID;
  using DioramaCore::TimerResolution;

 protected:
  void DoStart(raster::Bitmap&, raster::Bitmap&) override {
    Record("Start");
    if (onStart) onStart();
  }
  void DoProgress() override {
    Record("Progress " + std::to_string(Progress()));
    progressSeen.push_back(Progress());
    if (onProgress) onProgress();
  }
  void DoComplete() override {
    Record("Complete");
    if (onComplete) onComplete();
  }
  void DoStop() override {
    Record(Busy() ? "Stop while busy" : "Stop");
    if (onStop) onStop();
  }
  void DoCustomDraw(raster::Bitmap& Picture, raster::Bitmap& Screen) override {
    if (onCustomDraw) onCustomDraw(Picture, Screen);
  }
  std::int64_t TickCount() const override {
    return m_fakeTime.load() ? m_fakeNow.load() : DioramaCore::TickCount();
  }

 private:
  struct Message {
    int message;
    std::uint32_t serial;
  };

  void Record(const std::string& event) {
    if (std::this_thread::get_id() != m_uiThread) eventOffUiThread.store(true);
    events.push_back(event);
  }

  bool HandleAllocated() const override { return true; }
  raster::Rect ClientRect() const override { return client; }
  bool PictureHasGraphic() const override { return picture.has_value(); }
  slideshow::PixelSize PictureSize() const override {
    return picture ? slideshow::PixelSize{picture->Width(), picture->Height()} : slideshow::PixelSize{};
  }
  raster::Bitmap RenderPicture(raster::Pixel) override {
    if (failRender) throw std::runtime_error("picture cannot be drawn");
    return *picture;
  }
  const raster::Bitmap* BackgroundGraphic() override {
    return background && !background->Empty() ? &*background : nullptr;
  }
  void PostTransitionMessage(int message, std::uint32_t serial) override {
    {
      const std::lock_guard lock(m_queueMutex);
      m_queue.push_back({message, serial});
    }
    m_queued.notify_all();
  }
  void ShowFrame() override {
    if (std::this_thread::get_id() != m_uiThread) eventOffUiThread.store(true);
    ++framesShown;
  }
  void Invalidate() override { ++invalidations; }
  void InvalidateRect(const raster::Rect&) override { ++invalidations; }
  void ProcessMessagesUntil(std::int64_t deadline) override {
    PumpMessages();
    if (m_fakeTime.load()) {
      if (m_fakeNow.load() < deadline) m_fakeNow.store(deadline);
      return;
    }
    const std::int64_t wait = deadline - DioramaCore::TickCount();
    if (wait > 0) WaitForMessage(std::chrono::steady_clock::now() + std::chrono::milliseconds(wait));
    PumpMessages();
  }
  void FireBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) override {
    if (std::this_thread::get_id() == m_uiThread) frameOnUiThread.store(true);
    ++framesComputed;
    if (onBeforeNewFrame) onBeforeNewFrame(Picture, Screen);
  }
  void FireAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) override {
    if (onAfterNewFrame) onAfterNewFrame(Picture, Screen);
  }

  std::optional<Message> TakeMessage() {
    const std::lock_guard lock(m_queueMutex);
    if (m_queue.empty()) return std::nullopt;
    const Message message = m_queue.front();
    m_queue.pop_front();
    return message;
  }
  void WaitForMessage(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(m_queueMutex);
    m_queued.wait_until(lock, until, [&] { return !m_queue.empty(); });
  }

  const std::thread::id m_uiThread;
  std::atomic<bool> m_fakeTime{false};
  std::atomic<std::int64_t> m_fakeNow{0};
  std::mutex m_queueMutex;
  std::condition_variable m_queued;
  std::deque<Message> m_queue;
};

}  // namespace slideshow_test
