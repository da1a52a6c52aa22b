// The preview window: how soon the first page shows after the window opens,
// and what one repaint costs while scrolling a long report. Both against
// drawing one page into a QImage, measured in the same run.

#include "fake_pages.h"
#include "report/ui/preview.h"
#include "report/ui/preview_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

namespace {

using report::testing::FakePages;

constexpr int kBuildDelayMs = 50;  // the build timer of a report's ShowReport
constexpr int kLongReport = 2000;  // pages

// Seconds to draw one page at 100% into an image, the median of 15 rounds.
double DrawOnePageSeconds(const report::PreviewSource& source) {
  static double seconds = [&] {
    QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> rounds;
    for (int round = 0; round < 15; ++round) {
      QElapsedTimer timer;
      timer.start();
      image.fill(Qt::white);
      QPainter painter(&image);
      source.DrawPage(0, painter, QRectF(0, 0, 794, 1123));
      painter.end();
      rounds.push_back(double(timer.nsecsElapsed()) * 1e-9);
    }
    std::nth_element(rounds.begin(), rounds.begin() + 7, rounds.end());
    return rounds[7];
  }();
  return seconds;
}

void DrawOnePage(benchmark::State& state) {
  FakePages pages(1);
  QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    pages.DrawPage(0, painter, QRectF(0, 0, 794, 1123));
  }
  state.counters["ms"] = DrawOnePageSeconds(pages) * 1e3;
  state.counters["ratio"] = 1.0;
}

// From opening the window to the first page on screen: the window opens
// empty, the build timer fires after 50 ms, the first page is added and
// painted while the build goes on.
void FirstPaint(benchmark::State& state) {
  FakePages pages(0);
  double total = 0;
  for (auto _ : state) {
    pages.SetCount(0);
    QElapsedTimer clock;
    clock.start();
    report::PreviewForm form;
    report::PreviewWindowOptions options;
    options.maximized = false;
    form.Init(&pages, options);
    form.show();
    bool painted = false;
    double seconds = 0;
    struct Watch : QObject {
      report::Preview* view;
      bool* painted;
      double* seconds;
      QElapsedTimer* clock;
      bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !*painted) {
          // The paint event has not run yet; look just after it.
          QTimer::singleShot(0, view, [this] {
            if (!*painted && view->PagesPainted() > 0) {
              *painted = true;
              *seconds = double(clock->nsecsElapsed()) * 1e-9;
            }
          });
        }
        return false;
      }
    } watch;
    watch.view = form.PreviewView();
    watch.painted = &painted;
    watch.seconds = &seconds;
    watch.clock = &clock;
    form.PreviewView()->viewport()->installEventFilter(&watch);
    QTimer::singleShot(kBuildDelayMs, &form, [&] {
      form.BuildStarted();
      for (int i = 0; i < 30; ++i) {
        pages.Add();
        form.PageAdded(i);
      }
      form.BuildFinished();
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (painted || clock.elapsed() > 5000) loop.quit();
    });
    poll.start(1);
    loop.exec();
    form.PreviewView()->viewport()->removeEventFilter(&watch);
    form.hide();
    state.SetIterationTime(seconds);
    total += seconds;
  }
  FakePages one(1);
  const double perRun = total / double(state.iterations());
  state.counters["ms"] = perRun * 1e3;
  state.counters["ratio"] = perRun / DrawOnePageSeconds(one);
}

// A full scroll through a long report, one view height at a time, each view
// repainted: the mean and the slowest repaint.
void Repaint(benchmark::State& state) {
  FakePages pages(kLongReport);
  report::PreviewForm form;
  report::PreviewWindowOptions options;
  options.maximized = false;
  form.Init(&pages, options);
  form.show();
  QCoreApplication::processEvents();
  report::Preview* view = form.PreviewView();
  QScrollBar* bar = view->verticalScrollBar();
  double slowest = 0;
  double sum = 0;
  long repaints = 0;
  for (auto _ : state) {
    QElapsedTimer all;
    all.start();
    for (int y = 0; y <= bar->maximum(); y += view->viewport()->height()) {
      bar->setValue(y);
      QElapsedTimer one;
      one.start();
      view->viewport()->repaint();
      const double s = double(one.nsecsElapsed()) * 1e-9;
      slowest = std::max(slowest, s);
      sum += s;
      ++repaints;
    }
    state.SetIterationTime(double(all.nsecsElapsed()) * 1e-9);
  }
  const double mean = repaints ? sum / double(repaints) : 0;
  state.counters["repaints"] = double(repaints) / double(state.iterations());
  state.counters["mean_ms"] = mean * 1e3;
  state.counters["max_ms"] = slowest * 1e3;
  state.counters["ratio"] = mean / DrawOnePageSeconds(pages);
  state.counters["max_ratio"] = slowest / DrawOnePageSeconds(pages);
}

BENCHMARK(DrawOnePage)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPaint)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(Repaint)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
