#include "fades_and_blinds.h"
#include "raster/canvas.h"

namespace effects::fades_and_blinds {

namespace {

// How one push row moves the pictures along its axis.
struct PushMove {
  bool vertical;  // along the rows (down or up), else along the columns
  bool forward;   // the new picture enters at the left (top) and pushes right (down)
  bool squeeze;   // the old picture is stretched into the room left, not shifted
};

// A span along the push axis and the whole of the other one, as the x, y, w
// and h of a block copy.
struct Block {
  int x, y, w, h;  // pixels
};

Block Span(const PushMove& move, int start, int length, int W, int H) noexcept {
  return move.vertical ? Block{0, start, W, length} : Block{start, 0, length, H};
}

void Push(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
          const PushMove& move) noexcept {
  const int side = move.vertical ? H : W;     // pixels along the axis
  const int entered = move.vertical ? Y : X;  // pixels of the new picture shown
  const int room = side - entered;            // pixels left for the old picture
  raster::Canvas& canvas = Screen.Canvas();

  // The old picture first: it is read from Screen itself, as it was on entry.
  const Block old = Span(move, move.forward ? entered : 0, room, W, H);
  if (move.squeeze) {
    raster::StretchBlt(canvas, old.x, old.y, old.w, old.h, Screen, 0, 0, W, H);
  } else {
    const Block from = Span(move, move.forward ? 0 : entered, room, W, H);
    raster::BitBlt(canvas, old.x, old.y, old.w, old.h, Screen, from.x, from.y);
  }

  // Then the strip of the new picture, leading edge first.
  const Block strip = Span(move, move.forward ? 0 : room, entered, W, H);
  const Block from = Span(move, move.forward ? room : 0, entered, W, H);
  raster::BitBlt(canvas, strip.x, strip.y, strip.w, strip.h, Image, from.x, from.y);
}

}  // namespace

void PushRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = false, .forward = true, .squeeze = false});
}

void PushLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = false, .forward = false, .squeeze = false});
}

void PushAndSqueezeRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                         int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = false, .forward = true, .squeeze = true});
}

void PushAndSqueezeLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = false, .forward = false, .squeeze = true});
}

void PushDown(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = true, .forward = true, .squeeze = false});
}

void PushUp(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = true, .forward = false, .squeeze = false});
}

void PushAndSqueezeDown(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = true, .forward = true, .squeeze = true});
}

void PushAndSqueezeUp(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int) noexcept {
  Push(Screen, Image, W, H, X, Y, {.vertical = true, .forward = false, .squeeze = true});
}

}  // namespace effects::fades_and_blinds
