#include "raster/pixel_routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "random_inputs.h"
#include "raster/numeric.h"
#include "reference_raster.h"

namespace {

using raster::Bitmap;
using raster::MakePixel;
using reference::At;
using reference::GuardedBitmap;

constexpr std::uint8_t kTag = 0x5C;

// A bitmap whose colour bytes are all 100 and whose fourth bytes hold kTag.
void FillGrey(Bitmap& b) { b.Fill(MakePixel(100, 100, 100, kTag)); }

// The change every pixel of column x (row y) received, read from blue, after
// checking that green and red agree and the fourth byte was left alone.
int ShadeAt(const Bitmap& b, int x, int y) {
  const raster::Pixel p = At(b, x, y);
  EXPECT_EQ(raster::PixelByte(p, raster::kFourthByte), kTag);
  EXPECT_EQ(raster::PixelByte(p, raster::kGreenByte), raster::PixelByte(p, raster::kBlueByte));
  EXPECT_EQ(raster::PixelByte(p, raster::kRedByte), raster::PixelByte(p, raster::kBlueByte));
  return raster::PixelByte(p, raster::kBlueByte) - 100;
}

struct ProfileCase {
  std::uint8_t amount;
  int count;
  std::vector<int> profile;  // columns left to right, or rows bottom first
};

TEST(ShadeColumns, BuildsTheRollProfile) {
  const ProfileCase cases[] = {
      {64, 10, {-64, -52, -40, -28, -16, -4, -16, -28, -40, -52}},
      {2, 10, {-2, -2, -1, -1, 0, 0, -1, -1, -2, -2}},
  };
  for (const ProfileCase& c : cases) {
    GuardedBitmap b(c.count + 4, 3);
    FillGrey(b.Get());
    raster::ShadeColumns(b.Get(), c.amount, 2, c.count);
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(ShadeAt(b.Get(), 0, y), 0);
      EXPECT_EQ(ShadeAt(b.Get(), 1, y), 0);
      for (int k = 0; k < c.count; ++k) EXPECT_EQ(ShadeAt(b.Get(), 2 + k, y), c.profile[k]) << k;
      EXPECT_EQ(ShadeAt(b.Get(), c.count + 2, y), 0);
    }
    EXPECT_EQ(b.DamagedGuard(), "");
  }
}

TEST(ShadeRows, WalksTheBandFromItsBottomRowUp) {
  const ProfileCase c{64, 10, {-64, -52, -40, -28, -16, -28, -40, -52, -64, -76}};
  GuardedBitmap b(3, 14);
  FillGrey(b.Get());
  raster::ShadeRows(b.Get(), c.amount, 2, c.count);
  for (int k = 0; k < c.count; ++k) {
    const int row = 2 + c.count - 1 - k;  // bottom row of the band first
    for (int x = 0; x < 3; ++x) EXPECT_EQ(ShadeAt(b.Get(), x, row), c.profile[k]) << "k " << k;
  }
  for (int row : {0, 1, 12, 13}) EXPECT_EQ(ShadeAt(b.Get(), 1, row), 0);
  EXPECT_EQ(b.DamagedGuard(), "");
}

TEST(Shading, LeavesTheBitmapAloneForShortBandsOrNoAmount) {
  for (const auto& [amount, count] : {std::pair{64, 0}, std::pair{64, 1}, std::pair{0, 10}}) {
    Bitmap b(12, 12);
    FillGrey(b);
    raster::ShadeColumns(b, std::uint8_t(amount), 1, count);
    raster::ShadeRows(b, std::uint8_t(amount), 1, count);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) ASSERT_EQ(ShadeAt(b, x, y), 0);
  }
}

TEST(Shading, SaturatesAtBlackAndSkipsWhatLiesOutsideTheBitmap) {
  GuardedBitmap b(5, 5);
  b.Get().Fill(MakePixel(10, 200, 30, kTag));
  raster::ShadeColumns(b.Get(), 64, -3, 10);  // columns -3 .. 6 of a 5-wide bitmap
  raster::ShadeRows(b.Get(), 64, 3, 10);
  EXPECT_EQ(b.DamagedGuard(), "");
  // Column 0 is index 3 of the profile (-28): red 10 saturates at 0.
  const raster::Pixel p = At(b.Get(), 0, 0);
  EXPECT_EQ(raster::PixelByte(p, raster::kRedByte), 0);
  EXPECT_EQ(raster::PixelByte(p, raster::kGreenByte), 200 - 28);
  EXPECT_EQ(raster::PixelByte(p, raster::kFourthByte), kTag);
}

