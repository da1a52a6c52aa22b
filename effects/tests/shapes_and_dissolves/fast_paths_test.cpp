// The fast loops of the family against their plain definitions: the
// generator's sequence taken several draws at once, the dissolve's pixels,
// the per-channel blend over every pair of bytes and weight, the masked
// copy, and the balanced union of pieces.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "effect_checks.h"
#include "family_fixture.h"
#include "raster/random.h"
#include "raster/region.h"
#include "shapes_and_dissolves/dissolve_p.h"
#include "shapes_and_dissolves/figures_p.h"
#include "shapes_and_dissolves/pixel_kernels_p.h"
#include "shapes_and_dissolves/seed_steps_p.h"

namespace {

using effects::shapes_and_dissolves::SeedLanes;
using effects::shapes_and_dissolves::SeedStep;
using raster::Pixel;

// The seeds the generator goes through, one draw at a time.
std::vector<std::uint32_t> OneStepSeeds(std::uint32_t seed, int draws) {
  raster::ScopedRandSeed generator(seed);
  std::vector<std::uint32_t> seeds;
  for (int i = 0; i < draws; ++i) {
    generator.Random(100);
    seeds.push_back(generator.Seed());
  }
  return seeds;
}

SeedStep Step() {
  raster::ScopedRandLock generator;
  return effects::shapes_and_dissolves::GeneratorStep(generator);
}

TEST(SeedSteps, JumpAheadMatchesTheOneStepSequence) {
  const SeedStep draw = Step();
  for (const std::uint32_t seed : {0u, 1u, 12345u, 0xDEADBEEFu, 0xFFFFFFFFu}) {
    const std::vector<std::uint32_t> seeds = OneStepSeeds(seed, 2000);
    for (const int n : {1, 2, 3, 7, 8, 9, 64, 1023, 1920, 2000}) {
      EXPECT_EQ(draw.Repeated(std::uint64_t(n)).Apply(seed), seeds[std::size_t(n) - 1]) << seed << " + " << n;
    }
    const SeedLanes lanes(draw);
    for (std::size_t j = 0; j < 8; ++j) EXPECT_EQ(lanes.Ahead[j].Apply(seed), seeds[j]);
    EXPECT_EQ(lanes.Stride.Apply(seeds[0]), seeds[8]);
    EXPECT_EQ(draw.Repeated(0).Apply(seed), seed);
  }
  // Reading the step leaves the generator's seed alone.
  raster::SetRandSeed(424242u);
  Step();
  EXPECT_EQ(raster::RandSeed(), 424242u);
}

// Random(n) < below exactly for the stepped seeds under the threshold, at
// the threshold's edge for every progress and for the extremes.
TEST(SeedSteps, ThresholdDecidesDrawsLikeTheGenerator) {
  const auto draw = [](std::uint32_t stepped, int n) { return int((std::uint64_t(stepped) * n) >> 32); };
  for (const int n : {3, 100, 1000}) {
    for (int below = 1; below < n; below = below < 120 ? below + 1 : below * 2) {
      const std::uint64_t t = effects::shapes_and_dissolves::DrawThreshold(n, below);
      ASSERT_GT(t, 0u);
      ASSERT_LT(t, std::uint64_t{1} << 32);
      EXPECT_LT(draw(std::uint32_t(t - 1), n), below) << n << " " << below;
      EXPECT_GE(draw(std::uint32_t(t), n), below) << n << " " << below;
    }
  }
  EXPECT_EQ(effects::shapes_and_dissolves::DrawThreshold(100, 0), 0u);
  EXPECT_EQ(effects::shapes_and_dissolves::DrawThreshold(100, 100), std::uint64_t{1} << 32);
  // And the threshold against the generator's own draws.
  std::mt19937 engine(7);
  for (int trial = 0; trial < 20; ++trial) {
    raster::ScopedRandSeed generator(engine());
    const int below = int(engine() % 99) + 1;
    const std::uint64_t t = effects::shapes_and_dissolves::DrawThreshold(100, below);
    for (int i = 0; i < 1000; ++i) {
      const bool taken = generator.Random(100) < below;
      ASSERT_EQ(taken, generator.Seed() < t);
    }
  }
}

// Whole frames, one draw at a time against eight at a time, on widths below,
// at and around multiples of eight and on a view with a stride; the seed must
// end where the one-by-one draws leave it.
TEST(FastPaths, DissolveMatchesDrawingOneByOne) {
  std::mt19937 engine(11);
  for (const int w : {1, 2, 7, 8, 9, 15, 16, 17, 37, 64, 101}) {
    for (const int h : {1, 3, 23}) {
      reference::GuardedBitmap plain(w, h), fast(w, h);
      const family_fixture::Bitmap image = family_fixture::NewCard(w, h);
      for (const int P : {1, 13, 50, 87, 99}) {
        effect_checks::PaintOldCard(plain.Get());
        effect_checks::PaintOldCard(fast.Get());
        const std::uint32_t seed = engine();
        std::uint32_t plainSeed = 0, fastSeed = 0;
        {
          raster::ScopedRandSeed generator(seed);
          effects::shapes_and_dissolves::DissolvePixelsPlain(generator, plain.Get(), image, w, h, P);
          plainSeed = generator.Seed();
        }
        {
          raster::ScopedRandSeed generator(seed);
          effects::shapes_and_dissolves::DissolvePixels(generator, fast.Get(), image, w, h, P);
          fastSeed = generator.Seed();
        }
        ASSERT_EQ(family_fixture::FirstDifference(fast.Get(), plain.Get()), "") << w << "x" << h << " at " << P;
        ASSERT_EQ(fastSeed, plainSeed) << w << "x" << h << " at " << P;
        ASSERT_EQ(fast.DamagedGuard(), "");
      }
    }
  }
}

// Every pair of bytes under every weight 0 .. 256, in every byte place.
TEST(FastPaths, ChannelBlendMatchesTheFormulaForAllBytesAndWeights) {
  std::vector<std::uint8_t> frame(65536 * 4 + 12), image(frame.size()), expected(frame.size());
  for (int weight = 0; weight <= 256; ++weight) {
    for (std::size_t i = 0; i < frame.size(); ++i) {
      const std::size_t pair = (i / 4) % 65536;
      frame[i] = std::uint8_t(pair & 0xFF);
      image[i] = std::uint8_t(pair >> 8);
      // d + floor((s - d) * w / 256), the quotient floored also when negative.
      const int d = frame[i], s = image[i];
      const int difference = (s - d) * weight;
      expected[i] = std::uint8_t(d + (difference >= 0 ? difference / 256 : -((-difference + 255) / 256)));
    }
    effects::shapes_and_dissolves::BlendChannels(frame.data(), image.data(), int(frame.size() / 4),
                                                 {weight, weight, weight, weight});
    ASSERT_EQ(frame, expected) << "weight " << weight;
  }
  // Different weights per place stay in their places, also in the tail.
  std::mt19937 engine(5);
  for (const int pixels : {1, 3, 4, 5, 33}) {
    std::vector<std::uint8_t> a(std::size_t(pixels) * 4), b(a.size());
    for (auto& v : a) v = std::uint8_t(engine());
    for (auto& v : b) v = std::uint8_t(engine());
    std::vector<std::uint8_t> plain = a;
    const std::array<int, 4> weights{256, 0, 77, 0};
    effects::shapes_and_dissolves::BlendChannels(a.data(), b.data(), pixels, weights);
    effects::shapes_and_dissolves::BlendChannelsPlain(plain.data(), b.data(), pixels, weights);
    EXPECT_EQ(a, plain) << pixels;
  }
}

TEST(FastPaths, MaskedCopyMatchesThePlainLoop) {
  std::mt19937 engine(3);
  for (const int count : {0, 1, 3, 4, 5, 8, 31, 512}) {
    const std::size_t n = std::size_t(count);
    std::vector<Pixel> frame(n), image(n), masks(n);
    for (std::size_t i = 0; i < frame.size(); ++i) {
      frame[i] = engine();
      image[i] = engine();
      masks[i] = engine() % 2 ? ~Pixel{0} : Pixel{0};
    }
    std::vector<Pixel> plain = frame;
    effects::shapes_and_dissolves::CopyMaskedPixels(frame.data(), image.data(), masks.data(), count);
    effects::shapes_and_dissolves::CopyMaskedPixelsPlain(plain.data(), image.data(), masks.data(), count);
    EXPECT_EQ(frame, plain) << count;
  }
}

// United in pairs or one by one into the whole, the pixels are the same.
TEST(FastPaths, PiecesUnitedInPairsCoverWhatTheyCoverOneByOne) {
  std::mt19937 engine(9);
  for (const int pieces : {0, 1, 2, 3, 7, 45, 64}) {
    effects::shapes_and_dissolves::UnitedPieces united;
    raster::Region oneByOne;
    for (int i = 0; i < pieces; ++i) {
      const int x = int(engine() % 60), y = int(engine() % 60), r = int(engine() % 9);
      const raster::Region piece = raster::CreateEllipticRgn(x - r, y - r, x + r, y + r);
      united.Add(piece);
      raster::CombineRgn(oneByOne, oneByOne, piece, raster::RGN_OR);
    }
    const std::optional<raster::Region> result = united.Take();
    ASSERT_EQ(result.has_value(), pieces > 0);
    if (result.has_value()) {
      EXPECT_TRUE(*result == oneByOne) << pieces;
    }
  }
}

}  // namespace
