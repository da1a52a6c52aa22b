#include "raster/region_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "raster/numeric.h"
#include "raster/random.h"
#include "reference_raster.h"

namespace {

using raster::Region;

Region Rect(int l, int t, int r, int b) { return raster::CreateRectRgn(l, t, r, b); }

Region Unite(Region a, const Region& b) {
  raster::CombineRgn(a, a, b, raster::RGN_OR);
  return a;
}

// The region with x and y exchanged.
Region Transposed(const Region& region) {
  Region out;
  for (const raster::Rect& r : region.Rects()) out = Unite(out, Rect(r.Top, r.Left, r.Bottom, r.Right));
  return out;
}

// How many pixels of columns [left, right) and rows [0, h) the region covers.
long CoveredPixels(const Region& region, int left, int right, int h) {
  long n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = left; x < right; ++x) n += region.Contains(x, y);
  return n;
}

long CoveredPixels(const Region& region, int w, int h) { return CoveredPixels(region, 0, w, h); }

std::uint32_t SeedAfterDraws(std::uint32_t seed, int draws) {
  for (int i = 0; i < draws; ++i) seed = seed * 134775813u + 1u;
  return seed;
}

TEST(CreateBarsRegion, WithTheFrontAtTheFullSideEveryEvenBarIsCompleteAndNoOddOne) {
  // W = H = 100: bars are 100 / 50 + 1 = 3 rows thick.
  const auto region = raster::CreateBarsRegion(100, 0, 100, 100, 1, 0);
  ASSERT_TRUE(region.has_value());
  Region expected;
  for (int i = 0; i < 103; i += 6) expected = Unite(expected, Rect(0, i, 100, i + 3));
  EXPECT_EQ(*region, expected);
  EXPECT_TRUE(region->Contains(0, 2));
  EXPECT_FALSE(region->Contains(99, 3));
}

TEST(CreateBarsRegion, KindsFillFromTheirSidesAndCoverThePictureAtTheEnd) {
  constexpr int kW = 120, kH = 70;  // bars 2 thick
  struct Probe {
    int kind;
    int front;
    int x, y;
    bool inside;
  };
  const Probe probes[] = {
      {1, 60, kW - 1, 0, true},  {1, 60, 0, 0, false},   // even bars from the right
      {2, 60, 0, 0, true},       {2, 60, kW - 1, 0, false},
      {4, 60, 0, 0, true},       {4, 180, kW - 1, 2, true}, {4, 180, 0, 2, false},  // then odd from the right
      {5, 60, kW - 1, 0, true},  {5, 180, 0, 2, true},      {5, 180, kW - 1, 2, false},
      {3, 30, 0, 2, true},       {3, 30, kW - 1, 0, true},  {3, 30, 0, 0, false},  // both at once
  };
  for (const Probe& p : probes) {
    const auto region = raster::CreateBarsRegion(p.front, 0, kW, kH, p.kind, 0);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(region->Contains(p.x, p.y), p.inside) << "kind " << p.kind << " front " << p.front;
  }
  for (int kind : {1, 2, 4, 5, 3}) {
    const int end = kind == 3 ? kW : 2 * kW;
    long previous = 0;
    for (int front = 0; front <= end; front += 7) {
      const long covered = CoveredPixels(*raster::CreateBarsRegion(front, 0, kW, kH, kind, 0), kW, kH);
      EXPECT_GE(covered, previous) << "kind " << kind << " front " << front;
      previous = covered;
    }
    EXPECT_EQ(CoveredPixels(*raster::CreateBarsRegion(end, 0, kW, kH, kind, 0), kW, kH), long{kW} * kH)
        << "kind " << kind;
  }
}

TEST(StripBuilders, BuildTheBarsDownTheColumnsAsTheBarsAcrossTurnedAQuarter) {
  constexpr int kW = 57, kH = 43;
  for (int kind = 1; kind <= 5; ++kind) {
    for (int front : {0, 13, 43, 57, 70, 100}) {
      const auto across = raster::CreateBarsRegion(front, 0, kH, kW, kind, 0);
      const auto down = raster::CreateBarsRegion(0, front, kW, kH, 0, kind);
      ASSERT_EQ(Transposed(*across), *down) << "bars kind " << kind << " front " << front;

      raster::SetRandSeed(77);
      const auto shredAcross = raster::CreateShredRegion(front, 0, kH, kW, kind, 0);
      raster::SetRandSeed(77);
      const auto shredDown = raster::CreateShredRegion(0, front, kW, kH, 0, kind);
      ASSERT_EQ(Transposed(*shredAcross), *shredDown) << "shred kind " << kind << " front " << front;

      raster::SetRandSeed(78);
      const auto speckAcross = raster::CreateSpeckleRegion(front, 0, kH, kW, kind, 0);
      raster::SetRandSeed(78);
      const auto speckDown = raster::CreateSpeckleRegion(0, front, kW, kH, 0, kind);
      ASSERT_EQ(Transposed(*speckAcross), *speckDown) << "speckle kind " << kind << " front " << front;
    }
  }
}

