// The pistol cost list built over generated load tables of 10,000 and 100,000
// rows, next to only reading the same rows from SQLite in the same run: the
// `ratio` counter is the build's (or the save's) thread CPU time over the
// time of that read. Counters also give pages, the time to the first
// finished page, peak memory and the size of the saved file.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <map>
#include <memory>

#include "bench_support.h"
#include "generated_loads.h"
#include "loads/data_source.h"
#include "loads/load_table.h"
#include "render.h"
#include "report/engine/db_dataset.h"
#include "report/engine/engine.h"
#include "report/lists/cost_list_templates.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/prepared_pages.h"

namespace {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_report";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

QTemporaryDir& Scratch() {
  static QTemporaryDir dir;
  return dir;
}

// One generated load file per row count, made once per run.
QString LoadFile(int rows) {
  static std::map<int, QString> files;
  auto it = files.find(rows);
  if (it != files.end()) return it->second;
  const QString path = Scratch().filePath(QStringLiteral("loads-%1.sqlite").arg(rows));
  QString error;
  if (!report_render::GenerateLoads(path, rows, error)) qFatal("%s", qPrintable(error));
  return files.emplace(rows, path).first->second;
}

// The program's own pistol cost list.
QString TemplateFile() { return report::lists::TemplateFile(report::lists::CostList::Pistol); }

double ReadRowsOnce(const QString& file) {
  const double start = bench_support::ThreadSeconds();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_read"));
    db.setDatabaseName(file);
    if (!db.open()) qFatal("cannot open %s", qPrintable(file));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT * FROM DatiSpese"));
    const int columns = 12;
    qint64 count = 0;
    while (query.next()) {
      for (int c = 0; c < columns; ++c) benchmark::DoNotOptimize(query.value(c));
      ++count;
    }
    benchmark::DoNotOptimize(count);
  }
  QSqlDatabase::removeDatabase(QStringLiteral("bench_read"));
  return bench_support::ThreadSeconds() - start;
}

// The baseline of the ratios: the median of three reads of the same rows.
double ReadSeconds(int rows) {
  static std::map<int, double> seconds;
  if (auto it = seconds.find(rows); it != seconds.end()) return it->second;
  const QString file = LoadFile(rows);
  std::vector<double> runs = {ReadRowsOnce(file), ReadRowsOnce(file), ReadRowsOnce(file)};
  std::sort(runs.begin(), runs.end());
  return seconds.emplace(rows, runs[1]).first->second;
}

void BM_ReadRowsSqlite(benchmark::State& state) {
  EnsureApplication();
  const QString file = LoadFile(int(state.range(0)));
  double total = 0;
  for (auto _ : state) total += ReadRowsOnce(file);
  state.counters["ratio"] = 1.0;
  state.counters["read_ms"] = total / double(state.iterations()) * 1000;
}

struct Build {
  report::Report rep;
  report::PreparedPages pages;
  std::unique_ptr<loads::LoadTable> table;
  std::unique_ptr<loads::DataSource> source;
  std::unique_ptr<report::DBDataset> data;
  std::unique_ptr<report::Engine> engine;

  explicit Build(int rows) {
    report::TemplateError error;
    if (!report::LoadTemplate(rep, TemplateFile(), &error)) qFatal("%s", qPrintable(error.Text()));
    table = std::make_unique<loads::LoadTable>(LoadFile(rows), loads::SampleSet::None);
    source = std::make_unique<loads::DataSource>(table.get());
    data = std::make_unique<report::DBDataset>(rep.DataSets().front().dataSetName);
    data->SetDataSource(source.get());
    rep.DataSets().front().dataSet = data.get();
    engine = std::make_unique<report::Engine>(rep, pages);
    engine->SetProcessEvents(false);
  }
};

// tableOpen: the table is open already, as the main window keeps it; else the
// build opens it (and reads every row into the load table) first.
void BuildCostList(benchmark::State& state, bool tableOpen) {
  EnsureApplication();
  const int rows = int(state.range(0));
  Build b(rows);
  double cpu = 0;
  qint64 firstPageMs = 0;
  for (auto _ : state) {
    if (tableOpen) {
      (void)b.table->Open();
    } else {
      b.table->Close();
    }
    const double start = bench_support::ThreadSeconds();
    if (!b.engine->BuildReport(true)) qFatal("%s", qPrintable(b.engine->ErrorSummary()));
    cpu += bench_support::ThreadSeconds() - start;
    firstPageMs = std::max(firstPageMs, b.engine->FirstPageMs());
  }
  const double perBuild = cpu / double(state.iterations());
  state.counters["ratio"] = perBuild / ReadSeconds(rows);
  state.counters["pages"] = b.pages.Count();
  state.counters["first_page_ms"] = double(firstPageMs);
  state.counters["store_mb"] = double(b.pages.MemoryBytes()) / (1024.0 * 1024.0);
  state.counters["peak_rss_mb"] = report_render::PeakRssMb();
}

void BM_BuildCostList(benchmark::State& state) { BuildCostList(state, false); }
void BM_BuildCostListTableOpen(benchmark::State& state) { BuildCostList(state, true); }

void BM_SaveVpr(benchmark::State& state) {
  EnsureApplication();
  const int rows = int(state.range(0));
  Build b(rows);
  if (!b.engine->BuildReport(true)) qFatal("%s", qPrintable(b.engine->ErrorSummary()));
  const QString file = Scratch().filePath(QStringLiteral("cost-%1.vpr").arg(rows));
  double cpu = 0;
  QElapsedTimer wall;
  qint64 wallMs = 0;
  for (auto _ : state) {
    wall.start();
    const double start = bench_support::ThreadSeconds();
    if (!b.pages.Save(file)) qFatal("cannot save %s", qPrintable(file));
    cpu += bench_support::ThreadSeconds() - start;
    wallMs += wall.elapsed();
  }
  state.counters["ratio"] = cpu / double(state.iterations()) / ReadSeconds(rows);
  state.counters["save_wall_ms"] = double(wallMs) / double(state.iterations());
  state.counters["vpr_mb"] = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
}

}  // namespace

BENCHMARK(BM_ReadRowsSqlite)->Name("ReadRowsSqlite")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildCostList)->Name("BuildCostList")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildCostListTableOpen)->Name("BuildCostListTableOpen")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveVpr)->Name("SaveVpr")->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);