TEST(BlendRect, WithZeroLeavesDestAndWithHundredCopiesTheColours) {
  Bitmap src(7, 3, MakePixel(200, 10, 90, 0x11));
  Bitmap dest(7, 3, MakePixel(20, 240, 60, 0x22));
  const Bitmap before = dest;
  raster::BlendRect(dest, src, 0, 0, 0, 7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(At(dest, x, y), At(before, x, y));
  raster::BlendRect(dest, src, 100, 0, 0, 7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(At(dest, x, y), MakePixel(200, 10, 90, 0x22));
}

TEST(BlendRect, MatchesTheFlooredStepOnRandomInputs) {
  random_inputs::Inputs in(41);
  for (int trial = 0; trial < 400; ++trial) {
    const int w = in.Between(1, 37), h = in.Between(1, 9);
    GuardedBitmap dest(w, h);
    Bitmap src(w, h);
    in.Scribble(dest.Get());
    in.Scribble(src);
    const Bitmap before = dest.Get();
    const int percent = in.OneIn(8) ? in.Between(-50, 150) : in.Between(0, 100);
    const raster::Rect r = in.AnyRect(-4, w + 4);
    raster::BlendRect(dest.Get(), src, percent, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    const int f = raster::MulDiv(256, std::clamp(percent, 0, 100), 100);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const raster::Pixel d = At(before, x, y), s = At(src, x, y);
        raster::Pixel expected = d;
        if (r.Contains(x, y)) {
          const auto step = [&](int b) {
            const int dv = raster::PixelByte(d, b), sv = raster::PixelByte(s, b);
            // floor, also for a negative difference
            return std::uint8_t(dv + int(std::floor((sv - dv) * f / 256.0)));
          };
          expected = MakePixel(step(raster::kRedByte), step(raster::kGreenByte), step(raster::kBlueByte),
                               raster::PixelByte(d, raster::kFourthByte));
        }
        ASSERT_EQ(At(dest.Get(), x, y), expected) << "trial " << trial << " at " << x << ", " << y;
      }
    }
    ASSERT_EQ(dest.DamagedGuard(), "");
  }
}

// Every pair of colour bytes (d, s) at every Percent, once through the
// vectorised loop (whole 256-pixel rows) and once through the plain one
// (rectangles one pixel wide), against d + ((s - d) * F >> 8) with an
// arithmetic shift.
TEST(BlendRect, BothLoopsGiveTheFlooredStepForEveryBytePair) {
  constexpr int kSide = 256;
  // Red takes (d, s) = (x, y), green (y, x), blue (x + y, x): each channel
  // meets every pair exactly once over the grid.
  Bitmap dest(kSide, kSide);
  Bitmap src(kSide, kSide);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      reference::Set(dest, x, y, MakePixel(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x + y), kTag));
      reference::Set(src, x, y, MakePixel(std::uint8_t(y), std::uint8_t(x), std::uint8_t(x), 0x77));
    }
  }
  const auto expected = [](raster::Pixel d, raster::Pixel s, int f) {
    const auto step = [&](int b) {
      const int dv = raster::PixelByte(d, b), sv = raster::PixelByte(s, b);
      return std::uint8_t(dv + (((sv - dv) * f) >> 8));
    };
    return MakePixel(step(raster::kRedByte), step(raster::kGreenByte), step(raster::kBlueByte),
                     raster::PixelByte(d, raster::kFourthByte));
  };
  for (int percent = 0; percent <= 100; ++percent) {
    const int f = raster::MulDiv(256, percent, 100);
    Bitmap wide = dest;
    raster::BlendRect(wide, src, percent, 0, 0, kSide, kSide);
    Bitmap narrow = dest;
    for (int x = 0; x < kSide; ++x) raster::BlendRect(narrow, src, percent, x, 0, 1, kSide);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const raster::Pixel want = expected(At(dest, x, y), At(src, x, y), f);
        ASSERT_EQ(At(wide, x, y), want) << "percent " << percent << " at " << x << ", " << y;
        ASSERT_EQ(At(narrow, x, y), want) << "percent " << percent << " at " << x << ", " << y;
      }
    }
  }
}

// RotateImage's rule for one pixel, straight from its definition, with rows
// numbered upward from the bottom.
void ReferenceRotate(Bitmap& dest, const Bitmap& src, int cx, int cy, double angle) {
  const std::int64_t s = raster::Trunc(std::sin(-angle) * 65536);
  const std::int64_t c = raster::Trunc(std::cos(-angle) * 65536);
  const int w = src.Width(), h = src.Height();
  for (int y = 0; y < dest.Height(); ++y) {
    for (int x = 0; x < dest.Width(); ++x) {
      const std::int64_t u = x - cx + 1, v = y - cy + 1;
      const std::int64_t sx = cx + int(std::floor((u * c - v * s) / 65536.0));
      const std::int64_t sy = cy + int(std::floor((u * s + v * c) / 65536.0));
      if (sx < 0 || sx >= w || sy < 0 || sy >= h) continue;
      reference::Set(dest, x, dest.Height() - 1 - y, At(src, int(sx), int(h - 1 - sy)));
    }
  }
}

