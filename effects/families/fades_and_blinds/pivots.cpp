#include <numbers>

#include "fades_and_blinds.h"
#include "raster/pixel_routines.h"

namespace effects::fades_and_blinds {

namespace {

// Where the picture turns and which way. The turning point lies just outside
// a corner of the frame; rows of RotateImage count upward from the bottom.
struct PivotPoint {
  bool right;      // CX = W (else -1)
  bool top;        // CY = H (else -1)
  bool clockwise;  // the angle runs from -90 degrees up to 0 (else from +90 down)
};

void Pivot(Bitmap& Screen, const Bitmap& Image, int W, int H, int Progress,
           const PivotPoint& point) noexcept {
  const int cx = point.right ? W : -1;  // columns from the left
  const int cy = point.top ? H : -1;    // rows up from the bottom row
  const int turn = point.clockwise ? Progress - 100 : 100 - Progress;
  const double angle = turn * std::numbers::pi / 200;  // radians
  raster::RotateImage(Screen, Image, cx, cy, angle);
}

}  // namespace

void PivotFromTopLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                      int Progress) noexcept {
  Pivot(Screen, Image, W, H, Progress, {.right = false, .top = false, .clockwise = false});
}

void PivotFromBottomLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                         int Progress) noexcept {
  Pivot(Screen, Image, W, H, Progress, {.right = false, .top = true, .clockwise = true});
}

void PivotFromTopRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                       int Progress) noexcept {
  Pivot(Screen, Image, W, H, Progress, {.right = true, .top = false, .clockwise = true});
}

void PivotFromBottomRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                          int Progress) noexcept {
  Pivot(Screen, Image, W, H, Progress, {.right = true, .top = true, .clockwise = false});
}

}  // namespace effects::fades_and_blinds
