#pragma once

#include <cstdint>
#include <mutex>

// The program's one pseudo-random generator, shared by the slideshow, the
// splash window and the random-pattern effects. Its sequence is fixed: each
// draw steps the 32-bit seed as seed := seed * 134775813 + 1 (mod 2^32) and
// then gives (seed * n) >> 32 computed in 64 bits, so the same seed always
// gives the same pattern. Safe to use from the user-interface thread and the
// timer thread at once.
namespace raster {

// A uniform integer in 0 .. n - 1; 0 when n is 0 or negative. Every call steps
// the seed, Random(0) included, so that patterns do not shift when a range
// happens to be empty.
int Random(int n) noexcept;

std::uint32_t RandSeed() noexcept;
void SetRandSeed(std::uint32_t seed) noexcept;

// Seeds the generator from the clock.
void Randomize() noexcept;

// Holds the generator for one caller: no other thread draws while it lives, so
// a pattern drawn through it is not interleaved with anyone else's draws. Its
// own Random does not lock again, which matters for effects that draw once per
// pixel. Free Random() calls on the same thread stay allowed while it lives.
class ScopedRandLock {
 public:
  ScopedRandLock() noexcept;
  ~ScopedRandLock();
  ScopedRandLock(const ScopedRandLock&) = delete;
  ScopedRandLock& operator=(const ScopedRandLock&) = delete;

  int Random(int n) noexcept;
  std::uint32_t Seed() const noexcept;
  void SetSeed(std::uint32_t seed) noexcept;

 private:
  std::unique_lock<std::recursive_mutex> m_lock;
};

// Saves the seed, sets the given one and holds the generator (as
// ScopedRandLock) until it ends, then puts the saved seed back: the effects
// that must draw the same pattern in every frame of a transition seed the
// generator with the picture's handle through it.
class ScopedRandSeed : public ScopedRandLock {
 public:
  explicit ScopedRandSeed(std::uint32_t seed) noexcept;
  ~ScopedRandSeed();

 private:
  std::uint32_t m_saved;
};

}  // namespace raster
