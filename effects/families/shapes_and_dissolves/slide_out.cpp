// Rows 173 to 176: the old picture slides out of the frame while the new one,
// standing still, is uncovered behind it.

#include <algorithm>
#include <cstdlib>

#include "raster/canvas.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

namespace {

// Moves the old picture by `shift` pixels across the columns (horizontal) or
// the rows, then copies the part of the new picture it uncovered. The move
// reads and writes the frame; the raster layer makes it read the picture as
// it was.
void SlideOut(Bitmap& Screen, const Bitmap& Image, int W, int H, bool horizontal, int shift) noexcept {
  raster::Canvas& canvas = Screen.Canvas();
  const int dx = horizontal ? shift : 0;
  const int dy = horizontal ? 0 : shift;
  raster::BitBlt(canvas, std::max(dx, 0), std::max(dy, 0), W - std::abs(dx), H - std::abs(dy), Screen,
                 std::max(-dx, 0), std::max(-dy, 0), raster::SRCCOPY);
  const int left = dx < 0 ? W + dx : 0;
  const int top = dy < 0 ? H + dy : 0;
  const int width = horizontal ? std::abs(dx) : W;
  const int height = horizontal ? H : std::abs(dy);
  raster::BitBlt(canvas, left, top, width, height, Image, left, top, raster::SRCCOPY);
}

}  // namespace

void SlideOutFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int,
                       int) noexcept {
  SlideOut(Screen, Image, W, H, true, X);
}

void SlideOutFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int,
                      int) noexcept {
  SlideOut(Screen, Image, W, H, true, -X);
}

void SlideOutFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int Y,
                        int) noexcept {
  SlideOut(Screen, Image, W, H, false, Y);
}

void SlideOutFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int Y,
                     int) noexcept {
  SlideOut(Screen, Image, W, H, false, -Y);
}

}  // namespace effects::shapes_and_dissolves
