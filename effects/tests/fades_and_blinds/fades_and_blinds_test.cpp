// Exact frames of rows 119 to 149 against the plain reference, and the
// oddities of these rows, each as a named case.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "effect_checks.h"
#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "fades_and_blinds/fades_and_blinds.h"
#include "raster/canvas.h"
#include "raster/random.h"
#include "reference_frames.h"
#include "reference_raster.h"

namespace {

using effects::fades_and_blinds::kFirstRow;
using effects::fades_and_blinds::kLastRow;
using raster::Bitmap;
using reference::At;
using reference_frames::Call;

effects::EffectProc Proc(int row) { return effects::EffectRow(row)->Proc; }

Call CallAt(int w, int h, int progress) {
  const effects::ScaledExtent scaled = effects::ScaledSize(w, h, progress);
  return {w, h, scaled.X, scaled.Y, progress};
}

struct Cards {
  Bitmap old;
  Bitmap image;
  Cards(int w, int h) : old(w, h), image(w, h) {
    effect_checks::PaintOldCard(old);
    effect_checks::PaintNewCard(image);
  }
};

// One frame of the row as the picture show makes it: from the old card, with
// the stretch mode it sets.
Bitmap Draw(int row, const Cards& cards, const Call& c) {
  Bitmap screen = cards.old;
  raster::SetStretchBltMode(screen.Canvas(), raster::COLORONCOLOR);
  Proc(row)(screen, cards.image, c.W, c.H, c.X, c.Y, c.P);
  return screen;
}

// Where the frame first differs from the expected one, or empty.
std::string Difference(const Bitmap& frame, const Bitmap& expected) {
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x)
      if (At(frame, x, y) != At(expected, x, y))
        return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return {};
}

// Which picture a pixel comes from, by the tag in its fourth byte (moved and
// turned pixels keep it).
bool ShowsNew(const Bitmap& frame, int x, int y) {
  return raster::PixelByte(At(frame, x, y), raster::kFourthByte) == effect_checks::kNewTag;
}

bool ShowsOld(const Bitmap& frame, int x, int y) {
  return raster::PixelByte(At(frame, x, y), raster::kFourthByte) == effect_checks::kOldTag;
}

int CountNew(const Bitmap& frame) {
  int count = 0;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) count += ShowsNew(frame, x, y);
  return count;
}

TEST(FadesAndBlinds, EveryRowHasItsProcedure) {
  for (int row = kFirstRow; row <= kLastRow; ++row) EXPECT_NE(Proc(row), nullptr) << "row " << row;
}

// Small odd sizes, a square, a tall and a wide one, and one large enough for
// many bands, cells and specks. The generator starts from the same seed for
// the procedure and for the reference, so the speckles can be compared too,
// and it must end at the same seed.
TEST(FadesAndBlinds, EveryRowDrawsItsReferenceFrame) {
  struct Size {
    int w, h, progressStep;
  };
  const Size sizes[] = {{1, 1, 1}, {2, 3, 1}, {37, 23, 1}, {9, 41, 1},
                        {64, 64, 1}, {121, 45, 2}, {203, 151, 7}};
  for (const Size& size : sizes) {
    const Cards cards(size.w, size.h);
    for (int row = kFirstRow; row <= kLastRow; ++row) {
      for (int progress = 1; progress <= 99; progress += size.progressStep) {
        const Call c = CallAt(size.w, size.h, progress);
        const std::uint32_t seed = 0x9E3779B9u + std::uint32_t(progress);
        raster::SetRandSeed(seed);
        const Bitmap expected = reference_frames::Frame(row, cards.old, cards.image, c);
        const std::uint32_t seedAfterReference = raster::RandSeed();
        raster::SetRandSeed(seed);
        const Bitmap frame = Draw(row, cards, c);
        const std::string where = "row " + std::to_string(row) + ", " + std::to_string(size.w) + "x" +
                                  std::to_string(size.h) + " at progress " + std::to_string(progress);
        ASSERT_EQ(Difference(frame, expected), "") << where;
        ASSERT_EQ(raster::RandSeed(), seedAfterReference) << where;
      }
    }
  }
}

// --- The oddities these rows are known for, as named cases.

TEST(Fade, AtProgressOneRoundsEachStepTowardMinusInfinity) {
  // d = 3: rising 0 -> 255 moves floor(765 / 256) = 2 (toward the old value),
  // falling 255 -> 0 moves floor(-765 / 256) = -3 (toward the new one).
  Bitmap screen(2, 1);
  reference::Set(screen, 0, 0, raster::MakePixel(0, 255, 100, 0x0D));
  reference::Set(screen, 1, 0, raster::MakePixel(255, 0, 100, 0x0D));
  Bitmap image(2, 1);
  reference::Set(image, 0, 0, raster::MakePixel(255, 0, 100, 0xB4));
  reference::Set(image, 1, 0, raster::MakePixel(0, 255, 101, 0xB4));
  Proc(119)(screen, image, 2, 1, 0, 0, 1);
  EXPECT_EQ(At(screen, 0, 0), raster::MakePixel(2, 252, 100, 0x0D));
  EXPECT_EQ(At(screen, 1, 0), raster::MakePixel(252, 2, 100, 0x0D));
}

