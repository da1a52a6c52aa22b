#pragma once

#include "effects/effect_table.h"
#include "raster/bitmap.h"

namespace effects {

enum class FrameContent {
  StartFrame,  // left as it was
  Effect,      // drawn by the row's procedure
  NewPicture,  // the new picture, copied whole
};

// One frame of a transition with effect row `style`, the way the picture show
// makes it. Screen must hold the start frame and have Image's size.
//   Progress 0 (or less): Screen is left as it is.
//   Progress 100 (or more): Image is copied whole.
//   A style outside 1 .. 176: the new picture, as a plain cut.
//   Otherwise the stretch mode is set to COLORONCOLOR and the row's procedure
//   draws with the scaled size of ScaledSize.
// When Screen's size differs from Image's, nothing is drawn (StartFrame).
FrameContent DrawEffectFrame(int style, raster::Bitmap& Screen, const raster::Bitmap& Image,
                             int Progress) noexcept;
// The same for a given row (one of the table's, or a tool's own).
FrameContent DrawEffectFrame(const Effect& row, raster::Bitmap& Screen, const raster::Bitmap& Image,
                             int Progress) noexcept;

}  // namespace effects
