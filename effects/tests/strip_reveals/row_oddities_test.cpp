// The particular behaviours of rows 60 .. 118 that their rules imply and that
// are easy to lose: bars that have not started on small pictures, the pass
// boundary of the doubled front, crossings only, single-pass directions, the
// shimmer of the shreds, flat and half-elliptic curved fronts, the late start
// of the shrinking ellipse, the exact half of the diagonal, and the cells of
// the triangular shred.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "effect_checks.h"
#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/canvas.h"
#include "raster/pixel.h"
#include "raster/random.h"
#include "strip_reveals/strip_reveals.h"

namespace {

using raster::Bitmap;

// One frame of `row` from the test cards, the generator as it stands.
Bitmap Render(int row, int w, int h, int progress) {
  Bitmap image(w, h);
  effect_checks::PaintNewCard(image);
  Bitmap screen(w, h);
  effect_checks::PaintOldCard(screen);
  raster::SetStretchBltMode(screen.Canvas(), raster::COLORONCOLOR);
  const effects::ScaledExtent scaled = effects::ScaledSize(w, h, progress);
  effects::EffectRow(row)->Proc(screen, image, w, h, scaled.X, scaled.Y, progress);
  return screen;
}

bool IsNew(const Bitmap& frame, int x, int y) {
  return raster::PixelByte(frame.PixelRow(y)[x], raster::kFourthByte) == effect_checks::kNewTag;
}

int CountNew(const Bitmap& frame) {
  int count = 0;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) count += IsNew(frame, x, y);
  return count;
}

bool SameFrame(const Bitmap& a, const Bitmap& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.PixelRow(y)[x] != b.PixelRow(y)[x]) return false;
  return true;
}

const std::vector<int> kBarRows = {60, 61, 62, 63, 64, 71, 72, 73, 74, 75, 86, 87, 88, 89, 90,
                                   91, 92, 93, 94, 95, 96, 97, 98, 99};

TEST(BarRows, OnPicturesBelowFiftyPixelsStartWithBarsOfNoLength) {
  for (int row : kBarRows) EXPECT_EQ(CountNew(Render(row, 37, 23, 1)), 0) << "row " << row;
}

TEST(BarRows, DoubledFrontAtTheFullSideCompletesEverySecondBarOnly) {
  // 64 x 64: bars 2 pixels thick; at progress 50 the doubled front is 64.
  const Bitmap across = Render(60, 64, 64, 50);
  const Bitmap down = Render(71, 64, 64, 50);
  for (int a = 0; a < 64; ++a) {
    for (int b = 0; b < 64; ++b) {
      const bool evenBar = (a / 2) % 2 == 0;
      ASSERT_EQ(IsNew(across, b, a), evenBar) << "row 60, pixel (" << b << ", " << a << ")";
      ASSERT_EQ(IsNew(down, a, b), evenBar) << "row 71, pixel (" << a << ", " << b << ")";
    }
  }
  // One step more (doubled front 66) starts the odd bars at the far side.
  const Bitmap next = Render(60, 64, 64, 51);
  for (int x = 0; x < 64; ++x) EXPECT_EQ(IsNew(next, x, 2), x >= 62) << "column " << x;
}

TEST(BarRows, CrissCrossFromTwoCornersShowsOnlyWhereBothPatternsArrived) {
  // 64 x 64 at progress 10: doubled front 12, bars 2 pixels thick.
  const Bitmap frame = Render(99, 64, 64, 10);
  int shown = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (!IsNew(frame, x, y)) continue;
      ++shown;
      const bool topRight = x >= 52 && y < 12;
      const bool bottomLeft = x < 12 && y >= 52;
      EXPECT_TRUE(topRight || bottomLeft) << "pixel (" << x << ", " << y << ")";
      EXPECT_TRUE((x / 2) % 2 == 0 && (y / 2) % 2 == 0) << "pixel (" << x << ", " << y << ") off a crossing";
    }
  }
  EXPECT_GT(shown, 0);
  EXPECT_GT(CountNew(Render(86, 64, 64, 10)), 4 * shown);
}

