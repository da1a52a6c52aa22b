// The raster routines on full-HD bitmaps, each against a full-frame memcpy.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "bench_support.h"
#include "raster/raster.h"

namespace {

using bench_support::kFrameHeight;
using bench_support::kFrameWidth;
using raster::Bitmap;

constexpr int kW = kFrameWidth;
constexpr int kH = kFrameHeight;

Bitmap Picture(int width, int height, unsigned salt) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    raster::Pixel* row = b.PixelRow(y);
    for (int x = 0; x < width; ++x) row[x] = raster::Pixel((x * 2654435761u) ^ (y * 40503u) ^ salt);
  }
  return b;
}

const Bitmap& OldPicture() {
  static const Bitmap b = Picture(kW, kH, 0x1234);
  return b;
}

const Bitmap& NewPicture() {
  static const Bitmap b = Picture(kW, kH, 0xABCD);
  return b;
}

void BitBltUnclipped(benchmark::State& state) {
  Bitmap screen = OldPicture();
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::BitBlt(screen.Canvas(), 0, 0, kW, kH, NewPicture(), 0, 0);
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

// The push effects move the frame within itself.
void BitBltWithinOneBitmap(benchmark::State& state) {
  Bitmap screen = OldPicture();
  int shift = 1;
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::BitBlt(screen.Canvas(), shift, 0, kW, kH, screen, 0, 0);
    shift = -shift;
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

// A full-frame copy through the region of a criss-cross, shred or blinds frame.
void ClipThroughRegion(benchmark::State& state, const raster::Region& region) {
  Bitmap screen = OldPicture();
  raster::SelectClipRgn(screen.Canvas(), region);
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::BitBlt(screen.Canvas(), 0, 0, kW, kH, NewPicture(), 0, 0);
    benchmark::ClobberMemory();
  }
  state.counters["rects"] = region.RectCount();
  timer.Report(state);
}

void ClipCrissCross(benchmark::State& state) {
  // Both bar directions half way: a grid of a few hundred cells.
  ClipThroughRegion(state, *raster::CreateBarsRegion(kW / 2, kH / 2, kW, kH, 1, 2));
}

void ClipShred(benchmark::State& state) {
  raster::SetRandSeed(1);
  ClipThroughRegion(state, *raster::CreateShredRegion(kW / 2, kH / 2, kW, kH, 3, 3));
}

void ClipRandomSquares(benchmark::State& state) {
  raster::ComplexRegion cells;
  raster::SetRandSeed(2);
  const int t = kH / 50 + 1;
  for (int x = 0; x < kW; x += 2 * t)
    for (int y = 0; y < kH; y += 2 * t)
      if (raster::Random(100) < 50) cells.AddRect(x, y, x + 2 * t, y + 2 * t);
  ClipThroughRegion(state, *cells.CreateRegion());
}

void StretchBlt(benchmark::State& state, const Bitmap& src, int w, int h) {
  Bitmap screen = OldPicture();
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::StretchBlt(screen.Canvas(), w > 0 ? 0 : kW - 1, h > 0 ? 0 : kH - 1, w, h, src, 0, 0,
                       src.Width(), src.Height());
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

void StretchEnlarge(benchmark::State& state) {
  static const Bitmap small = Picture(1280, 720, 7);  // magnified 1.5 times
  StretchBlt(state, small, kW, kH);
}

void StretchShrink(benchmark::State& state) {
  static const Bitmap big = Picture(2 * kW, 2 * kH, 8);  // halved
  StretchBlt(state, big, kW, kH);
}

void StretchMirror(benchmark::State& state) { StretchBlt(state, NewPicture(), -kW, kH); }

void StretchSqueeze(benchmark::State& state) {
  // The squeeze effects: the whole picture into two thirds of the width.
  Bitmap screen = OldPicture();
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::StretchBlt(screen.Canvas(), 0, 0, kW * 2 / 3, kH, NewPicture(), 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

void StretchPixelate(benchmark::State& state) {
  static const Bitmap patch = Picture(40, 22, 9);  // a few giant pixels
  StretchBlt(state, patch, kW, kH);
}

template <class Build>
void BuildRegion(benchmark::State& state, Build build) {
  int rects = 0;
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    const raster::Region region = build();
    rects = region.RectCount();
    benchmark::DoNotOptimize(rects);
  }
  state.counters["rects"] = rects;
  timer.Report(state);
}

void RegionBars(benchmark::State& state) {
  BuildRegion(state, [] { return *raster::CreateBarsRegion(kW * 3 / 2, kH * 3 / 2, kW, kH, 4, 5); });
}

void RegionShred(benchmark::State& state) {
  BuildRegion(state, [] { return *raster::CreateShredRegion(kW / 2, kH / 2, kW, kH, 4, 4); });
}

void RegionSpeckle(benchmark::State& state) {
  BuildRegion(state, [] { return *raster::CreateSpeckleRegion(kW / 2, kH / 2, kW, kH, 2, 0); });
}

void RegionEllipse(benchmark::State& state) {
  BuildRegion(state, [] { return raster::CreateRoundRectRgn(0, -2 * kH, kW + 1, kH, 2 * kH, 2 * kH); });
}

void RegionStar(benchmark::State& state) {
  BuildRegion(state, [] {
    std::vector<raster::Point> star = {{-400, 540}, {660, 340}, {960, -300}, {1260, 340},
                                       {2320, 540}, {1260, 740}, {960, 1380}, {660, 740}};
    raster::RotatePoints(star, 960, 540, 0.7);
    return raster::CreatePolygonRgn(star, raster::WINDING);
  });
}

void RegionPie(benchmark::State& state) {
  BuildRegion(state, [] {
    return raster::CreatePieRegion(kW / 2, kH / 2, 1102, -std::numbers::pi / 2, std::numbers::pi, 75);
  });
}

void RegionUnionOfTriangles(benchmark::State& state) {
  // The triangular shred: thirty triangles united one by one.
  BuildRegion(state, [] {
    raster::Region all;
    const int cw = kW / 10 + 1, ch = kH / 10 + 1, dx = cw, dy = ch;
    for (int x = cw; x - cw < kW; x += 2 * cw) {
      for (int y = ch; y - 2 * ch < kH; y += 2 * ch) {
        const raster::Point t[] = {{x - dx, y - dy}, {x, y + dy}, {x + dx, y - dy}};
        raster::CombineRgn(all, all, raster::CreatePolygonRgn(t, raster::WINDING), raster::RGN_OR);
      }
    }
    return all;
  });
}

void BlendRectFrame(benchmark::State& state) {
  Bitmap screen = OldPicture();
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::BlendRect(screen, NewPicture(), 37, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

void ShadeColumnsRoll(benchmark::State& state) {
  Bitmap screen = OldPicture();
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::ShadeColumns(screen, 64, 900, kW / 10);
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

void RotateImageFrame(benchmark::State& state) {
  Bitmap screen = OldPicture();
  const bench_support::RatioTimer timer;
  for (auto _ : state) {
    raster::RotateImage(screen, NewPicture(), -1, -1, 0.4);
    benchmark::ClobberMemory();
  }
  timer.Report(state);
}

}  // namespace

VERSANTO_BENCHMARK_MEMCPY_BASELINE();
BENCHMARK(BitBltUnclipped)->Name("BitBlt/Unclipped");
BENCHMARK(BitBltWithinOneBitmap)->Name("BitBlt/WithinOneBitmap");
BENCHMARK(ClipCrissCross)->Name("Clip/CrissCross");
BENCHMARK(ClipShred)->Name("Clip/Shred");
BENCHMARK(ClipRandomSquares)->Name("Clip/RandomSquares");
BENCHMARK(StretchEnlarge)->Name("StretchBlt/Enlarge1.5");
BENCHMARK(StretchShrink)->Name("StretchBlt/Shrink0.5");
BENCHMARK(StretchMirror)->Name("StretchBlt/Mirror");
BENCHMARK(StretchSqueeze)->Name("StretchBlt/Squeeze");
BENCHMARK(StretchPixelate)->Name("StretchBlt/Pixelate");
BENCHMARK(RegionBars)->Name("Region/Bars");
BENCHMARK(RegionShred)->Name("Region/Shred");
BENCHMARK(RegionSpeckle)->Name("Region/Speckle");
BENCHMARK(RegionEllipse)->Name("Region/CurvedFront");
BENCHMARK(RegionStar)->Name("Region/Star");
BENCHMARK(RegionPie)->Name("Region/Pie");
BENCHMARK(RegionUnionOfTriangles)->Name("Region/UnionOfTriangles");
BENCHMARK(BlendRectFrame)->Name("BlendRect/Frame");
BENCHMARK(ShadeColumnsRoll)->Name("ShadeColumns/Roll");
BENCHMARK(RotateImageFrame)->Name("RotateImage/Frame");
