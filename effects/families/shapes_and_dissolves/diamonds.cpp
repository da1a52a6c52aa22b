// Rows 165 to 167: diamonds centred on the picture that grow, shrink, or
// make a ring around the diamond inscribed in the frame.

#include <utility>

#include "effects/effect_helpers.h"
#include "figures_p.h"
#include "raster/region.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

// The corners reach the middles of the sides at the half-way point and the
// edges pass through the frame's corners at the end.
void RevealDiamondOutFromCentre(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                                int) noexcept {
  const int cx = W / 2, cy = H / 2;
  RevealRegion(Screen, Image, W, H, Diamond(cx - X, cy - Y, cx + X, cy + Y, cx, cy));
}

// The new picture shows outside a diamond whose half-diagonals shrink from
// 2 cx and 2 cy toward the centre; what the symmetric difference adds outside
// the frame is never drawn.
void RevealDiamondInToCentre(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                             int) noexcept {
  const int cx = W / 2, cy = H / 2;
  raster::Region R = raster::CreateRectRgn(0, 0, W, H);
  raster::CombineRgn(R, R, Diamond(X - cx, Y - cy, 3 * cx - X, 3 * cy - Y, cx, cy), raster::RGN_XOR);
  RevealRegion(Screen, Image, W, H, std::move(R));
}

// A ring around the diamond inscribed in the frame, growing by hw and hh on
// both sides of it.
void DiagonalBoxOut(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int) noexcept {
  const int cx = W / 2, cy = H / 2;
  const int hw = X / 2, hh = Y / 2;
  raster::Region R = Diamond(-hw, -hh, 2 * cx + hw, 2 * cy + hh, cx, cy);
  raster::CombineRgn(R, R, Diamond(hw, hh, 2 * cx - hw, 2 * cy - hh, cx, cy), raster::RGN_XOR);
  RevealRegion(Screen, Image, W, H, std::move(R));
}

}  // namespace effects::shapes_and_dissolves
