#include "raster/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct MulDivCase {
  int a, b, c, expected;
};

TEST(MulDiv, RoundsHalvesAwayFromZeroWithA64BitProduct) {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  const MulDivCase cases[] = {
      {10, 1, 4, 3},     {-10, 1, 4, -3},   {10, 1, -4, -3},   {-10, -1, 4, 3},
      {3, 1, 2, 2},      {-3, 1, 2, -2},    {-1, 1, 2, -1},    {7, 1, 2, 4},
      {-7, 1, 2, -4},    {1, 1, 3, 0},      {2, 1, 3, 1},      {-2, 1, 3, -1},
      {4, 1, 3, 1},      {5, 1, 3, 2},      {0, 5, 7, 0},      {5, 0, 7, 0},
      {256, 1, 100, 3},  {256, 99, 100, 253}, {256, 50, 100, 128}, {200, 50, 100, 100},
      {1000, 1000, 3, 333333},  // a*b does not fit in 32 bits
      {kMax, 2, 2, kMax}, {kMin, 1, 1, kMin}, {kMax, kMax, kMax, kMax},
  };
  for (const MulDivCase& c : cases) {
    EXPECT_EQ(raster::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
  }
}

TEST(MulDiv, GivesMinusOneForAZeroDivisorOrAResultBeyondInt) {
  EXPECT_EQ(raster::MulDiv(1, 1, 0), -1);
  EXPECT_EQ(raster::MulDiv(0, 0, 0), -1);
  EXPECT_EQ(raster::MulDiv(-5, 3, 0), -1);
  EXPECT_EQ(raster::MulDiv(std::numeric_limits<int>::max(), 2, 1), -1);
  EXPECT_EQ(raster::MulDiv(std::numeric_limits<int>::min(), -1, 1), -1);
}

TEST(Round, TakesHalvesToTheEvenNeighbour) {
  const std::pair<double, int> cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},   {3.5, 4},
                                          {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2},
                                          {2.5001, 3}, {-2.5001, -3}, {7.0, 7}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(raster::Round(value), expected) << value;
}

TEST(RoundAndTrunc, SaturateAtTheEndsOfTheIntRange) {
  EXPECT_EQ(raster::Round(1e12), std::numeric_limits<int>::max());
  EXPECT_EQ(raster::Round(-1e12), std::numeric_limits<int>::min());
  EXPECT_EQ(raster::Round(std::nan("")), 0);
  EXPECT_EQ(raster::Trunc(-1.7), -1);
  EXPECT_EQ(raster::Trunc(1.7), 1);
  EXPECT_EQ(raster::Trunc(-65536.9), -65536);
  EXPECT_EQ(raster::Trunc(1e12), std::numeric_limits<int>::max());
}

}  // namespace
