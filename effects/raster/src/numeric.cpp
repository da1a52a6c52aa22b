#include "raster/numeric.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace raster {

namespace {

constexpr double kIntMin = std::numeric_limits<int>::min();
constexpr double kIntMax = std::numeric_limits<int>::max();

int Saturate(double value) noexcept {
  if (std::isnan(value)) return 0;
  if (value <= kIntMin) return std::numeric_limits<int>::min();
  if (value >= kIntMax) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

}  // namespace

int MulDiv(int a, int b, int c) noexcept {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  // |remainder| < |c| <= 2^31, so doubling it cannot overflow.
  const std::int64_t twiceRemainder = remainder < 0 ? -2 * remainder : 2 * remainder;
  const std::int64_t divisor = c < 0 ? -std::int64_t{c} : std::int64_t{c};
  if (twiceRemainder >= divisor) quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
    return -1;
  return static_cast<int>(quotient);
}

int Round(double value) noexcept {
  if (std::isnan(value)) return 0;
  const double below = std::floor(value);
  const double fraction = value - below;
  double nearest = below;
  if (fraction > 0.5) {
    nearest = below + 1.0;
  } else if (fraction == 0.5) {
    nearest = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
  }
  return Saturate(nearest);
}

int Trunc(double value) noexcept { return Saturate(std::trunc(value)); }

}  // namespace raster
