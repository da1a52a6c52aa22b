// Row 172: the new picture's colour channels replace the old ones one after
// the other, each over a third of the transition, in an order drawn once per
// transition from the shared generator seeded with the picture seed.

#include <algorithm>
#include <array>

#include "effects/effect_helpers.h"
#include "pixel_kernels_p.h"
#include "raster/numeric.h"
#include "raster/pixel.h"
#include "raster/random.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

namespace {

// Byte places in the pixel, in the order they are replaced.
struct ChannelOrder {
  int first;
  int second;
  int third;
};

ChannelOrder DrawChannelOrder(const Bitmap& Image) noexcept {
  raster::ScopedRandSeed generator(PictureSeed(Image));
  const int first = generator.Random(3);
  int second = generator.Random(3);
  while (second == first) second = generator.Random(3);
  return {first, second, 3 - first - second};
}

}  // namespace

void ChannelMix(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int Progress) noexcept {
  const ChannelOrder order = DrawChannelOrder(Image);
  // The weight of each byte place (0 keeps the old byte, 256 takes the new).
  std::array<int, 4> weights{};
  const auto within = [](int weight) { return std::clamp(weight, 0, 256); };
  if (Progress <= 33) {
    weights[std::size_t(order.first)] = within(raster::MulDiv(256, Progress, 33));
  } else if (Progress <= 66) {
    weights[std::size_t(order.first)] = 256;
    weights[std::size_t(order.second)] = within(raster::MulDiv(256, Progress - 33, 33));
  } else {
    weights[std::size_t(order.first)] = 256;
    weights[std::size_t(order.second)] = 256;
    weights[std::size_t(order.third)] = within(raster::MulDiv(256, Progress - 66, 33));
  }
  for (int row = H - 1; row >= 0; --row) {
    BlendChannels(Screen.ScanLine(row), Image.ScanLine(row), W, weights);
  }
}

}  // namespace effects::shapes_and_dissolves
