// Rows 170 and 171: every row (or column) gets one draw of the shared
// generator, seeded with the picture seed, and is copied whole from the new
// picture when the draw is below Progress; so a bar once shown stays shown.

#include <algorithm>
#include <array>

#include "effects/effect_helpers.h"
#include "pixel_kernels_p.h"
#include "raster/canvas.h"
#include "raster/random.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

// The bottom row draws first.
void RandomBarsHorizontal(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                          int Progress) noexcept {
  raster::ScopedRandSeed generator(PictureSeed(Image));
  for (int row = H - 1; row >= 0; --row) {
    if (generator.Random(100) < Progress) raster::BitBlt(Screen.Canvas(), 0, row, W, 1, Image, 0, row);
  }
}

// The columns draw left to right. Copying a column pixel by pixel down the
// picture would cost a call per pixel, so the draws of a run of columns are
// kept as masks and every row takes its chosen pixels of that run at once.
void RandomBarsVertical(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                        int Progress) noexcept {
  raster::ScopedRandSeed generator(PictureSeed(Image));
  std::array<raster::Pixel, 4096> masks{};  // 16 KiB: a whole row of most pictures
  for (int first = 0; first < W; first += int(masks.size())) {
    const int count = std::min(W - first, int(masks.size()));
    for (int i = 0; i < count; ++i) {
      masks[std::size_t(i)] = generator.Random(100) < Progress ? ~raster::Pixel{0} : raster::Pixel{0};
    }
    for (int row = 0; row < H; ++row) {
      CopyMaskedPixels(Screen.PixelRow(row) + first, Image.PixelRow(row) + first, masks.data(), count);
    }
  }
}

}  // namespace effects::shapes_and_dissolves
