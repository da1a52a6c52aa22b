#include <gtest/gtest.h>

#include <climits>

#include "random_inputs.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "reference_raster.h"

namespace {

using raster::Bitmap;
using raster::MakePixel;
using reference::At;
using reference::GuardedBitmap;

// A canvas state worth testing through: an origin, maybe a clip region.
void RandomCanvasState(random_inputs::Inputs& in, raster::Canvas& dc, int extent) {
  raster::SetViewportOrgEx(dc, in.Between(-8, 8), in.Between(-8, 8));
  if (!in.OneIn(3)) raster::SelectClipRgn(dc, in.AnyRegion(extent));
}

void CopyCanvasState(const raster::Canvas& from, raster::Canvas& to) {
  raster::SetViewportOrgEx(to, from.ViewportOrg().X, from.ViewportOrg().Y);
  if (from.ClipRegion() != nullptr) raster::SelectClipRgn(to, *from.ClipRegion());
}

::testing::AssertionResult SamePixels(const Bitmap& actual, const Bitmap& expected) {
  for (int y = 0; y < expected.Height(); ++y) {
    for (int x = 0; x < expected.Width(); ++x) {
      if (At(actual, x, y) != At(expected, x, y)) {
        return ::testing::AssertionFailure() << "first difference at (" << x << ", " << y << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

enum class Operation { Copy, Stretch };

// Runs the fast operation on a guarded bitmap and the reference on a copy,
// with random geometry, sources (sometimes the destination itself), origins
// and clip regions.
void CompareWithReference(Operation op, unsigned seed, int trials) {
  random_inputs::Inputs in(seed);
  for (int trial = 0; trial < trials; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    GuardedBitmap dest(in.Between(1, 40), in.Between(1, 40));
    in.Scribble(dest.Get());
    Bitmap ownSource(in.Between(1, 40), in.Between(1, 40));
    in.Scribble(ownSource);
    const bool selfCopy = in.OneIn(4);
    const Bitmap& src = selfCopy ? dest.Get() : ownSource;
    RandomCanvasState(in, dest.Get().Canvas(), 40);

    Bitmap expected = dest.Get();
    CopyCanvasState(dest.Get().Canvas(), expected.Canvas());
    const Bitmap before = src;

    const int x = in.Between(-50, 50), y = in.Between(-50, 50);
    const int sx = in.Between(-20, 45), sy = in.Between(-20, 45);
    if (op == Operation::Copy) {
      const int w = in.Between(-3, 60), h = in.Between(-3, 60);
      ASSERT_TRUE(raster::BitBlt(dest.Get().Canvas(), x, y, w, h, src, sx, sy));
      reference::BitBlt(expected.Canvas(), x, y, w, h, before, sx, sy);
    } else {
      // Small sources too, so that large magnifications occur.
      const int w = in.Between(-70, 70), h = in.Between(-70, 70);
      const int sw = in.OneIn(3) ? in.Between(-3, 3) : in.Between(-45, 45);
      const int sh = in.OneIn(3) ? in.Between(-3, 3) : in.Between(-45, 45);
      ASSERT_TRUE(raster::StretchBlt(dest.Get().Canvas(), x, y, w, h, src, sx, sy, sw, sh));
      reference::StretchBlt(expected.Canvas(), x, y, w, h, before, sx, sy, sw, sh);
    }
    ASSERT_TRUE(SamePixels(dest.Get(), expected));
    ASSERT_EQ(dest.DamagedGuard(), "");
  }
}

TEST(BitBlt, MatchesThePlainCopyOnRandomInputs) { CompareWithReference(Operation::Copy, 1, 3000); }

TEST(StretchBlt, MatchesThePlainStretchOnRandomInputs) {
  CompareWithReference(Operation::Stretch, 2, 3000);
}

TEST(BitBlt, CopiesWithinOneBitmapFromThePictureAsItWas) {
  // Pushing the picture right by 3 columns and down by 2 rows and back,
  // unclipped and through a clip region of several rectangles.
  for (const bool clipped : {false, true}) {
    Bitmap b(10, 8);
    random_inputs::Inputs in(3);
    in.Scribble(b);
    if (clipped) {
      raster::Region clip = raster::CreateRectRgn(0, 0, 4, 8);
      raster::CombineRgn(clip, clip, raster::CreateRectRgn(6, 1, 10, 7), raster::RGN_OR);
      raster::SelectClipRgn(b.Canvas(), clip);
    }
    for (const auto& [dx, dy] : {std::pair{3, 2}, std::pair{-3, -2}, std::pair{2, -1}}) {
      Bitmap expected = b;
      CopyCanvasState(b.Canvas(), expected.Canvas());
      reference::BitBlt(expected.Canvas(), dx, dy, 10, 8, Bitmap(b), 0, 0);
      raster::BitBlt(b.Canvas(), dx, dy, 10, 8, b, 0, 0);
      EXPECT_TRUE(SamePixels(b, expected)) << dx << ", " << dy << (clipped ? " clipped" : "");
    }
  }
}

TEST(StretchBlt, MirrorsANegativeWidthFromTheBlocksFirstColumn) {
  // A roll of width 20 at column 100 shows source columns 139 down to 120.
  Bitmap src(200, 2);
  for (int x = 0; x < 200; ++x) {
    reference::Set(src, x, 0, raster::Pixel(x));
    reference::Set(src, x, 1, raster::Pixel(1000 + x));
  }
  Bitmap dest(200, 2, 7);
  raster::StretchBlt(dest.Canvas(), 119, 0, -20, 2, src, 120, 0, 20, 2);
  for (int x = 100; x < 120; ++x) EXPECT_EQ(At(dest, x, 0), raster::Pixel(239 - x)) << x;
  EXPECT_EQ(At(dest, 99, 0), 7u);
  EXPECT_EQ(At(dest, 120, 0), 7u);
  EXPECT_EQ(At(dest, 119, 1), 1120u);
}

TEST(StretchBlt, RepeatsAndDropsWholePixels) {
  Bitmap src(2, 1);
  reference::Set(src, 0, 0, MakePixel(1, 0, 0));
  reference::Set(src, 1, 0, MakePixel(2, 0, 0));
  Bitmap dest(4, 2);
  raster::StretchBlt(dest.Canvas(), 0, 0, 4, 2, src, 0, 0, 2, 1);
  const raster::Pixel a = MakePixel(1, 0, 0), b = MakePixel(2, 0, 0);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(At(dest, 0, y), a);
    EXPECT_EQ(At(dest, 1, y), a);
    EXPECT_EQ(At(dest, 2, y), b);
    EXPECT_EQ(At(dest, 3, y), b);
  }
  Bitmap small(1, 1, 9);
  raster::StretchBlt(small.Canvas(), 0, 0, 1, 1, dest, 0, 0, 4, 2);
  EXPECT_EQ(At(small, 0, 0), b);  // the pixel under the centre
}

TEST(StretchBlt, WithAnEmptySourceOrDestinationDrawsNothing) {
  Bitmap src(4, 4, 1);
  Bitmap dest(4, 4, 2);
  for (const auto& [w, h, sw, sh] : {std::tuple{0, 4, 4, 4}, std::tuple{4, 0, 4, 4},
                                     std::tuple{4, 4, 0, 4}, std::tuple{4, 4, 4, 0}}) {
    EXPECT_TRUE(raster::StretchBlt(dest.Canvas(), 0, 0, w, h, src, 0, 0, sw, sh));
  }
  EXPECT_EQ(At(dest, 0, 0), 2u);
}

TEST(Blit, ClipsBlocksAtTheEndsOfTheIntRange) {
  GuardedBitmap dest(8, 8);
  Bitmap src(8, 8, 5);
  dest.Get().Fill(1);
  raster::BitBlt(dest.Get().Canvas(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, 0, 0);
  raster::BitBlt(dest.Get().Canvas(), INT_MAX, 0, INT_MAX, 8, src, 0, 0);
  raster::StretchBlt(dest.Get().Canvas(), INT_MIN, 0, INT_MAX, 8, src, 0, 0, 8, 8);
  raster::StretchBlt(dest.Get().Canvas(), 0, 0, 8, 8, src, INT_MIN, 0, INT_MIN, 8);
  raster::StretchBlt(dest.Get().Canvas(), 0, 0, INT_MIN, 8, src, 0, 0, INT_MAX, 8);
  EXPECT_EQ(dest.DamagedGuard(), "");
}

TEST(Blit, RefusesOtherRasterOperations) {
  Bitmap src(2, 2, 1);
  Bitmap dest(2, 2, 2);
  EXPECT_FALSE(raster::BitBlt(dest.Canvas(), 0, 0, 2, 2, src, 0, 0, raster::RasterOp(0x00EE0086)));
  EXPECT_FALSE(
      raster::StretchBlt(dest.Canvas(), 0, 0, 2, 2, src, 0, 0, 2, 2, raster::RasterOp(0x00EE0086)));
  EXPECT_EQ(At(dest, 1, 1), 2u);
}

TEST(Blit, CarriesTheFourthByteAlong) {
  Bitmap src(3, 3, MakePixel(1, 2, 3, 0xAB));
  Bitmap dest(3, 3);
  raster::BitBlt(dest.Canvas(), 0, 0, 3, 3, src, 0, 0);
  EXPECT_EQ(raster::PixelByte(At(dest, 2, 2), raster::kFourthByte), 0xAB);
  Bitmap big(7, 5);
  raster::StretchBlt(big.Canvas(), 6, 4, -7, -5, src, 0, 0, 3, 3);
  EXPECT_EQ(raster::PixelByte(At(big, 0, 0), raster::kFourthByte), 0xAB);
}

}  // namespace
