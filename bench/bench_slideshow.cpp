// The picture show's two hot paths: how closely a threaded transition keeps
// its planned duration, and what decoding a large JPEG for the screen costs.
//
//   Duration/ExactTiming:1   ratio = measured / planned duration (goal 1 +- 0.05),
//                            measured from the start frame (OnStart) to OnStop;
//                            ratio_execute from the call of Execute, which also
//                            prepares the two full-size work bitmaps
//   Duration/ExactTiming:0   the same without the timing correction
//   .../FrameMs:60           every frame takes 60 ms, longer than the period:
//                            the case the timing correction is for
//   JpegDecode/Full          24-megapixel JPEG decoded whole (the baseline)
//   JpegDecode/ToDisplay     the same JPEG for a 1920 x 1080 display rectangle;
//                            ratio = its time / the full decode's
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QSize>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "effects/effect_table.h"
#include "slideshow/diorama_core.h"
#include "slideshow/picture_readers.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = bench_support::kFrameWidth;    // pixels
constexpr int kHeight = bench_support::kFrameHeight;  // pixels
constexpr int kCopyStyle = 3;                         // "Slide in from right": block copies

// A picture show without a window: the benchmark's thread is the UI thread
// and handles the posted messages; each frame is stretched to a display-sized
// bitmap, as the widget does.
class HeadlessDiorama : public slideshow::DioramaCore {
 public:
  HeadlessDiorama() : m_picture(kWidth, kHeight, raster::MakePixel(200, 120, 40, 0xFF)), m_display(kWidth, kHeight) {}
  ~HeadlessDiorama() override {
    MarkDestroying();
    Stop();
  }

  Clock::time_point started;               // when OnStart fired
  std::chrono::milliseconds frameCost{0};  // extra time each frame takes

  // Runs one transition to its end; gives the frames shown.
  int RunToEnd() {
    m_stopped = false;
    m_frames = 0;
    Execute();
    while (!m_stopped) {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [&] { return !m_queue.empty(); });
      const auto [message, serial] = m_queue.front();
      m_queue.pop_front();
      lock.unlock();
      HandleTransitionMessage(message, serial);
    }
    return m_frames;
  }

 protected:
  void DoStart(raster::Bitmap&, raster::Bitmap&) override { started = Clock::now(); }
  void DoStop() override { m_stopped = true; }

 private:
  bool HandleAllocated() const override { return true; }
  raster::Rect ClientRect() const override { return {0, 0, kWidth, kHeight}; }
  bool PictureHasGraphic() const override { return true; }
  slideshow::PixelSize PictureSize() const override { return {kWidth, kHeight}; }
  raster::Bitmap RenderPicture(raster::Pixel) override { return m_picture; }
  const raster::Bitmap* BackgroundGraphic() override { return nullptr; }
  void PostTransitionMessage(int message, std::uint32_t serial) override {
    {
      const std::lock_guard lock(m_mutex);
      m_queue.emplace_back(message, serial);
    }
    m_wake.notify_one();
  }
  void ShowFrame() override {
    ++m_frames;
    StretchScreen(m_display.Canvas(), 0, 0, kWidth, kHeight);
  }
  void Invalidate() override {}
  void InvalidateRect(const raster::Rect&) override {}
  void ProcessMessagesUntil(std::int64_t) override {}
  void FireAfterNewFrame(raster::Bitmap&, raster::Bitmap&) override {
    if (frameCost.count() > 0) std::this_thread::sleep_for(frameCost);
  }

  raster::Bitmap m_picture;
  raster::Bitmap m_display;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::pair<int, std::uint32_t>> m_queue;
  bool m_stopped = false;
  int m_frames = 0;
};

