#pragma once

// The regions of rows 60 .. 118 drawn the plainest way, one pixel or one
// rectangle at a time, straight from the rules of each row: which pixels of a
// W x H frame show the new picture. Nothing here uses the region code under
// test; the shapes are decided by each pixel's centre, as the raster layer
// promises (polygons by the winding number with the top-left rule).

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "raster/geometry.h"
#include "raster/numeric.h"
#include "reference_raster.h"

namespace strip_reference {

struct Frame {
  int W;
  int H;
  int X;
  int Y;
  int P;
};

// The pixels that show the new picture.
class Mask {
 public:
  Mask(int w, int h) : m_w(w), m_h(h), m_new(std::size_t(w) * std::size_t(h), false) {}

  bool At(int x, int y) const { return m_new[Index(x, y)]; }
  void Set(int x, int y, bool value) { m_new[Index(x, y)] = value; }
  int Width() const { return m_w; }
  int Height() const { return m_h; }

  // Left and top in, right and bottom out; what lies outside the frame or
  // covers no pixel adds nothing.
  void AddRect(long left, long top, long right, long bottom) {
    for (long y = std::max(top, 0L); y < std::min(bottom, long(m_h)); ++y)
      for (long x = std::max(left, 0L); x < std::min(right, long(m_w)); ++x) Set(int(x), int(y), true);
  }

 private:
  std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(m_w) + std::size_t(x); }

  int m_w;
  int m_h;
  std::vector<bool> m_new;
};

// The shared generator's sequence, written out: seed := seed * 134775813 + 1,
// then (seed * n) >> 32.
struct Generator {
  std::uint32_t seed;
  int Random(int n) {
    seed = seed * 134775813u + 1u;
    return int((std::uint64_t(seed) * std::uint64_t(std::uint32_t(n))) >> 32);
  }
};

inline void Bars(Mask& m, long XPos, long YPos, long W, long H, int HorzKind, int VertKind) {
  const long B = std::min(W, H) / 50 + 1;
  if (XPos <= W) {
    for (long i = 0; i < H + B; i += 2 * B) {
      if (HorzKind == 1 || HorzKind == 5) m.AddRect(W - XPos, i, W, i + B);
      if (HorzKind == 2 || HorzKind == 4) m.AddRect(0, i, XPos, i + B);
      if (HorzKind == 3) {
        m.AddRect(0, i + B, XPos, i + 2 * B);
        m.AddRect(W - XPos, i, W, i + B);
      }
    }
  } else {
    for (long i = B; i < H + B; i += 2 * B) {
      if (HorzKind == 1 || HorzKind == 4) m.AddRect(2 * W - XPos, i, W, i + B);
      if (HorzKind == 2 || HorzKind == 5) m.AddRect(0, i, XPos - W, i + B);
      m.AddRect(0, i - B, W, i);
    }
  }
  if (YPos <= H) {
    for (long j = 0; j < W + B; j += 2 * B) {
      if (VertKind == 1 || VertKind == 5) m.AddRect(j, H - YPos, j + B, H);
      if (VertKind == 2 || VertKind == 4) m.AddRect(j, 0, j + B, YPos);
      if (VertKind == 3) {
        m.AddRect(j, H - YPos, j + B, H);
        m.AddRect(j + B, 0, j + 2 * B, YPos);
      }
    }
  } else {
    for (long j = B; j < W + B; j += 2 * B) {
      if (VertKind == 1 || VertKind == 4) m.AddRect(j, 2 * H - YPos, j + B, H);
      if (VertKind == 2 || VertKind == 5) m.AddRect(j, 0, j + B, YPos - H);
      m.AddRect(j - B, 0, j, H);
    }
  }
}

inline void Shred(Mask& m, Generator& g, long XPos, long YPos, long W, long H, int HorzKind,
                  int VertKind) {
  const long T = std::min(W, H) / 200 + 1;
  const long RW = W % T, RH = H % T, HW = W / 2, HH = H / 2;
  if (HorzKind != 0) {
    const long J = XPos < W ? W / 10 : 0;
    for (long i = 0; i < H; i += T) {
      const long L = g.Random(int(2 * J)) - J + XPos;
      if (HorzKind == 1) {
        m.AddRect(W - L, i, W, i + T + RH);
      } else if (HorzKind == 2) {
        m.AddRect(0, i, L, i + T + RH);
      } else if (HorzKind == 3) {
        m.AddRect(HW - L / 2, i, HW, i + T + RH);
        m.AddRect(HW, i, HW + L / 2, i + T + RH);
      } else {
        m.AddRect(W - L / 2, i, W, i + T + RH);
        m.AddRect(0, i, L / 2, i + T + RH);
      }
    }
  }
  if (VertKind != 0) {
    const long J = YPos < H ? H / 10 : 0;
    for (long j = 0; j < W; j += T) {
      const long L = g.Random(int(2 * J)) + YPos - J;
      if (VertKind == 1) {
        m.AddRect(j, H - L, j + T + RW, H);
      } else if (VertKind == 2) {
        m.AddRect(j, 0, j + T + RW, L);
      } else if (VertKind == 3) {
        m.AddRect(j, HH - L / 2, j + T + RW, HH);
        m.AddRect(j, HH, j + T + RW, HH + L / 2);
      } else {
        m.AddRect(j, H - L / 2, j + T + RW, H);
        m.AddRect(j, 0, j + T + RW, L / 2);
      }
    }
  }
}

