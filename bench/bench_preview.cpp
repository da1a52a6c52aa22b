// The preview window over the band engine's pages: how soon the first page
// is on screen after ShowReport, and what one repaint costs while scrolling
// through a 2,000-page cost list. Both against drawing one page of the same
// report into a QImage, measured in the same run.

#include "report/engine/engine.h"
#include "report/engine/rows_dataset.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/prepared_pages.h"
#include "report/ui/prepared_pages_source.h"
#include "report/ui/preview.h"
#include "report/ui/preview_form.h"
#include "report/ui/show_report.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

using namespace report;
using expr::FieldType;
using expr::Value;

constexpr int kRowsPerPage = 39;
constexpr int kLongReport = 2000;  // pages

// The pistol cost list over rows in memory.
struct CostList {
  explicit CostList(int rowCount) {
    for (int i = 0; i < rowCount; ++i)
      rows.AddRow({Value("9x21 n." + std::to_string(i + 1)), Value(25.0), Value(100.0 + i % 7),
                   Value(30.0), Value(1000.0), Value(154.32), Value(10.0), Value(0.5),
                   Value(5.0)});
    TemplateError error;
    if (!LoadTemplate(report, QStringLiteral(VERSANTO_SOURCE_DIR "/report/tests/data/cost_list.xml"),
                      &error)) {
      std::fprintf(stderr, "%s\n", qPrintable(error.Text()));
      std::abort();
    }
    auto options = report.PreviewOptions();
    options.maximized = false;
    report.SetPreviewOptions(options);
  }
  void Build() {
    Engine engine(report, pages);
    engine.SetProcessEvents(false);
    if (!engine.BuildReport(true)) std::abort();
  }

  RowsDataSet rows{QStringLiteral("repDBDataset1"),
                   {{"tipologia", FieldType::fftString}, {"CoPalle"}, {"Palle"}, {"CoInn"},
                    {"Inneschi"}, {"CoPol"}, {"Polvere"}, {"CoBoss"}, {"Bossoli"}}};
  Report report;
  PreparedPages pages;
};

CostList& LongList() {
  static CostList* list = [] {
    auto* l = new CostList(kLongReport * kRowsPerPage);
    l->Build();
    return l;
  }();
  return *list;
}

// CPU seconds to draw the second page (a full one) at 100% into an image:
// the median of 15 rounds.
double DrawOnePageSeconds() {
  static const double seconds = [] {
    CostList& list = LongList();
    QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> rounds;
    for (int round = 0; round < 15; ++round) {
      const double start = bench_support::ThreadSeconds();
      image.fill(Qt::white);
      QPainter painter(&image);
      list.pages.DrawPage(1, painter, 1.0, QPointF(0, 0));
      painter.end();
      rounds.push_back(bench_support::ThreadSeconds() - start);
    }
    std::nth_element(rounds.begin(), rounds.begin() + 7, rounds.end());
    return rounds[7];
  }();
  return seconds;
}

void DrawOnePage(benchmark::State& state) {
  CostList& list = LongList();
  QImage image(794, 1123, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    list.pages.DrawPage(1, painter, 1.0, QPointF(0, 0));
  }
  state.counters["ms"] = DrawOnePageSeconds() * 1e3;
  state.counters["ratio"] = 1.0;
}

// From calling ShowReport to the first page painted, wall time since the
// build timer is part of it: the window opens empty,
// the build timer fires after 50 ms, page 1 is finished and painted while
// the build goes on. The window is then closed, which stops the build.
void FirstPaint(benchmark::State& state) {
  CostList list(kLongReport * kRowsPerPage);
  double total = 0;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    double seconds = -1;
    ShowReportHooks hooks;
    hooks.configureForm = [&](PreviewForm& form, Engine&) {
      QObject::connect(form.PreviewView(), &Preview::Painted, &form, [&, f = &form] {
        if (seconds < 0 && f->PreviewView()->PagesPainted() > 0) {
          seconds = double(clock.nsecsElapsed()) * 1e-9;
          f->close();
        }
      });
    };
    ShowReport(list.report, list.pages, true, hooks);
    state.SetIterationTime(std::max(seconds, 0.0));
    total += seconds;
  }
  const double perRun = total / double(state.iterations());
  state.counters["ms"] = perRun * 1e3;
  state.counters["ratio"] = perRun / DrawOnePageSeconds();
}

// A full scroll through the 2,000 pages, one view height at a time, each view
// repainted: the mean and the slowest repaint, on the thread's CPU clock (the
// machine is shared; wall time would measure the neighbours).
void Repaint(benchmark::State& state) {
  CostList& list = LongList();
  PreparedPagesSource source(list.pages, &list.report);
  PreviewForm form;
  form.Init(&source, WindowOptions(list.report));
  form.show();
  QCoreApplication::processEvents();
  Preview* view = form.PreviewView();
  QScrollBar* bar = view->verticalScrollBar();
  double slowest = 0;
  double sum = 0;
  long repaints = 0;
  for (auto _ : state) {
    const double begin = bench_support::ThreadSeconds();
    for (int y = 0; y <= bar->maximum(); y += view->viewport()->height()) {
      bar->setValue(y);
      const double start = bench_support::ThreadSeconds();
      view->viewport()->repaint();
      const double s = bench_support::ThreadSeconds() - start;
      slowest = std::max(slowest, s);
      sum += s;
      ++repaints;
    }
    state.SetIterationTime(bench_support::ThreadSeconds() - begin);
  }
  const double mean = repaints ? sum / double(repaints) : 0;
  state.counters["pages"] = list.pages.Count();
  state.counters["repaints"] = double(repaints) / double(state.iterations());
  state.counters["mean_ms"] = mean * 1e3;
  state.counters["max_ms"] = slowest * 1e3;
  state.counters["ratio"] = mean / DrawOnePageSeconds();
  state.counters["max_ratio"] = slowest / DrawOnePageSeconds();
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
