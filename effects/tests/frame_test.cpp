#include "effects/frame.h"

#include <gtest/gtest.h>

#include "effects/effect_table.h"
#include "reference_raster.h"

namespace {

using effects::FrameContent;
using raster::Bitmap;
using reference::At;

TEST(DrawEffectFrame, LeavesTheStartFrameAtZeroAndShowsTheNewPictureAtHundred) {
  const Bitmap image(5, 4, 2);
  for (int style : {1, 60, 119, 176}) {
    Bitmap screen(5, 4, 1);
    EXPECT_EQ(effects::DrawEffectFrame(style, screen, image, 0), FrameContent::StartFrame);
    EXPECT_EQ(At(screen, 4, 3), 1u);
    EXPECT_EQ(effects::DrawEffectFrame(style, screen, image, 100), FrameContent::NewPicture);
    EXPECT_EQ(At(screen, 4, 3), 2u);
  }
}

TEST(DrawEffectFrame, CutsStraightToTheNewPictureForAStyleOutsideTheTable) {
  const Bitmap image(5, 4, 2);
  for (int style : {0, 177}) {
    Bitmap screen(5, 4, 1);
    EXPECT_EQ(effects::DrawEffectFrame(style, screen, image, 40), FrameContent::NewPicture);
    EXPECT_EQ(At(screen, 0, 0), 2u);
  }
}

TEST(DrawEffectFrame, LetsEveryRowDrawWithoutClipLeftBehind) {
  Bitmap image(37, 23, 2);
  for (int style = 1; style <= effects::kEffectCount; ++style) {
    Bitmap screen(37, 23, 1);
    raster::SetStretchBltMode(screen.Canvas(), raster::StretchMode::Halftone);
    EXPECT_EQ(effects::DrawEffectFrame(style, screen, image, 50), FrameContent::Effect) << style;
    EXPECT_EQ(screen.Canvas().StretchBltMode(), raster::COLORONCOLOR);
    EXPECT_EQ(screen.Canvas().ClipRegion(), nullptr);
  }
}

TEST(DrawEffectFrame, DrawsNothingWhenTheBitmapsDifferInSize) {
  const Bitmap image(5, 4, 2);
  Bitmap screen(4, 4, 1);
  EXPECT_EQ(effects::DrawEffectFrame(1, screen, image, 100), FrameContent::StartFrame);
  EXPECT_EQ(At(screen, 0, 0), 1u);
}

}  // namespace