TEST(BarRows, SinglePassDirectionLeavesItsOddBarsToTheOtherDirection) {
  // In rows 94 and 95 the bars across never reach their second pass, so on
  // the odd bars across they show just what the bars down of row 75 show;
  // rows 96 and 97 likewise on the odd bars down, against row 64.
  struct Case {
    int row;
    int singleDirectionRow;
    bool oddBarsAcross;
  };
  const Case cases[] = {{94, 75, true}, {95, 75, true}, {96, 64, false}, {97, 64, false}};
  for (const Case& c : cases) {
    for (int progress = 1; progress <= 99; progress += 7) {
      const Bitmap frame = Render(c.row, 64, 64, progress);
      const Bitmap single = Render(c.singleDirectionRow, 64, 64, progress);
      for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
          const int bar = (c.oddBarsAcross ? y : x) / 2;
          if (bar % 2 == 0) continue;
          ASSERT_EQ(IsNew(frame, x, y), IsNew(single, x, y))
              << "row " << c.row << " at " << progress << ", pixel (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST(StripRows, ShredsShimmerAndAdvanceTheGeneratorWhileTheOtherRowsRepeat) {
  // The shreds draw without reseeding; no other row of the family draws.
  const std::set<int> shredRows = {65,  66,  67,  68,  76,  77,  78,  79,  100,
                                   101, 102, 103, 104, 105, 106, 107, 108, 109};
  for (int row = effects::strip_reveals::kFirstRow; row <= effects::strip_reveals::kLastRow; ++row) {
    raster::SetRandSeed(20240611u);
    const Bitmap first = Render(row, 64, 64, 50);
    const std::uint32_t between = raster::RandSeed();
    const Bitmap second = Render(row, 64, 64, 50);
    const bool shred = shredRows.count(row) != 0;
    EXPECT_EQ(between != 20240611u, shred) << "row " << row;
    EXPECT_EQ(!SameFrame(first, second), shred) << "row " << row;
  }
}

TEST(CurvedRows, FrontIsFlatInTheMiddleOfAWidePictureAndHalfAnEllipseOfANarrowOne) {
  // Wide: 101 x 20 at progress 25, front 2Y = 10, corner ellipses 40 wide.
  for (int row : {69, 70}) {
    const Bitmap wide = Render(row, 101, 20, 25);
    for (int x = 20; x <= 81; ++x) {
      for (int y = 0; y < 20; ++y) {
        const int fromEdge = row == 69 ? y : 19 - y;
        ASSERT_EQ(IsNew(wide, x, y), fromEdge < 10) << "row " << row << ", pixel (" << x << ", " << y << ")";
      }
    }
    EXPECT_FALSE(IsNew(wide, 0, row == 69 ? 9 : 10)) << "row " << row << ": the ends lag behind";
  }
  // Narrow: 31 x 20 at progress 25 (2Y = 10): only the middle reaches the
  // front, and the front falls away towards both sides. The rectangle is
  // W + 1 wide, so the half ellipse is symmetric about x = 16, half a pixel
  // right of the picture's middle.
  const Bitmap narrow = Render(69, 31, 20, 25);
  std::vector<int> depth(31);
  for (int x = 0; x < 31; ++x)
    for (int y = 0; y < 20; ++y) depth[std::size_t(x)] += IsNew(narrow, x, y);
  EXPECT_EQ(depth[15], 10);
  EXPECT_EQ(depth[16], 10);
  for (int x = 1; x <= 15; ++x) {
    EXPECT_LE(depth[std::size_t(x - 1)], depth[std::size_t(x)]) << x;
    EXPECT_EQ(depth[std::size_t(x)], depth[std::size_t(31 - x)]) << x;
  }
  EXPECT_LT(depth[5], 10);
}

TEST(CurvedRows, ShrinkingEllipseShowsNothingUntilAThirdAndThenOnlyInTheCorners) {
  for (const auto& [w, h] : {std::pair{64, 64}, std::pair{37, 23}, std::pair{200, 120}}) {
    int firstShown = 0;
    for (int progress = 1; progress <= 99 && firstShown == 0; ++progress) {
      if (CountNew(Render(85, w, h, progress)) > 0) firstShown = progress;
    }
    EXPECT_GE(firstShown, 28) << w << "x" << h;
    EXPECT_LE(firstShown, 36) << w << "x" << h;
    const Bitmap frame = Render(85, w, h, firstShown);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool corner = (x < w / 4 || x >= w - w / 4) && (y < h / 4 || y >= h - h / 4);
        EXPECT_TRUE(corner || !IsNew(frame, x, y)) << w << "x" << h << ", pixel (" << x << ", " << y << ")";
      }
    }
    // On even sides the shape is centred on the picture and all four
    // corners open at once; on odd sides it sits half a pixel up and left.
    if (w % 2 == 0 && h % 2 == 0) {
      EXPECT_TRUE(IsNew(frame, 0, 0) && IsNew(frame, w - 1, 0) && IsNew(frame, 0, h - 1) &&
                  IsNew(frame, w - 1, h - 1))
          << w << "x" << h;
    }
  }
}

TEST(DiagonalRows, HalfwayTheUpperLeftHalfIsNew) {
  // Row 110 at progress 50 on even sides: the triangle (0, 0), (W, 0),
  // (0, H); a pixel whose centre lies on the diagonal stays old.
  for (const auto& [w, h] : {std::pair{64, 64}, std::pair{40, 20}, std::pair{20, 40}}) {
    const Bitmap frame = Render(110, w, h, 50);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool above = (2 * x + 1) * h + (2 * y + 1) * w < 2 * w * h;
        ASSERT_EQ(IsNew(frame, x, y), above) << w << "x" << h << ", pixel (" << x << ", " << y << ")";
      }
    }
  }
}

TEST(StarburstRows, StartAsFourSliversAtTheCorners) {
  for (int row : {116, 117}) {
    const Bitmap frame = Render(row, 64, 64, 5);
    int quarters[2][2] = {};
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) quarters[y / 32][x / 32] += IsNew(frame, x, y);
    for (auto& half : quarters)
      for (int count : half) EXPECT_GT(count, 0) << "row " << row;
    // Away from the slivers, which run from the corners along the diagonals.
    for (const auto& [x, y] : {std::pair{24, 8}, std::pair{8, 24}, std::pair{40, 56}, std::pair{56, 40}})
      EXPECT_FALSE(IsNew(frame, x, y)) << "row " << row << ", pixel (" << x << ", " << y << ")";
  }
}

TEST(TriangularShred, CellsOfOnePixelOnTinyPictures) {
  // 1 x 1: one cell, centre (1, 1); half-sizes MulDiv(1, P, 50) are 0 up to
  // progress 24 and 1 from 25, when the triangle first covers the pixel.
  EXPECT_FALSE(IsNew(Render(118, 1, 1, 24), 0, 0));
  EXPECT_TRUE(IsNew(Render(118, 1, 1, 25), 0, 0));
}

TEST(TriangularShred, RowsOfCentresGoOneCellBelowThePicture) {
  // 31 x 12: cells 4 x 2, centres down to y = 14 (its cell starts at 12,
  // below the picture). At progress 75 (half-sizes 6 and 3) that row's
  // triangles reach up to row 11, where pixel (7, 11) is theirs alone.
  EXPECT_TRUE(IsNew(Render(118, 31, 12, 75), 7, 11));
}

}  // namespace
