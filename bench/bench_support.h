#pragma once

// The baseline every benchmark of the program reports against: one memcpy of
// a full 1920 x 1080 frame of 32-bit pixels, measured in the same run, so that
// the figures stay comparable on a shared, noisy machine. A benchmark's
// `ratio` counter is its time per unit over the time of that memcpy.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace bench_support {

inline constexpr int kFrameWidth = 1920;   // pixels
inline constexpr int kFrameHeight = 1080;  // pixels
inline constexpr std::size_t kFrameBytes = std::size_t{kFrameWidth} * kFrameHeight * 4;

// The thread's CPU time, the clock Google Benchmark's figures are based on.
inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds one full-frame memcpy takes, measured once per run: the median of
// 15 rounds of 10 copies, after a warm-up that maps both buffers.
inline double MemcpyFrameSeconds() {
  static const double seconds = [] {
    std::vector<unsigned char> from(kFrameBytes, 1);
    std::vector<unsigned char> to(kFrameBytes, 2);
    std::memcpy(to.data(), from.data(), kFrameBytes);
    std::vector<double> rounds;
    for (int round = 0; round < 15; ++round) {
      const double start = ThreadSeconds();
      for (int i = 0; i < 10; ++i) {
        from[std::size_t(i)] = static_cast<unsigned char>(round + i);  // not a dead copy
        std::memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
      }
      rounds.push_back((ThreadSeconds() - start) / 10);
    }
    std::nth_element(rounds.begin(), rounds.begin() + 7, rounds.end());
    return rounds[7];
  }();
  return seconds;
}

// Sets the counter `ratio`: the time of one unit over the memcpy's time.
// `seconds` is the thread CPU time the measured work took over all
// iterations, an iteration being unitsPerIteration units (for example 99
// frames). A plain number, so that it reads as a ratio and not as a time.
inline void ReportRatio(benchmark::State& state, double seconds, double unitsPerIteration = 1.0) {
  const double units = static_cast<double>(state.iterations()) * unitsPerIteration;
  state.counters["ratio"] = units > 0 ? seconds / (units * MemcpyFrameSeconds()) : 0.0;
}

// Times the work between construction and Report on the thread's CPU clock.
class RatioTimer {
 public:
  RatioTimer() : m_start(ThreadSeconds()) {}
  void Report(benchmark::State& state, double unitsPerIteration = 1.0) const {
    ReportRatio(state, ThreadSeconds() - m_start, unitsPerIteration);
  }

 private:
  double m_start;
};

// The baseline as a benchmark of its own, so that each run prints it.
inline void MemcpyFrame(benchmark::State& state) {
  std::vector<unsigned char> from(kFrameBytes, 1);
  std::vector<unsigned char> to(kFrameBytes, 2);
  const RatioTimer timer;
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kFrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

}  // namespace bench_support

// Registers the baseline benchmark; put it once in each benchmark program.
#define VERSANTO_BENCHMARK_MEMCPY_BASELINE() \
  BENCHMARK(bench_support::MemcpyFrame)->Name("Memcpy/1920x1080")