// Whether the centre of pixel (x, y) lies on or inside the rectangle from
// (x1, y1) to (x2, y2) with corners rounded by quarters of a w by h ellipse
// (limited to the rectangle's size). Worked in doubled coordinates, so that
// every centre and every ellipse centre is a whole number.
inline bool InRoundRect(long x, long y, long x1, long y1, long x2, long y2, long w, long h) {
  const long left = std::min(x1, x2), right = std::max(x1, x2);
  const long top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (x < left || x >= right || y < top || y >= bottom) return false;
  const long ew = std::min(w, right - left), eh = std::min(h, bottom - top);
  if (ew <= 0 || eh <= 0) return true;
  const long px = 2 * x + 1, py = 2 * y + 1;
  const long leftCentre = 2 * left + ew, rightCentre = 2 * right - ew;
  const long topCentre = 2 * top + eh, bottomCentre = 2 * bottom - eh;
  const long dx = px < leftCentre ? leftCentre - px : px > rightCentre ? px - rightCentre : 0;
  const long dy = py < topCentre ? topCentre - py : py > bottomCentre ? py - bottomCentre : 0;
  // (dx / ew)^2 + (dy / eh)^2 <= 1, the semi-axes being ew and eh when doubled.
  return dx * dx * eh * eh + dy * dy * ew * ew <= ew * ew * eh * eh;
}

inline void FillRoundRect(Mask& m, long x1, long y1, long x2, long y2, long w, long h) {
  for (int y = 0; y < m.Height(); ++y)
    for (int x = 0; x < m.Width(); ++x)
      if (InRoundRect(x, y, x1, y1, x2, y2, w, h)) m.Set(x, y, true);
}

using Triangle = std::array<raster::Point, 3>;

inline void FillTriangles(Mask& m, const std::vector<Triangle>& triangles) {
  for (int y = 0; y < m.Height(); ++y) {
    for (int x = 0; x < m.Width(); ++x) {
      for (const Triangle& t : triangles) {
        if (reference::WindingNumber(t, x + 0.5, y + 0.5) != 0) m.Set(x, y, true);
      }
    }
  }
}

