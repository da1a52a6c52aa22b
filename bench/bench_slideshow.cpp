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
//   Stall                    the slideshow steps through the sample folder
//                            "Photos" (with its 6000 x 4000 JPEG) in a 1920 x
//                            1080 picture show; max_stall_ms = the longest
//                            time the UI thread did not get to its events,
//                            ratio = max_stall_ms / the display interval
//                            (goal: max_stall_ms below 50); max_busy_ms = the
//                            UI thread's own CPU time in the longest stretch
//                            between two of its events, which a loaded machine
//                            does not inflate; ui_decode_ms = what
//                            decoding the large JPEG on the UI thread would
//                            have cost instead
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QSize>
#include <QSlider>
#include <QTimer>

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
#include "raster/random.h"
#include "slideshow/diorama.h"
#include "slideshow/diorama_core.h"
#include "slideshow/picture_loader.h"
#include "slideshow/picture_readers.h"
#include "slideshow/settings_panel.h"
#include "slideshow/slideshow_controller.h"

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

// The widgets need an application; without a display the offscreen platform
// stands in (its screen is small, so the picture show is a 1920 x 1080 window
// of its own, which is the size the pictures are decoded for).
QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_slideshow";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static QApplication application(argc, argv);
  return application;
}

// Where the UI thread's time goes: each paint of the picture show timed.
class TimedDiorama : public slideshow::Diorama {
 public:
  double maxPaintMs = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QElapsedTimer timer;
    timer.start();
    slideshow::Diorama::paintEvent(event);
    maxPaintMs = std::max(maxPaintMs, timer.nsecsElapsed() / 1e6);
  }
};

// Times the slot a timer's timeout runs: from the timer event to the end of
// the slots connected before this one.
class StepTimer : public QObject {
 public:
  explicit StepTimer(QTimer& timer) {
    timer.installEventFilter(this);
    QObject::connect(&timer, &QTimer::timeout, this, [this] {
      if (m_clock.isValid()) maxMs = std::max(maxMs, m_clock.nsecsElapsed() / 1e6);
    });
  }
  double maxMs = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Timer) m_clock.start();
    return QObject::eventFilter(watched, event);
  }

 private:
  QElapsedTimer m_clock;
};

class QuietDialogs : public slideshow::SlideshowDialogs {
 public:
  void Warning(const QString& text) override { errors << text; }
  void Error(const QString& text) override { errors << text; }
  QStringList errors;
};

constexpr char kLargeJpeg[] = "Alba sul poligono.jpg";
constexpr int kDisplayIntervalMs = 500;  // the shortest the panel offers
constexpr int kMinimumSteps = 12;
constexpr int kMaximumSteps = 40;

void Stall(benchmark::State& state) {
  Application();
  const QString photos = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Photos"));
  if (!QDir(photos).exists(QString::fromLatin1(kLargeJpeg))) {
    state.SkipWithError("the sample folder Photos beside the program is missing; build make_sample_photos");
    return;
  }
  QWidget panel;
  TimedDiorama diorama;
  // The window's stored settings.
  diorama.SetStyle(0);
  diorama.SetStep(3);
  diorama.SetDelay(30);
  diorama.SetExactTiming(true);
  diorama.SetCenter(true);
  diorama.SetProportional(true);
  diorama.SetFrameWidth(1);
  diorama.SetColor(Qt::black);
  diorama.resize(kWidth, kHeight);
  diorama.show();
  // The window's first paint is not part of the show.
  {
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
  }
  slideshow::SlideshowControls controls = slideshow::MakeSettingsControls(&panel);
  controls.diorama = &diorama;
  QuietDialogs dialogs;
  QStringList files;

  double maxStall = 0;
  double maxBusy = 0;  // the UI thread's own CPU time between two probe ticks
  int longStalls = 0;  // above one frame at 60 Hz
  QString worstPicture;
  int steps = 0;
  bool sawLarge = false;
  double maxStepMs = 0;
  for (auto _ : state) {
    raster::SetRandSeed(20261210);
    slideshow::SlideshowController controller(controls, dialogs, files, &panel);
    controller.SetUp(photos);
    controls.tbDisplayInterval->setValue(kDisplayIntervalMs);
    StepTimer stepTimer(controller.Timer());
    // The probe: a fine timer on the UI thread; any gap beyond its period is
    // time the window could not answer.
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    double lastCpu = bench_support::ThreadSeconds();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      const double cpu = bench_support::ThreadSeconds();
      maxBusy = std::max(maxBusy, (cpu - lastCpu) * 1e3);
      lastCpu = cpu;
      const double gap = (now - last) / 1e6 - 1.0;
      if (gap > 1000.0 / 60) ++longStalls;
      if (gap > maxStall) {
        maxStall = gap;
        worstPicture = controller.CurrentImage();
      }
      last = now;
    });
    QString shownBefore;
    const auto onStep = [&] {
      if (controller.CurrentImage() == shownBefore || controller.CurrentImage().isEmpty()) return;
      shownBefore = controller.CurrentImage();
      ++steps;
      if (shownBefore == QLatin1String(kLargeJpeg)) sawLarge = true;
    };
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, onStep);
    QEventLoop loop;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if ((steps >= kMinimumSteps && sawLarge && !diorama.Busy()) || steps >= kMaximumSteps) loop.quit();
    });
    probe.start();
    watch.start();
    loop.exec();
    probe.stop();
    diorama.Stop();
    maxStepMs = std::max(maxStepMs, stepTimer.maxMs);
  }
  state.counters["max_stall_ms"] = maxStall;
  state.counters["ratio"] = maxStall / kDisplayIntervalMs;
  state.counters["steps"] = steps;
  state.counters["stalls_over_16ms"] = longStalls;
  state.counters["max_busy_ms"] = maxBusy;
  state.counters["max_timer_step_ms"] = maxStepMs;  // Execute with its Prepare and OnStart
  state.counters["max_paint_ms"] = diorama.maxPaintMs;
  state.counters["display_interval_ms"] = kDisplayIntervalMs;

  // The same large JPEG decoded where the show would wait for it.
  QElapsedTimer decode;
  decode.start();
  const slideshow::LoadedPicture large = slideshow::LoadPictureFile(
      QDir(photos).filePath(QString::fromLatin1(kLargeJpeg)), QString::fromLatin1(kLargeJpeg), QSize(kWidth, kHeight));
  state.counters["ui_decode_ms"] = decode.nsecsElapsed() / 1e6;
  benchmark::DoNotOptimize(large.bitmap.Width());
  std::string label = "worst while showing " + worstPicture.toStdString();
  if (!sawLarge) label += "; the large JPEG did not come up";
  if (!dialogs.errors.isEmpty()) label += "; " + dialogs.errors.join(QStringLiteral(" / ")).toStdString();
  state.SetLabel(label);
}

}  // namespace

BENCHMARK(Stall)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
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