void Duration(benchmark::State& state) {
  HeadlessDiorama diorama;
  diorama.SetStyle(kCopyStyle);
  diorama.SetStep(4);
  diorama.SetDelay(40);
  diorama.SetExactTiming(state.range(0) != 0);
  diorama.SetOverDraw(false);
  diorama.frameCost = std::chrono::milliseconds(state.range(1));
  const double planned = 100.0 / diorama.Step() * diorama.Delay() / 1000.0;  // seconds
  double measured = 0;
  double withPrepare = 0;
  int frames = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    frames = diorama.RunToEnd();
    const Clock::time_point end = Clock::now();
    const double seconds = std::chrono::duration<double>(end - diorama.started).count();
    state.SetIterationTime(seconds);
    measured += seconds;
    withPrepare += std::chrono::duration<double>(end - start).count();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["ratio"] = measured / runs / planned;
  state.counters["ratio_execute"] = withPrepare / runs / planned;
  state.counters["frames"] = frames;
  const effects::Effect* row = effects::EffectRow(kCopyStyle);
  state.SetLabel(row != nullptr && row->Proc != nullptr ? "row 3, " + std::string(row->Name)
                                                        : "plain copy (row 3 has no procedure yet)");
}

// A 6000 x 4000 picture with smooth areas and detail, as photographs have.
QByteArray MakeLargeJpeg() {
  QImage picture(6000, 4000, QImage::Format_RGB32);
  std::uint32_t noise = 12345;
  for (int y = 0; y < picture.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>(noise >> 28);
      row[x] = qRgb((x * 255 / picture.width() + grain) & 0xFF,
                    (y * 255 / picture.height() + ((x / 40 + y / 40) % 2) * 30) & 0xFF, ((x + y) / 50 * 7 + grain) & 0xFF);
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpg");
  writer.setQuality(90);
  if (!writer.write(picture)) std::abort();
  return bytes;
}

const QByteArray& LargeJpeg() {
  static const QByteArray jpeg = MakeLargeJpeg();
  return jpeg;
}

double DecodeSeconds(const QSize& target) {
  const slideshow::PictureReader reader = slideshow::FindPictureReader(QStringLiteral("jpg"));
  const double start = bench_support::ThreadSeconds();
  const slideshow::DecodedPicture picture = reader(LargeJpeg(), slideshow::PictureReadRequest{target});
  benchmark::DoNotOptimize(picture.bitmap.ScanLine(0));
  return bench_support::ThreadSeconds() - start;
}

// The full decode's time in this run: the median of five.
double FullDecodeSeconds() {
  static const double seconds = [] {
    std::vector<double> rounds;
    for (int i = 0; i < 5; ++i) rounds.push_back(DecodeSeconds(QSize()));
    std::nth_element(rounds.begin(), rounds.begin() + 2, rounds.end());
    return rounds[2];
  }();
  return seconds;
}

void JpegDecode(benchmark::State& state, QSize target) {
  LargeJpeg();
  const double baseline = FullDecodeSeconds();
  const slideshow::PictureReader reader = slideshow::FindPictureReader(QStringLiteral("jpg"));
  QSize decoded;
  double seconds = 0;
  for (auto _ : state) {
    const double start = bench_support::ThreadSeconds();
    const slideshow::DecodedPicture picture = reader(LargeJpeg(), slideshow::PictureReadRequest{target});
    seconds += bench_support::ThreadSeconds() - start;
    decoded = QSize(picture.bitmap.Width(), picture.bitmap.Height());
    benchmark::DoNotOptimize(picture.bitmap.ScanLine(0));
  }
  state.counters["ratio"] = seconds / static_cast<double>(state.iterations()) / baseline;
  state.counters["width"] = decoded.width();
  state.counters["height"] = decoded.height();
}

}  // namespace

BENCHMARK(Duration)
    ->ArgNames({"ExactTiming", "FrameMs"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 60})
    ->Args({0, 60})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(JpegDecode, Full, QSize())->Name("JpegDecode/Full")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(JpegDecode, ToDisplay, QSize(kWidth, kHeight))
    ->Name("JpegDecode/ToDisplay")
    ->Unit(benchmark::kMillisecond);