TEST(RotateImage, MatchesItsRuleOnRandomAngles) {
  random_inputs::Inputs in(42);
  for (int trial = 0; trial < 200; ++trial) {
    const int w = in.Between(1, 30), h = in.Between(1, 30);
    GuardedBitmap dest(w, h);
    Bitmap src(w, h);
    in.Scribble(dest.Get());
    in.Scribble(src);
    Bitmap expected = dest.Get();
    const int cx = in.Between(-3, w + 3), cy = in.Between(-3, h + 3);
    const double angle = in.Between(-700, 700) / 100.0;
    raster::RotateImage(dest.Get(), src, cx, cy, angle);
    ReferenceRotate(expected, src, cx, cy, angle);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(At(dest.Get(), x, y), At(expected, x, y)) << trial;
    ASSERT_EQ(dest.DamagedGuard(), "");
  }
}

// Pictures larger than the routine's tiles (32 rows by 128 columns), turning
// points far outside, steep and shallow angles, and the axis-parallel angles
// where one step of a sum is 0: each row's solved run must be exactly the
// pixels the rule draws.
TEST(RotateImage, MatchesItsRuleAcrossTilesAndAtAxisAngles) {
  random_inputs::Inputs in(44);
  const double quarter = std::numbers::pi / 2;
  for (int trial = 0; trial < 60; ++trial) {
    const int w = in.Between(1, 300), h = in.Between(1, 90);
    GuardedBitmap dest(w, h);
    Bitmap src(in.Between(1, 300), in.Between(1, 90));
    in.Scribble(dest.Get());
    in.Scribble(src);
    Bitmap expected = dest.Get();
    const int reach = in.OneIn(4) ? 5000 : 10;
    const int cx = in.Between(-reach, w + reach), cy = in.Between(-reach, h + reach);
    const double angle = trial % 5 == 0 ? (trial / 5 % 5 - 2) * quarter : in.Between(-700, 700) / 100.0;
    raster::RotateImage(dest.Get(), src, cx, cy, angle);
    ReferenceRotate(expected, src, cx, cy, angle);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(At(dest.Get(), x, y), At(expected, x, y)) << "trial " << trial << " at " << x << ", " << y;
    ASSERT_EQ(dest.DamagedGuard(), "");
  }
}

TEST(RotateImage, TurnsABitmapIntoItselfFromThePictureAsItWas) {
  random_inputs::Inputs in(45);
  Bitmap picture(150, 70);
  in.Scribble(picture);
  Bitmap expected = picture;
  const Bitmap before = picture;
  ReferenceRotate(expected, before, 20, 30, 0.7);
  raster::RotateImage(picture, picture, 20, 30, 0.7);
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 150; ++x) ASSERT_EQ(At(picture, x, y), At(expected, x, y)) << x << ", " << y;
}

TEST(RotateImage, AtAngleZeroTakesTheSourcePixelOneUpAndOneRight) {
  // The rule's "+ 1" makes the unturned picture sit one pixel off: the right
  // column and the top row keep what the destination had.
  Bitmap src(4, 3);
  random_inputs::Inputs in(43);
  in.Scribble(src);
  Bitmap dest(4, 3, 7);
  raster::RotateImage(dest, src, -1, -1, 0.0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      const bool shown = x < 3 && y > 0;
      EXPECT_EQ(At(dest, x, y), shown ? At(src, x + 1, y - 1) : 7u) << x << ", " << y;
    }
  }
}

TEST(RotatePoints, TurnsClockwiseOnScreenAndRoundsToWholePixels) {
  std::vector<raster::Point> points = {{6, 5}, {5, 7}, {8, 8}, {5, 5}};
  raster::RotatePoints(points, 5, 5, std::numbers::pi / 2);
  EXPECT_EQ(points[0], (raster::Point{5, 6}));  // right of the centre turns to below it
  EXPECT_EQ(points[1], (raster::Point{3, 5}));
  EXPECT_EQ(points[2], (raster::Point{2, 8}));
  EXPECT_EQ(points[3], (raster::Point{5, 5}));
  std::vector<raster::Point> one = {{10, 0}};
  raster::RotatePoints(one, 0, 0, 0.3);
  EXPECT_EQ(one[0], (raster::Point{raster::Round(10 * std::cos(0.3)), raster::Round(10 * std::sin(0.3))}));
}

}  // namespace
