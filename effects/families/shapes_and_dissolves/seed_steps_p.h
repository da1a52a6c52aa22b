#pragma once

#include <array>
#include <cstdint>

#include "raster/random.h"

// The shared generator's sequence taken several draws at a time. Each draw
// steps the seed by an affine map, seed := Multiplier * seed + Increment
// (mod 2^32); n draws are again such a map, so the seeds of the next eight
// draws, or of the draw a whole picture row later, follow from one seed
// without drawing the ones in between.
namespace effects::shapes_and_dissolves {

struct SeedStep {
  std::uint32_t Multiplier = 1;
  std::uint32_t Increment = 0;

  std::uint32_t Apply(std::uint32_t seed) const noexcept { return Multiplier * seed + Increment; }
  // This step followed by `next`.
  SeedStep Then(const SeedStep& next) const noexcept {
    return {next.Multiplier * Multiplier, next.Multiplier * Increment + next.Increment};
  }
  // This step taken `times` times (the identity for 0).
  SeedStep Repeated(std::uint64_t times) const noexcept;
};

// The step of one draw, read off the generator that `generator` holds: a map
// x -> m x + c gives c for 0 and m + c for 1. The seed is put back.
SeedStep GeneratorStep(raster::ScopedRandLock& generator) noexcept;

// The seeds of the next eight draws after a given seed, and the step from
// each of them to the one eight draws later.
struct SeedLanes {
  explicit SeedLanes(const SeedStep& draw) noexcept;
  std::array<SeedStep, 8> Ahead;  // Ahead[j]: j + 1 draws
  SeedStep Stride;                // eight draws
};

// A draw Random(n) (n > 0) gives (seed * n) >> 32 of the stepped seed, so it
// is below `below` exactly when the stepped seed is below
// ceil(below * 2^32 / n). Taken within 0 .. 2^32.
std::uint64_t DrawThreshold(int n, int below) noexcept;

}  // namespace effects::shapes_and_dissolves
