// Row 169: every pixel gets one draw of the shared generator, seeded with the
// picture seed, so a pixel once shown stays shown and about Progress percent
// of them are new.

#include "dissolve_p.h"

#include "effects/effect_helpers.h"
#include "pixel_kernels_p.h"
#include "seed_steps_p.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

// Pixel order is memory order: the bottom row first, each row left to right.
void DissolvePixelsPlain(raster::ScopedRandLock& generator, Bitmap& Screen, const Bitmap& Image,
                         int W, int H, int Progress) noexcept {
  for (int row = H - 1; row >= 0; --row) {
    raster::Pixel* frame = Screen.PixelRow(row);
    const raster::Pixel* picture = Image.PixelRow(row);
    for (int x = 0; x < W; ++x) {
      if (generator.Random(100) < Progress) frame[x] = picture[x];
    }
  }
}

// The same draws without drawing them one by one: each row starts from the
// seed W draws after the previous row's, and within a row eight draws are
// taken at once.
void DissolvePixels(raster::ScopedRandLock& generator, Bitmap& Screen, const Bitmap& Image, int W,
                    int H, int Progress) noexcept {
  if (Progress <= 0 || Progress >= 100 || W <= 0) {
    DissolvePixelsPlain(generator, Screen, Image, W, H, Progress);
    return;
  }
  const SeedStep draw = GeneratorStep(generator);
  const SeedLanes lanes(draw);
  const SeedStep nextRow = draw.Repeated(std::uint64_t(W));
  const auto threshold = static_cast<std::uint32_t>(DrawThreshold(100, Progress));
  std::uint32_t seed = generator.Seed();
  for (int row = H - 1; row >= 0; --row) {
    DissolveRun(Screen.PixelRow(row), Image.PixelRow(row), W, seed, lanes, threshold);
    seed = nextRow.Apply(seed);
  }
  generator.SetSeed(seed);  // where the draws one by one would have left it
}

void Dissolve(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int Progress) noexcept {
  raster::ScopedRandSeed generator(PictureSeed(Image));
  DissolvePixels(generator, Screen, Image, W, H, Progress);
}

}  // namespace effects::shapes_and_dissolves
