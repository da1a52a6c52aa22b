#include "raster/random.h"

#include <chrono>

namespace raster {

namespace {

struct Generator {
  std::recursive_mutex mutex;
  std::uint32_t seed = 0;
};

Generator& Shared() noexcept {
  static Generator generator;
  return generator;
}

int Draw(std::uint32_t& seed, int n) noexcept {
  seed = seed * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int>((std::uint64_t{seed} * static_cast<std::uint32_t>(n)) >> 32);
}

}  // namespace

int Random(int n) noexcept {
  Generator& g = Shared();
  const std::lock_guard lock(g.mutex);
  return Draw(g.seed, n);
}

std::uint32_t RandSeed() noexcept {
  Generator& g = Shared();
  const std::lock_guard lock(g.mutex);
  return g.seed;
}

void SetRandSeed(std::uint32_t seed) noexcept {
  Generator& g = Shared();
  const std::lock_guard lock(g.mutex);
  g.seed = seed;
}

void Randomize() noexcept {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
  // Both halves, so that two starts within the same second still differ.
  SetRandSeed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

ScopedRandLock::ScopedRandLock() noexcept : m_lock(Shared().mutex) {}

ScopedRandLock::~ScopedRandLock() = default;

int ScopedRandLock::Random(int n) noexcept { return Draw(Shared().seed, n); }

std::uint32_t ScopedRandLock::Seed() const noexcept { return Shared().seed; }

void ScopedRandLock::SetSeed(std::uint32_t seed) noexcept { Shared().seed = seed; }

ScopedRandSeed::ScopedRandSeed(std::uint32_t seed) noexcept : m_saved(Seed()) { SetSeed(seed); }

ScopedRandSeed::~ScopedRandSeed() { SetSeed(m_saved); }

}  // namespace raster
