// One frame of every effect row that has a procedure, averaged over progress
// 1 .. 99 at 1920 x 1080, against a full-frame memcpy. Rows without a
// procedure yet are left out and appear here once their family is built.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "effects/effect_table.h"
#include "effects/frame.h"
#include "raster/bitmap.h"

namespace {

using bench_support::kFrameHeight;
using bench_support::kFrameWidth;
using raster::Bitmap;

Bitmap Picture(unsigned salt) {
  Bitmap b(kFrameWidth, kFrameHeight);
  for (int y = 0; y < kFrameHeight; ++y) {
    raster::Pixel* row = b.PixelRow(y);
    for (int x = 0; x < kFrameWidth; ++x) row[x] = raster::Pixel((x * 2654435761u) ^ (y * 40503u) ^ salt);
  }
  return b;
}

void EffectFrames(benchmark::State& state, int style) {
  static const Bitmap oldPicture = Picture(0x1234);
  static const Bitmap newPicture = Picture(0xABCD);
  Bitmap screen = oldPicture;
  double effectSeconds = 0;
  for (auto _ : state) {
    for (int progress = 1; progress <= 99; ++progress) {
      // Every frame starts from the start frame, as in the picture show; that
      // copy is the picture show's cost, not the effect's.
      state.PauseTiming();
      raster::BitBlt(screen.Canvas(), 0, 0, kFrameWidth, kFrameHeight, oldPicture, 0, 0);
      state.ResumeTiming();
      const double start = bench_support::ThreadSeconds();
      effects::DrawEffectFrame(style, screen, newPicture, progress);
      benchmark::ClobberMemory();
      effectSeconds += bench_support::ThreadSeconds() - start;
    }
  }
  bench_support::ReportRatio(state, effectSeconds, 99);
}

const bool kRegistered = [] {
  for (int style = 1; style <= effects::kEffectCount; ++style) {
    benchmark::RegisterBenchmark(("Effect/" + std::to_string(style)).c_str(), EffectFrames, style)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

VERSANTO_BENCHMARK_MEMCPY_BASELINE();