TEST(Push, OnPicturesUnderFiftyPixelsShowsAllOrNothingAtTheEnds) {
  // 30 x 20: X = W and Y = H at progress 99, so the old picture has no room
  // left; X = Y = 0 at progress 1, so nothing changes.
  const Cards cards(30, 20);
  for (int row = 129; row <= 136; ++row) {
    EXPECT_EQ(Difference(Draw(row, cards, CallAt(30, 20, 99)), cards.image), "") << "row " << row;
    EXPECT_EQ(Difference(Draw(row, cards, CallAt(30, 20, 1)), cards.old), "") << "row " << row;
  }
}

TEST(RandomSquares, RepeatItsCellsWithinATransitionAndOnlyAddMore) {
  const Cards cards(160, 90);
  raster::SetRandSeed(77);
  const Bitmap first = Draw(128, cards, CallAt(160, 90, 40));
  EXPECT_EQ(raster::RandSeed(), 77u);
  raster::SetRandSeed(12345);  // whatever the generator held before
  EXPECT_EQ(Difference(Draw(128, cards, CallAt(160, 90, 40)), first), "");
  const Bitmap later = Draw(128, cards, CallAt(160, 90, 70));
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 160; ++x) {
      if (ShowsNew(first, x, y)) {
        ASSERT_TRUE(ShowsNew(later, x, y)) << x << ", " << y;
      }
    }
  EXPECT_GT(CountNew(later), CountNew(first));
  // The pattern belongs to the picture: another picture, another pattern.
  const Cards other(160, 90);
  EXPECT_NE(Difference(Draw(128, other, CallAt(160, 90, 40)), first), "");
}

TEST(Speckles, TwinkleFromFrameToFrameAtTheSameProgress) {
  const Cards cards(200, 150);
  for (int row = 124; row <= 127; ++row) {
    raster::SetRandSeed(5);
    const Bitmap first = Draw(row, cards, CallAt(200, 150, 30));
    const Bitmap second = Draw(row, cards, CallAt(200, 150, 30));  // the generator moved on
    EXPECT_NE(Difference(first, second), "") << "row " << row;
  }
}

// Turning point and the corner where the picture first shows, per pivot row.
struct PivotCase {
  int row;
  bool pivotRight, pivotTop;  // the corner the picture turns about
  bool wedgeTop;              // the named corner lies at the top (else bottom)
};
const PivotCase kPivots[] = {
    {120, false, false, true},
    {121, false, true, false},
    {122, true, false, true},
    {123, true, true, false},
};

TEST(Pivot, StartsAsASliverAtTheNamedCorner) {
  constexpr int kW = 400, kH = 300;
  const Cards cards(kW, kH);
  for (const PivotCase& p : kPivots) {
    const Bitmap frame = Draw(p.row, cards, CallAt(kW, kH, 1));
    const int sideColumn = p.pivotRight ? kW - 1 : 0;
    EXPECT_TRUE(ShowsNew(frame, sideColumn, p.wedgeTop ? 0 : kH - 1)) << "row " << p.row;
    EXPECT_TRUE(ShowsOld(frame, sideColumn, p.wedgeTop ? kH - 1 : 0)) << "row " << p.row;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const int fromSide = p.pivotRight ? kW - 1 - x : x;
        if (ShowsNew(frame, x, y)) {
          ASSERT_LT(fromSide, 8) << "row " << p.row << " at " << x << ", " << y;
        }
      }
    }
  }
}

// The turn takes the source pixel one up and one right of the plain rule's
// (at angle 0 Dest(x, y) would show Src(x + 1, y + 1)), so the rows turning
// about a left corner never cover the right column and those turning about a
// top corner never cover the top row: a one-pixel line of the old picture
// stays until the new picture is copied whole at 100.
TEST(Pivot, KeepsTheOldPictureOnTheLineTheOneUpOneRightSourceMisses) {
  const struct {
    int row;
    bool rightColumnOld, topRowOld;
  } cases[] = {{120, true, false}, {121, true, true}, {122, false, false}, {123, false, true}};
  constexpr int kW = 37, kH = 23;
  const Cards cards(kW, kH);
  for (const auto& c : cases) {
    bool rightColumnOld = true, topRowOld = true;
    for (int progress = 1; progress <= 99; ++progress) {
      const Bitmap frame = Draw(c.row, cards, CallAt(kW, kH, progress));
      for (int y = 0; y < kH; ++y) rightColumnOld = rightColumnOld && ShowsOld(frame, kW - 1, y);
      for (int x = 0; x < kW; ++x) topRowOld = topRowOld && ShowsOld(frame, x, 0);
    }
    EXPECT_EQ(rightColumnOld, c.rightColumnOld) << "row " << c.row;
    EXPECT_EQ(topRowOld, c.topRowOld) << "row " << c.row;
  }
}