TEST(CreateShredRegion, DrawsOnceAStripAndScattersLengthsAroundTheFront) {
  constexpr int kW = 400, kH = 300;  // strips 300 / 200 + 1 = 2 rows thick, jitter 40
  raster::SetRandSeed(5);
  const auto region = raster::CreateShredRegion(200, 0, kW, kH, 2, 0);
  EXPECT_EQ(raster::RandSeed(), SeedAfterDraws(5, kH / 2));
  ASSERT_TRUE(region.has_value());
  bool someShort = false, someLong = false;
  for (int y = 0; y < kH; y += 2) {
    int length = 0;
    while (region->Contains(length, y)) ++length;
    EXPECT_GE(length, 160);
    EXPECT_LT(length, 240);
    someShort |= length < 195;
    someLong |= length > 205;
  }
  EXPECT_TRUE(someShort && someLong);
  // Same seed, same region; another seed, other lengths.
  raster::SetRandSeed(5);
  EXPECT_EQ(*raster::CreateShredRegion(200, 0, kW, kH, 2, 0), *region);
  raster::SetRandSeed(6);
  EXPECT_NE(*raster::CreateShredRegion(200, 0, kW, kH, 2, 0), *region);
}

TEST(CreateShredRegion, StopsJitteringOnceTheFrontReachesTheFarSide) {
  // H = 301 leaves a remainder of 1 row, by which neighbouring strips overlap.
  const auto region = raster::CreateShredRegion(400, 0, 400, 301, 1, 0);
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, Rect(0, 0, 400, 300 + 2 + 1));
}

TEST(CreateSpeckleRegion, SpecksAheadOfTheFrontInCellsOfTheSpeckSize) {
  // W = 1000, front 500: zone depth 100, specks 5 wide on strips 2 apart, 20
  // specks per strip of which the first is always there.
  constexpr int kW = 1000, kH = 10;
  raster::SetRandSeed(9);
  const auto region = raster::CreateSpeckleRegion(500, 0, kW, kH, 2, 0);
  EXPECT_EQ(raster::RandSeed(), SeedAfterDraws(9, 5 * 20));  // a draw for every speck of 5 strips
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(region->Bounds().Top, 0);
  EXPECT_EQ(region->Bounds().Bottom, 8 + 5);
  EXPECT_LE(region->Bounds().Right, 600);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < 505; ++x) ASSERT_TRUE(region->Contains(x, y)) << x << ", " << y;
  }
  // Specks are whole 5-pixel cells.
  for (int cell = 500; cell < 600; cell += 5) {
    for (int y = 0; y < kH; ++y) {
      for (int x = cell + 1; x < cell + 5; ++x) ASSERT_EQ(region->Contains(x, y), region->Contains(cell, y));
    }
  }
  // Near the front the specks are denser than far ahead of it.
  EXPECT_GT(CoveredPixels(*region, 505, 550, kH), CoveredPixels(*region, 550, 600, kH));
}

TEST(CreatePieRegion, ConnectsTheCentreWithArcPointsShortOfTheEndAngle) {
  const double pi = std::numbers::pi;
  const Region pie = raster::CreatePieRegion(50, 50, 40, 0.0, pi / 2, 4);
  std::vector<raster::Point> points = {{50, 50}};
  for (double a : {0.0, pi / 8, pi / 4, 3 * pi / 8})
    points.push_back({50 + raster::Round(40 * std::cos(a)), 50 + raster::Round(40 * std::sin(a))});
  EXPECT_EQ(pie, raster::CreatePolygonRgn(points, raster::WINDING));
  EXPECT_FALSE(pie.Contains(51, 88));  // the arc stops short of pi / 2
  EXPECT_TRUE(raster::CreatePieRegion(5, 5, 5, 0, 1, 0).Empty());
  EXPECT_TRUE(raster::CreatePieRegion(5, 5, 5, 0, 1, 1).Empty());  // centre and one point
}

TEST(CreatePolygonRegion, ReadsCoordinatesInPairs) {
  const int coords[] = {0, 0, 10, 0, 10, 5, 0, 5, 99};  // the unpaired last value is ignored
  EXPECT_EQ(raster::CreatePolygonRegion(coords), Rect(0, 0, 10, 5));
  EXPECT_TRUE(raster::CreatePolygonRegion({}).Empty());
}

TEST(StripBuilders, GiveNoRegionForAnEmptyPicture) {
  EXPECT_FALSE(raster::CreateBarsRegion(5, 5, 0, 10, 1, 1).has_value());
  EXPECT_FALSE(raster::CreateShredRegion(5, 5, 10, -1, 1, 1).has_value());
  EXPECT_FALSE(raster::CreateSpeckleRegion(5, 5, 0, 0, 1, 1).has_value());
  EXPECT_FALSE(raster::CreateBarsRegion(5, 5, 10, 10, 0, 0).has_value());
}

}  // namespace
