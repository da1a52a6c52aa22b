// The rows whose frame is a fixed list of block copies and stretches of the
// new picture onto the start frame. Each row is one line of the table below,
// written in the sizes it is defined by, and one routine draws them all.

#include <array>
#include <cstddef>

#include "block_moves/block_moves.h"
#include "raster/canvas.h"

namespace effects::block_moves {

namespace {

// The sizes the blocks are written in (pixels): the picture's W and H, the
// progress-scaled X and Y, the centring offsets hx = (W - X) div 2 and
// hy = (H - Y) div 2, and the halves x2, y2, w2, h2 of X, Y, W, H.
enum SizeName { kW, kH, kX, kY, kHx, kHy, kX2, kY2, kW2, kH2, kSizeCount };
using Sizes = std::array<int, kSizeCount>;

// A position or extent of a block: constant + sum of factor * size.
struct Term {
  int constant = 0;
  std::array<int, kSizeCount> factor{};

  // Not explicit, so that a plain number can stand in the table as a term.
  constexpr Term(int value = 0) : constant(value) {}
  static constexpr Term Size(SizeName name) {
    Term t;
    t.factor[name] = 1;
    return t;
  }
  constexpr int Of(const Sizes& sizes) const {
    int value = constant;
    for (std::size_t i = 0; i < sizes.size(); ++i) value += factor[i] * sizes[i];
    return value;
  }
};

constexpr Term operator+(Term a, const Term& b) {
  a.constant += b.constant;
  for (std::size_t i = 0; i < a.factor.size(); ++i) a.factor[i] += b.factor[i];
  return a;
}
constexpr Term operator*(int k, Term a) {
  a.constant *= k;
  for (int& f : a.factor) f *= k;
  return a;
}
constexpr Term operator-(const Term& a, const Term& b) { return a + (-1) * b; }

struct Block {
  Term x, y, w, h;  // pixels
};

enum class Op { Copy, Stretch };

struct Move {
  Op op = Op::Copy;
  Block dest;
  Block source;  // for a copy, of the destination's size
};

constexpr Move Copy(const Block& dest, const Term& sx, const Term& sy) {
  return {Op::Copy, dest, {sx, sy, dest.w, dest.h}};
}
constexpr Move Stretch(const Block& dest, const Block& source) { return {Op::Stretch, dest, source}; }

struct RowMoves {
  int row = 0;
  std::array<Move, 4> moves{};
  int count = 0;
};

template <typename... M>
constexpr RowMoves Moves(int row, const M&... moves) {
  return {row, {moves...}, int(sizeof...(moves))};
}

namespace sizes {

constexpr Term W = Term::Size(kW), H = Term::Size(kH), X = Term::Size(kX), Y = Term::Size(kY);
constexpr Term hx = Term::Size(kHx), hy = Term::Size(kHy);
constexpr Term x2 = Term::Size(kX2), y2 = Term::Size(kY2), w2 = Term::Size(kW2), h2 = Term::Size(kH2);

// Copy(destination, source position) and Stretch(destination, source), each
// block as (x, y, width, height) in pixels; the moves of a row run in order.
constexpr std::array kRows = {
    Moves(1, Stretch({W - X, 0, X, H}, {0, 0, W, H})),
    Moves(2, Stretch({0, 0, X, H}, {0, 0, W, H})),
    Moves(3, Copy({W - X, 0, W, H}, 0, 0)),
    Moves(4, Copy({X - W, 0, W, H}, 0, 0)),
    Moves(5, Copy({0, 0, X, H}, 0, 0)),
    Moves(6, Copy({W - X, 0, X, H}, W - X, 0)),
    Moves(7, Stretch({0, 0, 2 * W - X, H}, {0, 0, X, H})),
    Moves(8, Stretch({X - W, 0, 2 * W - X, H}, {W - X, 0, X, H})),
    Moves(9, Stretch({X - W, 0, 3 * W - 2 * X, H}, {hx, 0, X, H})),
    Moves(10, Stretch({hx, 0, X, H}, {0, 0, W, H})),
    Moves(11, Copy({hx, 0, X, H}, hx, 0)),
    Moves(12, Copy({0, 0, x2, H}, 0, 0), Copy({W - x2, 0, x2, H}, W - x2, 0)),
    Moves(13, Stretch({0, 0, x2, H}, {0, 0, w2, H}), Stretch({W - x2, 0, x2, H}, {w2, 0, w2, H})),
    Moves(18, Stretch({0, H - Y, W, Y}, {0, 0, W, H})),
    Moves(19, Stretch({0, 0, W, Y}, {0, 0, W, H})),
    Moves(20, Copy({0, H - Y, W, H}, 0, 0)),
    Moves(21, Copy({0, Y - H, W, H}, 0, 0)),
    Moves(22, Copy({0, 0, W, Y}, 0, 0)),
    Moves(23, Copy({0, H - Y, W, Y}, 0, H - Y)),
    Moves(24, Stretch({0, 0, W, 2 * H - Y}, {0, 0, W, Y})),
    Moves(25, Stretch({0, Y - H, W, 2 * H - Y}, {0, H - Y, W, Y})),
    Moves(26, Stretch({0, Y - H, W, 3 * H - 2 * Y}, {0, hy, W, Y})),
    Moves(27, Stretch({0, hy, W, Y}, {0, 0, W, H})),
    Moves(28, Copy({0, hy, W, Y}, 0, hy)),
    Moves(29, Copy({0, 0, W, y2}, 0, 0), Copy({0, H - y2, W, y2}, 0, H - y2)),
    Moves(30, Stretch({0, 0, W, y2}, {0, 0, W, h2}), Stretch({0, H - y2, W, y2}, {0, h2, W, h2})),
    Moves(35, Stretch({W - X, H - Y, X, Y}, {0, 0, W, H})),
    Moves(36, Stretch({W - X, 0, X, Y}, {0, 0, W, H})),
    Moves(37, Stretch({0, 0, X, Y}, {0, 0, W, H})),
    Moves(38, Stretch({0, H - Y, X, Y}, {0, 0, W, H})),
    Moves(39, Copy({W - X, H - Y, W, H}, 0, 0)),
    Moves(40, Copy({W - X, Y - H, W, H}, 0, 0)),
    Moves(41, Copy({X - W, Y - H, W, H}, 0, 0)),
    Moves(42, Copy({X - W, H - Y, W, H}, 0, 0)),
    Moves(43, Copy({0, 0, X, Y}, 0, 0)),
    Moves(44, Copy({0, H - Y, X, Y}, 0, H - Y)),
    Moves(45, Copy({W - X, H - Y, X, Y}, W - X, H - Y)),
    Moves(46, Copy({W - X, 0, X, Y}, W - X, 0)),
    Moves(47, Stretch({0, 0, 2 * W - X, 2 * H - Y}, {0, 0, X, Y})),
    Moves(48, Stretch({0, Y - H, 2 * W - X, 2 * H - Y}, {0, H - Y, X, Y})),
    Moves(49, Stretch({X - W, Y - H, 2 * W - X, 2 * H - Y}, {W - X, H - Y, X, Y})),
    Moves(50, Stretch({X - W, 0, 2 * W - X, 2 * H - Y}, {W - X, 0, X, Y})),
    Moves(51, Stretch({X - W, Y - H, 3 * W - 2 * X, 3 * H - 2 * Y}, {hx, hy, X, Y})),
    Moves(52, Stretch({hx, hy, X, Y}, {0, 0, W, H})),
    Moves(53, Copy({hx, hy, X, Y}, hx, hy)),
    Moves(55, Copy({0, 0, x2, y2}, 0, 0), Copy({0, H - y2, x2, y2}, 0, H - y2),
          Copy({W - x2, H - y2, x2, y2}, W - x2, H - y2), Copy({W - x2, 0, x2, y2}, W - x2, 0)),
    Moves(56, Stretch({0, 0, x2, y2}, {0, 0, w2, h2}), Stretch({0, H - y2, x2, y2}, {0, h2, w2, h2}),
          Stretch({W - x2, H - y2, x2, y2}, {w2, h2, w2, h2}),
          Stretch({W - x2, 0, x2, y2}, {w2, 0, w2, h2})),
    // The four quarters slide in along the edges: top-left from the left,
    // top-right from the top, bottom-right from the right, bottom-left from
    // the bottom.
    Moves(57, Copy({x2 - w2, 0, w2, h2}, 0, 0), Copy({w2, y2 - h2, w2, h2}, w2, 0),
          Copy({W - x2, h2, w2, h2}, w2, h2), Copy({0, H - y2, w2, h2}, 0, h2)),
};

}  // namespace sizes

// Where each row's moves are in kRows; -1 for rows drawn otherwise.
constexpr std::array<int, kLastRow + 1> kRowIndex = [] {
  std::array<int, kLastRow + 1> index{};
  index.fill(-1);
  for (std::size_t i = 0; i < sizes::kRows.size(); ++i) {
    const int row = sizes::kRows[i].row;
    // A row outside the family or listed twice fails the build here.
    if (row < kFirstRow || row > kLastRow || index[std::size_t(row)] != -1) throw "bad block list";
    index[std::size_t(row)] = int(i);
  }
  return index;
}();

}  // namespace

void MoveBlocks(int row, raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                int Y) noexcept {
  if (row < kFirstRow || row > kLastRow || kRowIndex[std::size_t(row)] < 0) return;
  const RowMoves& list = sizes::kRows[std::size_t(kRowIndex[std::size_t(row)])];
  const Sizes values{W, H, X, Y, (W - X) / 2, (H - Y) / 2, X / 2, Y / 2, W / 2, H / 2};
  raster::Canvas& canvas = Screen.Canvas();
  for (int i = 0; i < list.count; ++i) {
    const Move& m = list.moves[std::size_t(i)];
    const int x = m.dest.x.Of(values), y = m.dest.y.Of(values);
    const int w = m.dest.w.Of(values), h = m.dest.h.Of(values);
    const int sx = m.source.x.Of(values), sy = m.source.y.Of(values);
    if (m.op == Op::Copy) {
      raster::BitBlt(canvas, x, y, w, h, Image, sx, sy, raster::SRCCOPY);
    } else {
      raster::StretchBlt(canvas, x, y, w, h, Image, sx, sy, m.source.w.Of(values),
                         m.source.h.Of(values), raster::SRCCOPY);
    }
  }
}

}  // namespace effects::block_moves
