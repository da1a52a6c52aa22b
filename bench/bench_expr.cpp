// A memo with three bracketed expressions over dataset fields, as a data band
// fills it on every row, against writing the same three numbers with snprintf.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "fake_scope.h"
#include "regional/regional.h"
#include "report/expr/evaluator.h"
#include "report/expr/memo.h"

namespace {

using report::expr::DisplayFormat;
using report::expr::Evaluator;
using report::expr::FieldType;
using report::expr::FormatKind;
using report::expr::MemoData;
using report::expr::Value;
using report::expr::testing::FakeDataSet;
using report::expr::testing::FakeScope;

constexpr double kCoPalle = 25, kPalle = 100, kCoInn = 30, kInneschi = 1000;

MemoData Template() {
  MemoData memo;
  memo.text =
      "Palla [<ds.\"CoPalle\">/<ds.\"Palle\">] Innesco [<ds.\"CoInn\">/<ds.\"Inneschi\">] "
      "Scatola [(<ds.\"CoPalle\">/<ds.\"Palle\"> + <ds.\"CoInn\">/<ds.\"Inneschi\">)*50]";
  memo.displayFormat = DisplayFormat{FormatKind::fkNumeric, "%2.2m", ","};
  return memo;
}

int Snprintf(char* buffer, std::size_t size) {
  const double palla = kCoPalle / kPalle;
  const double innesco = kCoInn / kInneschi;
  return std::snprintf(buffer, size, "Palla %.2f Innesco %.2f Scatola %.2f", palla, innesco,
                       (palla + innesco) * 50);
}

void BM_Snprintf(benchmark::State& state) {
  char buffer[128];
  for (auto _ : state) {
    benchmark::DoNotOptimize(Snprintf(buffer, sizeof buffer));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Snprintf)->Name("Snprintf");

// The part of a memo that is regional's money form alone, for reading the
// Memo figure: what is left over is the expressions' own cost.
void BM_RegionalMoney(benchmark::State& state) {
  regional::Regional italian;
  italian.decimalSeparator = ",";
  italian.thousandSeparator = ".";
  italian.positivePrefix = "";
  italian.positiveSuffix = " €";
  const double palla = kCoPalle / kPalle;
  const double innesco = kCoInn / kInneschi;
  for (auto _ : state) {
    benchmark::DoNotOptimize(regional::FormatMoney(palla, italian, 2));
    benchmark::DoNotOptimize(regional::FormatMoney(innesco, italian, 2));
    benchmark::DoNotOptimize(regional::FormatMoney((palla + innesco) * 50, italian, 2));
  }
}
BENCHMARK(BM_RegionalMoney)->Name("RegionalMoney");

void BM_Memo(benchmark::State& state) {
  FakeDataSet data("ds", {{"CoPalle", FieldType::fftNumeric},
                          {"Palle", FieldType::fftNumeric},
                          {"CoInn", FieldType::fftNumeric},
                          {"Inneschi", FieldType::fftNumeric}});
  data.AddRow({Value(kCoPalle), Value(kPalle), Value(kCoInn), Value(kInneschi)});
  FakeScope scope;
  scope.dataSets.push_back(&data);
  scope.currentObject = "Memo1";
  Evaluator evaluator(scope);
  evaluator.BeginBuild();
  const MemoData original = Template();
  {
    MemoData first = original;  // compiles the three expressions
    report::expr::ExpandMemoText(first, evaluator);
    if (first.text != "Palla 0,25 € Innesco 0,03 € Scatola 14,00 €") {
      state.SkipWithError(("unexpected text: " + first.text).c_str());
      return;
    }
  }

  // As the engine does for every row: the memo starts again from its template text.
  MemoData memo = original;
  const auto memoStart = std::chrono::steady_clock::now();
  for (auto _ : state) {
    memo.text = original.text;
    report::expr::ExpandMemoText(memo, evaluator);
    benchmark::DoNotOptimize(memo.text.data());
  }
  const std::chrono::duration<double, std::nano> memoTime =
      std::chrono::steady_clock::now() - memoStart;

  // The baseline in the same run, for a ratio that holds on a busy machine.
  const auto iterations = state.iterations();
  char buffer[128];
  const auto start = std::chrono::steady_clock::now();
  for (benchmark::IterationCount i = 0; i < iterations; ++i) {
    benchmark::DoNotOptimize(Snprintf(buffer, sizeof buffer));
    benchmark::ClobberMemory();
  }
  const std::chrono::duration<double, std::nano> baseline = std::chrono::steady_clock::now() - start;
  const double count = static_cast<double>(iterations);
  state.counters["memo_ns"] = memoTime.count() / count;
  state.counters["snprintf_ns"] = baseline.count() / count;
  state.counters["ratio"] = memoTime.count() / baseline.count();
}
BENCHMARK(BM_Memo)->Name("Memo");

}  // namespace
