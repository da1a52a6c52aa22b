#include "effects/effect_helpers.h"

#include <gtest/gtest.h>

#include "random_inputs.h"
#include "reference_raster.h"

namespace {

using raster::Bitmap;
using reference::At;

struct ScaledCase {
  int w, h, progress;
  effects::ScaledExtent expected;
};

TEST(ScaledSize, ScalesTheLargerSideFirst) {
  const ScaledCase cases[] = {
      {200, 100, 50, {100, 50}},  {100, 200, 50, {50, 100}},  {37, 23, 1, {0, 0}},
      {37, 23, 2, {1, 1}},        {37, 23, 99, {37, 23}},      {23, 37, 99, {23, 37}},
      {800, 600, 1, {8, 6}},      {1920, 1080, 33, {634, 357}}, {9, 41, 50, {5, 21}},
      {64, 64, 73, {47, 47}},     {1, 1, 50, {1, 1}},          {1, 1, 49, {0, 0}},
      {200, 100, 100, {200, 100}}, {200, 100, 0, {0, 0}},      {0, 10, 50, {0, 0}},
      {10, -3, 50, {0, 0}},
  };
  for (const ScaledCase& c : cases) {
    EXPECT_EQ(effects::ScaledSize(c.w, c.h, c.progress), c.expected) << c.w << "x" << c.h << " at " << c.progress;
  }
}

TEST(RevealRegion, CopiesTheNewPictureInsideTheRegionOnlyAndRemovesTheClip) {
  random_inputs::Inputs in(51);
  for (int trial = 0; trial < 200; ++trial) {
    const int w = in.Between(1, 30), h = in.Between(1, 30);
    reference::GuardedBitmap screen(w, h);
    Bitmap image(w, h);
    in.Scribble(screen.Get());
    in.Scribble(image);
    Bitmap expected = screen.Get();
    const raster::Region region = in.AnyRegion(30);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (region.Contains(x, y)) reference::Set(expected, x, y, At(image, x, y));
    effects::RevealRegion(screen.Get(), image, w, h, region);
    EXPECT_EQ(screen.Get().Canvas().ClipRegion(), nullptr);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(At(screen.Get(), x, y), At(expected, x, y)) << trial;
    ASSERT_EQ(screen.DamagedGuard(), "");
  }
}

TEST(RevealRegion, WithoutARegionKeepsTheOldPicture) {
  Bitmap screen(4, 4, 1);
  const Bitmap image(4, 4, 2);
  effects::RevealRegion(screen, image, 4, 4, std::optional<raster::Region>());
  EXPECT_EQ(At(screen, 2, 2), 1u);
  EXPECT_EQ(screen.Canvas().ClipRegion(), nullptr);
}

TEST(PictureSeed, IsTheHandleOfTheNewPicture) {
  const Bitmap image(3, 3);
  EXPECT_EQ(effects::PictureSeed(image), image.Handle());
  EXPECT_NE(effects::PictureSeed(Bitmap(3, 3)), effects::PictureSeed(image));
}

}  // namespace
