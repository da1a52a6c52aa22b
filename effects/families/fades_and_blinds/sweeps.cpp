#include <cstdint>
#include <numbers>

#include "effects/effect_helpers.h"
#include "fades_and_blinds.h"
#include "raster/region_builders.h"

namespace effects::fades_and_blinds {

namespace {

// The smallest whole number whose square is not below `value`.
int CeilSqrt(std::int64_t value) noexcept {
  std::int64_t root = 0;
  for (std::int64_t step = std::int64_t{1} << 30; step > 0; step >>= 1) {
    if ((root + step) * (root + step) <= value) root += step;
  }
  return static_cast<int>(root * root < value ? root + 1 : root);
}

// A pie slice from twelve o'clock, one step of 3.6 degrees per percent, whose
// radius reaches the corners. The pie stops one step short of its end angle,
// so the slice spans (Progress - 1) steps and nothing shows at Progress 1.
void Sweep(Bitmap& Screen, const Bitmap& Image, int W, int H, int Progress,
           bool clockwise) noexcept {
  const int cx = W / 2;
  const int cy = H / 2;
  const int radius = CeilSqrt(std::int64_t{cx} * cx + std::int64_t{cy} * cy);  // pixels
  constexpr double kStart = -std::numbers::pi / 2;                              // radians
  const double sweep = Progress * std::numbers::pi / 50;
  const double end = clockwise ? kStart + sweep : kStart - sweep;
  RevealRegion(Screen, Image, W, H, raster::CreatePieRegion(cx, cy, radius, kStart, end, Progress));
}

}  // namespace

void SweepClockwise(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                    int Progress) noexcept {
  Sweep(Screen, Image, W, H, Progress, true);
}

void SweepAnticlockwise(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                        int Progress) noexcept {
  Sweep(Screen, Image, W, H, Progress, false);
}

}  // namespace effects::fades_and_blinds
