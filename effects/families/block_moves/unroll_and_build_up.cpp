// The unroll and build-up rows. Each comes once along x (columns) and once
// along y (rows); one routine per movement serves both axes.

#include <algorithm>
#include <cstdint>

#include "block_moves/block_moves.h"
#include "raster/canvas.h"
#include "raster/pixel_routines.h"

namespace effects::block_moves {

namespace {

enum class Axis { Columns, Rows };

// Blocks that span the whole picture across the axis, addressed by where they
// start along it and how long they are (pixels).
class AlongAxis {
 public:
  AlongAxis(Axis axis, raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H) noexcept
      : m_axis(axis), m_screen(Screen), m_image(Image), m_width(W), m_height(H) {}

  int Extent() const noexcept { return m_axis == Axis::Columns ? m_width : m_height; }

  void Copy(int from, int length, int to) const noexcept {
    if (m_axis == Axis::Columns) {
      raster::BitBlt(m_screen.Canvas(), to, 0, length, m_height, m_image, from, 0);
    } else {
      raster::BitBlt(m_screen.Canvas(), 0, to, m_width, length, m_image, 0, from);
    }
  }

  // A negative toLength mirrors: the block then ends at `to`, which takes the
  // first source column (row).
  void Stretch(int from, int length, int to, int toLength) const noexcept {
    if (m_axis == Axis::Columns) {
      raster::StretchBlt(m_screen.Canvas(), to, 0, toLength, m_height, m_image, from, 0, length,
                         m_height);
    } else {
      raster::StretchBlt(m_screen.Canvas(), 0, to, m_width, toLength, m_image, 0, from, m_width,
                         length);
    }
  }

  void Shade(std::uint8_t amount, int first, int count) const noexcept {
    if (m_axis == Axis::Columns) {
      raster::ShadeColumns(m_screen, amount, first, count);
    } else {
      raster::ShadeRows(m_screen, amount, first, count);
    }
  }

 private:
  Axis m_axis;
  raster::Bitmap& m_screen;
  const raster::Bitmap& m_image;
  int m_width;   // pixels
  int m_height;  // pixels
};

// How dark the edges of a roll are.
constexpr std::uint8_t kRollShade = 64;

// The width of the roll (pixels) when the revealed part is `revealed` long:
// a tenth of the picture, grown in from 0 at the start and shrunk out at the
// end so that it never runs past the far edge.
int RollWidth(int extent, int revealed) noexcept {
  const int r = extent / 10;
  if (revealed < r) return revealed;
  if (extent - revealed < 2 * r) return (extent - revealed) / 2;
  return r;
}

// Rows 14, 31: revealed from the left (top), the roll right of (below) it
// showing the next R columns (rows) mirrored.
void UnrollFromStart(const AlongAxis& a, int P) noexcept {
  const int R = RollWidth(a.Extent(), P);
  a.Stretch(P + R, R, P + R - 1, -R);
  a.Copy(0, P, 0);
  a.Shade(kRollShade, P, R);
}

// Rows 15, 32: revealed from the right (bottom). The mirrored strip ends one
// column (row) before the roll, so it reaches one column (row) further than in
// rows 14 and 31, as far as column (row) -1 at the end; a source pixel outside
// the picture leaves the start frame in place.
void UnrollFromEnd(const AlongAxis& a, int P) noexcept {
  const int E = a.Extent();
  const int R = RollWidth(E, P);
  a.Stretch(E - P - 2 * R - 1, R, E - P - 1, -R);
  a.Copy(E - P, P, E - P);
  a.Shade(kRollShade, E - P - R, R);
}

// Rows 16, 33: revealed from the left (top); the rest is covered by the next
// strip, at most a tenth of the picture, stretched over it. Under 10 pixels
// the strip is empty and draws nothing.
void BuildUpFromStart(const AlongAxis& a, int P) noexcept {
  const int E = a.Extent();
  a.Copy(0, P, 0);
  const int S = std::min(E / 10, E - P);
  a.Stretch(P, S, P, E - P);
}

// Rows 17, 34: the same from the right (bottom).
void BuildUpFromEnd(const AlongAxis& a, int P) noexcept {
  const int E = a.Extent();
  a.Copy(E - P, P, E - P);
  const int L = std::max(0, E - P - E / 10);
  a.Stretch(L, E - P - L, 0, E - P);
}

}  // namespace

void UnrollFromLeft(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int,
                    int) noexcept {
  UnrollFromStart(AlongAxis(Axis::Columns, Screen, Image, W, H), X);
}

void UnrollFromRight(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int,
                     int) noexcept {
  UnrollFromEnd(AlongAxis(Axis::Columns, Screen, Image, W, H), X);
}

void UnrollFromTop(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int, int Y,
                   int) noexcept {
  UnrollFromStart(AlongAxis(Axis::Rows, Screen, Image, W, H), Y);
}

void UnrollFromBottom(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int, int Y,
                      int) noexcept {
  UnrollFromEnd(AlongAxis(Axis::Rows, Screen, Image, W, H), Y);
}

void BuildUpFromRight(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int,
                      int) noexcept {
  BuildUpFromStart(AlongAxis(Axis::Columns, Screen, Image, W, H), X);
}

void BuildUpFromLeft(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int,
                     int) noexcept {
  BuildUpFromEnd(AlongAxis(Axis::Columns, Screen, Image, W, H), X);
}

void BuildUpFromBottom(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int,
                       int Y, int) noexcept {
  BuildUpFromStart(AlongAxis(Axis::Rows, Screen, Image, W, H), Y);
}

void BuildUpFromTop(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int, int Y,
                    int) noexcept {
  BuildUpFromEnd(AlongAxis(Axis::Rows, Screen, Image, W, H), Y);
}

}  // namespace effects::block_moves
