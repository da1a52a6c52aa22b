// The rows that copy the whole new picture through a clip area: the hole
// that shrinks to the centre, and the reveals behind a half-ellipse front.

#include "block_moves/block_moves.h"
#include "effects/effect_helpers.h"
#include "raster/canvas.h"
#include "raster/region.h"

namespace effects::block_moves {

void RevealInToCentre(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                      int Y, int) noexcept {
  const int x2 = X / 2;
  const int y2 = Y / 2;
  raster::Canvas& canvas = Screen.Canvas();
  // The start frame stays in the central rectangle; at X = Y = 0 that is the
  // whole frame.
  raster::ExcludeClipRect(canvas, x2, y2, W - x2, H - y2);
  raster::BitBlt(canvas, 0, 0, W, H, Image, 0, 0, raster::SRCCOPY);
  raster::SelectClipRgn(canvas, nullptr);
}

// The corner ellipse is 2W wide and, limited to the rectangle, H + 1 high, so
// the front is half an ellipse whose tip runs W ahead of the corners: the tip
// reaches the far side at X = W / 2 and the corners at X = W.
void CurvedRevealFromLeft(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                          int, int) noexcept {
  RevealRegion(Screen, Image, W, H, raster::CreateRoundRectRgn(-2 * W, 0, 2 * X, H + 1, 2 * W, 2 * W));
}

void CurvedRevealFromRight(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                           int, int) noexcept {
  RevealRegion(Screen, Image, W, H,
               raster::CreateRoundRectRgn(W - 2 * X, 0, 3 * W, H + 1, 2 * W, 2 * W));
}

}  // namespace effects::block_moves