TEST(Pivot, EndsWithThinWedgesOfTheOldPictureAwayFromTheTurningPoint) {
  constexpr int kW = 400, kH = 300;
  const Cards cards(kW, kH);
  for (const PivotCase& p : kPivots) {
    const Bitmap frame = Draw(p.row, cards, CallAt(kW, kH, 99));
    const int farX = p.pivotRight ? 0 : kW - 1, farY = p.pivotTop ? kH - 1 : 0;
    const int nearX = p.pivotRight ? kW - 4 : 3, nearY = p.pivotTop ? 3 : kH - 4;
    EXPECT_TRUE(ShowsOld(frame, farX, farY)) << "row " << p.row;
    EXPECT_TRUE(ShowsNew(frame, nearX, nearY)) << "row " << p.row;
    EXPECT_FALSE(ShowsOld(frame, kW / 2, kH / 2)) << "row " << p.row;
    int oldPixels = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) oldPixels += ShowsOld(frame, x, y);
    EXPECT_LT(oldPixels, kW * kH / 50) << "row " << p.row;
  }
}

TEST(MovingRectangles, ShowNothingWhenTheStripeUnitIsZero) {
  // The unit is H div 20 (rows 146, 147) or W div 20 (148, 149).
  const struct {
    int row, w, h;
  } cases[] = {{146, 60, 19}, {147, 60, 19}, {148, 19, 60}, {149, 19, 60}};
  for (const auto& c : cases) {
    const Cards cards(c.w, c.h);
    for (int progress = 1; progress <= 99; ++progress)
      ASSERT_EQ(Difference(Draw(c.row, cards, CallAt(c.w, c.h, progress)), cards.old), "")
          << "row " << c.row << " at progress " << progress;
  }
}

TEST(UnevenBlinds, AreShutAtProgressOneAndTwoHalfOpenBandsAtFifty) {
  constexpr int kW = 100, kH = 80;
  const Cards cards(kW, kH);
  for (int row = 139; row <= 142; ++row) {
    EXPECT_EQ(Difference(Draw(row, cards, CallAt(kW, kH, 1)), cards.old), "") << "row " << row;
  }
  // At 50: pitch X = 50 (Y = 40), each band open over 25 (20) pixels from its
  // edge on the named side.
  const struct {
    int row;
    std::function<bool(int, int)> open;
  } half[] = {
      {139, [](int x, int) { return x % 50 < 25; }},
      {140, [](int x, int) { return x % 50 >= 25; }},
      {141, [](int, int y) { return y % 40 < 20; }},
      {142, [](int, int y) { return y % 40 >= 20; }},
  };
  for (const auto& c : half) {
    const Bitmap frame = Draw(c.row, cards, CallAt(kW, kH, 50));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        ASSERT_EQ(ShowsNew(frame, x, y), c.open(x, y)) << "row " << c.row << " at " << x << ", " << y;
  }
}

TEST(Sweep, ShowsNothingAtProgressOneAndTurnsEachWayFromTwelveOClock) {
  constexpr int kW = 101, kH = 81;
  const Cards cards(kW, kH);
  for (int row : {144, 145}) {
    EXPECT_EQ(Difference(Draw(row, cards, CallAt(kW, kH, 1)), cards.old), "") << "row " << row;
    EXPECT_GT(CountNew(Draw(row, cards, CallAt(kW, kH, 2))), 0) << "row " << row;
  }
  // At 25 the slice spans 86.4 degrees: the top right quarter clockwise, the
  // top left one anticlockwise.
  for (int row : {144, 145}) {
    const Bitmap frame = Draw(row, cards, CallAt(kW, kH, 25));
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        if (!ShowsNew(frame, x, y)) continue;
        ASSERT_LE(y, kH / 2) << "row " << row;
        ASSERT_TRUE(row == 144 ? x >= kW / 2 : x <= kW / 2) << "row " << row << " at " << x << ", " << y;
      }
    }
    EXPECT_TRUE(ShowsNew(frame, row == 144 ? kW - 1 : 0, 0)) << "row " << row;  // reaches the corner
  }
}

TEST(RectangularShred, UsesTwoPixelCellsOnPicturesUnderTenPixels) {
  // t = 1: half a side of MulDiv(1, P, 100) is 0 up to 49 and 1 from 50 on,
  // when every 2 x 2 cell is filled at once.
  const Cards cards(9, 7);
  EXPECT_EQ(Difference(Draw(143, cards, CallAt(9, 7, 49)), cards.old), "");
  EXPECT_EQ(Difference(Draw(143, cards, CallAt(9, 7, 50)), cards.image), "");
}

}  // namespace
