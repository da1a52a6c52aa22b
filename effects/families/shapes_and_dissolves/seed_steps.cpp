#include "seed_steps_p.h"

#include <algorithm>

namespace effects::shapes_and_dissolves {

SeedStep SeedStep::Repeated(std::uint64_t times) const noexcept {
  SeedStep result;
  SeedStep power = *this;
  for (; times != 0; times >>= 1) {
    if ((times & 1u) != 0) result = result.Then(power);
    power = power.Then(power);
  }
  return result;
}

SeedStep GeneratorStep(raster::ScopedRandLock& generator) noexcept {
  const std::uint32_t saved = generator.Seed();
  generator.SetSeed(0);
  generator.Random(0);
  const std::uint32_t increment = generator.Seed();
  generator.SetSeed(1);
  generator.Random(0);
  const std::uint32_t multiplier = generator.Seed() - increment;
  generator.SetSeed(saved);
  return {multiplier, increment};
}

SeedLanes::SeedLanes(const SeedStep& draw) noexcept {
  SeedStep ahead = draw;
  for (SeedStep& lane : Ahead) {
    lane = ahead;
    ahead = ahead.Then(draw);
  }
  Stride = Ahead.back();
}

std::uint64_t DrawThreshold(int n, int below) noexcept {
  if (below <= 0) return 0;
  if (n <= 0) return std::uint64_t{1} << 32;  // such a draw gives 0
  const std::uint64_t limit = std::min(below, n);
  return ((limit << 32) + std::uint64_t(n) - 1) / std::uint64_t(n);
}

}  // namespace effects::shapes_and_dissolves
