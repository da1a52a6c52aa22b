#include "raster/random.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// The sequence is the program's own: seed := seed * 134775813 + 1, then
// (seed * n) >> 32. These values were worked out by hand from that rule.
TEST(Random, GivesTheFixedSequenceFromAKnownSeed) {
  raster::SetRandSeed(0);
  const int expected[] = {0, 3, 86, 20, 27, 67, 31, 16};
  for (int value : expected) EXPECT_EQ(raster::Random(100), value);

  raster::SetRandSeed(12345);
  const int thousand[] = {385, 289, 79, 553, 633, 341};
  for (int value : thousand) EXPECT_EQ(raster::Random(1000), value);
  EXPECT_EQ(raster::RandSeed(), 1467157059u);
}

TEST(Random, StepsTheSeedAlsoForAnEmptyRange) {
  raster::SetRandSeed(0xDEADBEEF);
  EXPECT_EQ(raster::Random(0), 0);
  EXPECT_EQ(raster::Random(1), 0);
  EXPECT_EQ(raster::Random(2), 1);
  EXPECT_EQ(raster::Random(3), 1);
  EXPECT_EQ(raster::Random(10), 9);
  EXPECT_EQ(raster::Random(2147483647), 1784176211);
  EXPECT_EQ(raster::RandSeed(), 3568352425u);
  EXPECT_EQ(raster::Random(-5), 0);
}

TEST(Random, StaysInRange) {
  raster::SetRandSeed(7);
  for (int n : {1, 2, 3, 7, 100, 65536, 2147483647}) {
    for (int i = 0; i < 2000; ++i) {
      const int v = raster::Random(n);
      ASSERT_GE(v, 0);
      ASSERT_LT(v, n);
    }
  }
}

TEST(ScopedRandSeed, SetsTheSeedAndPutsTheOldOneBack) {
  raster::SetRandSeed(99);
  {
    raster::ScopedRandSeed scope(0);
    EXPECT_EQ(scope.Seed(), 0u);
    EXPECT_EQ(scope.Random(100), 0);
    EXPECT_EQ(raster::Random(100), 3);  // the free function shares the sequence
    EXPECT_EQ(scope.Random(100), 86);
  }
  EXPECT_EQ(raster::RandSeed(), 99u);
}

TEST(ScopedRandSeed, KeepsOtherThreadsOutOfItsPattern) {
  // The timer thread draws an effect's seeded pattern while the user-interface
  // thread draws for the slideshow; neither may shift the other's sequence.
  std::atomic<bool> stop{false};
  std::thread other([&] {
    while (!stop.load()) raster::Random(1000);
  });
  for (int round = 0; round < 200; ++round) {
    raster::ScopedRandSeed scope(0);
    const int expected[] = {0, 3, 86, 20, 27, 67, 31, 16};
    for (int value : expected) ASSERT_EQ(scope.Random(100), value) << "round " << round;
  }
  stop = true;
  other.join();
}

TEST(Randomize, SeedsFromTheClock) {
  raster::SetRandSeed(0);
  raster::Randomize();
  const std::uint32_t first = raster::RandSeed();
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  raster::Randomize();
  EXPECT_NE(raster::RandSeed(), first);
}

}  // namespace
