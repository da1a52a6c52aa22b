#pragma once

#include <cstdint>
#include <optional>

#include "raster/bitmap.h"
#include "raster/region.h"

// Steps that several families of effects share.
namespace effects {

// The progress-scaled size of a W by H picture (pixels): the larger side is
// scaled first and the other follows the aspect ratio, so that X / W and
// Y / H agree up to rounding. Non-positive sizes give (0, 0).
struct ScaledExtent {
  int X;
  int Y;
  friend bool operator==(const ScaledExtent&, const ScaledExtent&) = default;
};
ScaledExtent ScaledSize(int W, int H, int Progress) noexcept;

// Shows the new picture through R: R becomes Screen's clip region, the whole
// of Image (W by H) is copied onto Screen at (0, 0), and the clip region is
// removed again. R is consumed and freed on every path; with no region the
// frame keeps the old picture.
void RevealRegion(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H,
                  raster::Region R) noexcept;
void RevealRegion(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H,
                  std::optional<raster::Region> R) noexcept;

// The seed of the effects whose random pattern must stay the same in every
// frame of one transition: the handle of the new picture, which the picture
// show keeps for the whole transition.
std::uint32_t PictureSeed(const raster::Bitmap& Image) noexcept;

}  // namespace effects