// The new pixels of row `row` in frame f, drawing from g where the row does.
inline Mask RowMask(int row, const Frame& f, Generator& g) {
  Mask m(f.W, f.H);
  const int W = f.W, H = f.H, X = f.X, Y = f.Y;
  const int cx = W / 2, cy = H / 2;
  switch (row) {
    // Bars.
    case 60: Bars(m, 2 * X, 0, W, H, 1, 0); break;
    case 61: Bars(m, 2 * X, 0, W, H, 2, 0); break;
    case 62: Bars(m, 2 * X, 0, W, H, 4, 0); break;
    case 63: Bars(m, 2 * X, 0, W, H, 5, 0); break;
    case 64: Bars(m, X, 0, W, H, 3, 0); break;
    case 71: Bars(m, 0, 2 * Y, W, H, 0, 1); break;
    case 72: Bars(m, 0, 2 * Y, W, H, 0, 2); break;
    case 73: Bars(m, 0, 2 * Y, W, H, 0, 4); break;
    case 74: Bars(m, 0, 2 * Y, W, H, 0, 5); break;
    case 75: Bars(m, 0, Y, W, H, 0, 3); break;
    // Criss-cross.
    case 86: Bars(m, 2 * X, 2 * Y, W, H, 1, 1); break;
    case 87: Bars(m, 2 * X, 2 * Y, W, H, 1, 2); break;
    case 88: Bars(m, 2 * X, 2 * Y, W, H, 2, 1); break;
    case 89: Bars(m, 2 * X, 2 * Y, W, H, 2, 2); break;
    case 90: Bars(m, 2 * X, 2 * Y, W, H, 4, 4); break;
    case 91: Bars(m, 2 * X, 2 * Y, W, H, 4, 5); break;
    case 92: Bars(m, 2 * X, 2 * Y, W, H, 5, 4); break;
    case 93: Bars(m, 2 * X, 2 * Y, W, H, 5, 5); break;
    case 94: Bars(m, X, Y, W, H, 1, 3); break;
    case 95: Bars(m, X, Y, W, H, 2, 3); break;
    case 96: Bars(m, X, Y, W, H, 3, 1); break;
    case 97: Bars(m, X, Y, W, H, 3, 2); break;
    case 98: Bars(m, X, Y, W, H, 3, 3); break;
    case 99: {
      Mask second(W, H);
      Bars(m, 2 * X, 2 * Y, W, H, 1, 1);
      Bars(second, 2 * X, 2 * Y, W, H, 2, 2);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) m.Set(x, y, m.At(x, y) && second.At(x, y));
      break;
    }
    // Uneven shreds.
    case 65: Shred(m, g, X, 0, W, H, 1, 0); break;
    case 66: Shred(m, g, X, 0, W, H, 2, 0); break;
    case 67: Shred(m, g, X, 0, W, H, 3, 0); break;
    case 68: Shred(m, g, X, 0, W, H, 4, 0); break;
    case 76: Shred(m, g, 0, Y, W, H, 0, 1); break;
    case 77: Shred(m, g, 0, Y, W, H, 0, 2); break;
    case 78: Shred(m, g, 0, Y, W, H, 0, 3); break;
    case 79: Shred(m, g, 0, Y, W, H, 0, 4); break;
    case 100: Shred(m, g, X, Y, W, H, 1, 1); break;
    case 101: Shred(m, g, X, Y, W, H, 1, 2); break;
    case 102: Shred(m, g, X, Y, W, H, 2, 1); break;
    case 103: Shred(m, g, X, Y, W, H, 2, 2); break;
    case 104: Shred(m, g, X, Y, W, H, 1, 3); break;
    case 105: Shred(m, g, X, Y, W, H, 2, 3); break;
    case 106: Shred(m, g, X, Y, W, H, 3, 1); break;
    case 107: Shred(m, g, X, Y, W, H, 3, 2); break;
    case 108: Shred(m, g, X, Y, W, H, 3, 3); break;
    case 109: Shred(m, g, X, Y, W, H, 4, 4); break;
    // Curved and elliptic reveals.
    case 69: FillRoundRect(m, 0, -2 * H, W + 1, 2 * Y, 2 * H, 2 * H); break;
    case 70: FillRoundRect(m, 0, H - 2 * Y, W + 1, 3 * H, 2 * H, 2 * H); break;
    case 80: FillRoundRect(m, -W, -H, (3 * X) / 2, (3 * Y) / 2, 2 * W, 2 * H); break;
    case 81: FillRoundRect(m, W - (3 * X) / 2, -H, 2 * W, (3 * Y) / 2, 2 * W, 2 * H); break;
    case 82: FillRoundRect(m, -W, H - (3 * Y) / 2, (3 * X) / 2, 2 * H, 2 * W, 2 * H); break;
    case 83: FillRoundRect(m, W - (3 * X) / 2, H - (3 * Y) / 2, 2 * W, 2 * H, 2 * W, 2 * H); break;
    case 84: FillRoundRect(m, cx - X, cy - Y, cx + X, cy + Y, (9 * X) / 5, (9 * Y) / 5); break;
    case 85:
      // The whole frame XOR the shape: inside the frame, what the shape leaves.
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
          m.Set(x, y, !InRoundRect(x, y, X - cx, Y - cy, 3 * cx - X, 3 * cy - Y, (9 * (W - X)) / 5,
                                   (9 * (H - Y)) / 5));
      break;
    // Diagonal reveals, sweeps and starbursts.
    case 110: FillTriangles(m, {{{{0, 0}, {2 * X, 0}, {0, 2 * Y}}}}); break;
    case 111: FillTriangles(m, {{{{W, 0}, {W - 2 * X, 0}, {W, 2 * Y}}}}); break;
    case 112: FillTriangles(m, {{{{0, H}, {2 * X, H}, {0, H - 2 * Y}}}}); break;
    case 113: FillTriangles(m, {{{{W, H}, {W - 2 * X, H}, {W, H - 2 * Y}}}}); break;
    case 114:
      FillTriangles(m, {{{{0, H}, {0, 0}, {X, H}}}, {{{W, H}, {W, 0}, {W - X, 0}}}});
      break;
    case 115:
      FillTriangles(m, {{{{W, 0}, {0, 0}, {W, Y}}}, {{{W, H}, {0, H}, {0, H - Y}}}});
      break;
    case 116:
      FillTriangles(m, {{{{cx, cy}, {0, 0}, {X, 0}}},
                        {{{cx, cy}, {0, H}, {0, H - Y}}},
                        {{{cx, cy}, {W, H}, {W - X, H}}},
                        {{{cx, cy}, {W, 0}, {W, Y}}}});
      break;
    case 117:
      FillTriangles(m, {{{{cx, cy}, {0, 0}, {0, Y}}},
                        {{{cx, cy}, {0, H}, {X, H}}},
                        {{{cx, cy}, {W, H}, {W, H - Y}}},
                        {{{cx, cy}, {W, 0}, {W - X, 0}}}});
      break;
    case 118: {
      const int cw = W / 10 + 1, ch = H / 10 + 1;
      const int dx = raster::MulDiv(cw, f.P, 50), dy = raster::MulDiv(ch, f.P, 50);
      std::vector<Triangle> triangles;
      for (int y = ch; y - 2 * ch < H; y += 2 * ch)
        for (int x = cw; x - cw < W; x += 2 * cw)
          triangles.push_back({{{x - dx, y - dy}, {x, y + dy}, {x + dx, y - dy}}});
      FillTriangles(m, triangles);
      break;
    }
    default: break;
  }
  return m;
}

}  // namespace strip_reference
