// Every row of the family against the plain reference of its region, on small
// odd sizes and at every progress: each pixel must come from the picture the
// reference says, and the shared generator must end where the reference's
// draws leave it (unchanged for every row that draws nothing).

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "effect_checks.h"
#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/canvas.h"
#include "raster/random.h"
#include "strip_reference.h"
#include "strip_reveals/strip_reveals.h"

namespace {

using raster::Bitmap;

struct Size {
  int w;
  int h;
};

// Odd sizes; a square; tall ones (the taller side is scaled first); wide ones,
// more than twice as wide as high (flat curved fronts); 12 rows, where the
// triangular shred's extra row of centres shows.
constexpr Size kSizes[] = {{1, 1},  {2, 3},  {37, 23}, {23, 37}, {64, 64},
                           {9, 41}, {75, 17}, {31, 12}, {120, 51}};

// Empty when the frame matches the reference; else the first pixel that does
// not and how many do not.
std::string Mismatch(const Bitmap& frame, const strip_reference::Mask& expected) {
  int wrong = 0;
  std::ostringstream first;
  for (int y = 0; y < frame.Height(); ++y) {
    for (int x = 0; x < frame.Width(); ++x) {
      const bool wantNew = expected.At(x, y);
      const raster::Pixel want =
          wantNew ? effect_checks::NewCardPixel(x, y) : effect_checks::OldCardPixel(x, y);
      if (reference::At(frame, x, y) == want) continue;
      if (wrong++ == 0) first << "pixel (" << x << ", " << y << ") should be " << (wantNew ? "new" : "old");
    }
  }
  if (wrong == 0) return {};
  return first.str() + " (" + std::to_string(wrong) + " pixels wrong)";
}

TEST(StripRevealRows, DrawTheirRegionExactly) {
  constexpr std::uint32_t kSeed = 0x9E3779B9u;
  for (int row = effects::strip_reveals::kFirstRow; row <= effects::strip_reveals::kLastRow; ++row) {
    const effects::EffectProc proc = effects::EffectRow(row)->Proc;
    ASSERT_NE(proc, nullptr) << "row " << row;
    int failures = 0;
    for (const Size& size : kSizes) {
      Bitmap image(size.w, size.h);
      effect_checks::PaintNewCard(image);
      for (int progress = 1; progress <= 99 && failures < 3; ++progress) {
        const effects::ScaledExtent scaled = effects::ScaledSize(size.w, size.h, progress);
        Bitmap screen(size.w, size.h);
        effect_checks::PaintOldCard(screen);
        raster::SetStretchBltMode(screen.Canvas(), raster::COLORONCOLOR);
        raster::SetRandSeed(kSeed);
        proc(screen, image, size.w, size.h, scaled.X, scaled.Y, progress);

        strip_reference::Generator generator{kSeed};
        const strip_reference::Mask expected = strip_reference::RowMask(
            row, {size.w, size.h, scaled.X, scaled.Y, progress}, generator);
        const std::string where = "row " + std::to_string(row) + ", " + std::to_string(size.w) + "x" +
                                  std::to_string(size.h) + " at progress " + std::to_string(progress);
        if (const std::string bad = Mismatch(screen, expected); !bad.empty()) {
          ADD_FAILURE() << where << ": " << bad;
          ++failures;
        }
        if (raster::RandSeed() != generator.seed) {
          ADD_FAILURE() << where << ": the generator was not left where the row's draws leave it";
          ++failures;
        }
      }
    }
  }
}

}  // namespace
