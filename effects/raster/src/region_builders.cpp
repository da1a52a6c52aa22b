#include "raster/region_builders.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "raster/complex_region.h"
#include "raster/numeric.h"
#include "raster/random.h"

namespace raster {

namespace {

// Loop positions are 64-bit so that "while i < H + B" cannot overflow; the
// rectangles themselves stay within int range for every size a bitmap has.
using Pos = std::int64_t;

int I(Pos v) noexcept {
  return static_cast<int>(std::clamp<Pos>(v, INT32_MIN, INT32_MAX));
}

void Add(ComplexRegion& list, Pos left, Pos top, Pos right, Pos bottom) noexcept {
  list.AddRect(I(left), I(top), I(right), I(bottom));
}

// Adds a rectangle given along the strips' own axis: `along` runs with the
// front, `across` over the strips. Vertical strips swap the two.
struct StripAxes {
  bool vertical;
  void operator()(ComplexRegion& list, Pos alongFrom, Pos acrossFrom, Pos alongTo,
                  Pos acrossTo) const noexcept {
    if (vertical) {
      Add(list, acrossFrom, alongFrom, acrossTo, alongTo);
    } else {
      Add(list, alongFrom, acrossFrom, alongTo, acrossTo);
    }
  }
};

// One direction of the bars: `length` is the side the bars grow along (W for
// bars across the rows), `breadth` the side they are stacked over. "From the
// far side" means from the right (or the bottom).
void AddBars(ComplexRegion& list, const StripAxes& add, Pos front, Pos length, Pos breadth, Pos b,
             int kind) {
  if (kind == 0) return;
  if (front <= length) {
    for (Pos i = 0; i < breadth + b; i += 2 * b) {
      if (kind == 1 || kind == 5) add(list, length - front, i, length, i + b);
      if (kind == 2 || kind == 4) add(list, 0, i, front, i + b);
      if (kind == 3) {
        add(list, 0, i + b, front, i + 2 * b);
        add(list, length - front, i, length, i + b);
      }
    }
    return;
  }
  for (Pos i = b; i < breadth + b; i += 2 * b) {
    if (kind == 1 || kind == 4) add(list, 2 * length - front, i, length, i + b);
    if (kind == 2 || kind == 5) add(list, 0, i, front - length, i + b);
    add(list, 0, i - b, length, i);
  }
}

}  // namespace

std::optional<Region> CreateBarsRegion(int XPos, int YPos, int W, int H, int HorzKind,
                                       int VertKind) noexcept {
  if (W <= 0 || H <= 0) return std::nullopt;
  const Pos b = std::min(W, H) / 50 + 1;
  ComplexRegion list;
  AddBars(list, StripAxes{false}, XPos, W, H, b, HorzKind);
  // The bars down the columns: rows and columns swapped, bottom for right.
  AddBars(list, StripAxes{true}, YPos, H, W, b, VertKind);
  return list.CreateRegion();
}

std::optional<Region> CreateShredRegion(int XPos, int YPos, int W, int H, int HorzKind,
                                        int VertKind) noexcept {
  if (W <= 0 || H <= 0) return std::nullopt;
  const Pos t = std::min(W, H) / 200 + 1;
  const Pos rw = W % t;
  const Pos rh = H % t;
  const Pos hw = W / 2;
  const Pos hh = H / 2;
  ComplexRegion list;
  ScopedRandLock generator;
  if (HorzKind != 0) {
    const int j = XPos < W ? W / 10 : 0;
    for (Pos i = 0; i < H; i += t) {
      const Pos l = Pos{generator.Random(2 * j)} - j + XPos;
      const Pos bottom = i + t + rh;
      switch (HorzKind) {
        case 1:
          Add(list, W - l, i, W, bottom);
          break;
        case 2:
          Add(list, 0, i, l, bottom);
          break;
        case 3:
          Add(list, hw - l / 2, i, hw, bottom);
          Add(list, hw, i, hw + l / 2, bottom);
          break;
        default:
          Add(list, W - l / 2, i, W, bottom);
          Add(list, 0, i, l / 2, bottom);
          break;
      }
    }
  }
  if (VertKind != 0) {
    const int j = YPos < H ? H / 10 : 0;
    for (Pos i = 0; i < W; i += t) {
      const Pos l = Pos{generator.Random(2 * j)} + YPos - j;
      const Pos right = i + t + rw;
      switch (VertKind) {
        case 1:
          Add(list, i, H - l, right, H);
          break;
        case 2:
          Add(list, i, 0, right, l);
          break;
        case 3:
          Add(list, i, hh - l / 2, right, hh);
          Add(list, i, hh, right, hh + l / 2);
          break;
        default:
          Add(list, i, H - l / 2, right, H);
          Add(list, i, 0, right, l / 2);
          break;
      }
    }
  }
  return list.CreateRegion();
}

namespace {

// One direction of the speckles; `length` is the side the front runs along.
void AddSpeckles(ComplexRegion& list, ScopedRandLock& generator, const StripAxes& add, Pos front,
                 Pos length, Pos breadth, int kind) {
  if (kind == 0) return;
  const Pos depth = front < length ? length / 10 : 0;  // of the speckled zone
  const Pos q = std::max<Pos>(depth / 20, 2);           // speck size
  const Pos step = q / 2;
  const Pos n = depth / q;
  const Pos threshold = (3 * depth) / (4 * q);
  for (Pos i = 0; i < breadth; i += step) {
    if (kind == 1) {
      add(list, length - front, i, length, i + q);
    } else {
      add(list, 0, i, front, i + q);
    }
    for (Pos k = n; k >= 1; --k) {
      // Drawn for every k, so the pattern does not depend on which specks show.
      const int draw = generator.Random(static_cast<int>(k));
      if (draw > (k <= threshold ? 1 : 0)) continue;
      if (kind == 1) {
        add(list, length - front - k * q, i, length - front - k * q + q, i + q);
      } else {
        add(list, front + k * q - q, i, front + k * q, i + q);
      }
    }
  }
}

}  // namespace

std::optional<Region> CreateSpeckleRegion(int XPos, int YPos, int W, int H, int HorzKind,
                                          int VertKind) noexcept {
  if (W <= 0 || H <= 0) return std::nullopt;
  ComplexRegion list;
  ScopedRandLock generator;
  AddSpeckles(list, generator, StripAxes{false}, XPos, W, H, HorzKind);
  AddSpeckles(list, generator, StripAxes{true}, YPos, H, W, VertKind);
  return list.CreateRegion();
}

Region CreatePieRegion(int CX, int CY, int Radius, double StartAngle, double EndAngle,
                       int Steps) noexcept {
  if (Steps <= 0) return Region();
  try {
    std::vector<Point> points;
    points.reserve(static_cast<std::size_t>(Steps) + 1);
    points.push_back({CX, CY});
    const long double delta = (static_cast<long double>(EndAngle) - StartAngle) / Steps;
    long double angle = StartAngle;
    for (int k = 0; k < Steps; ++k) {
      points.push_back({CX + Round(static_cast<double>(Radius * std::cos(angle))),
                        CY + Round(static_cast<double>(Radius * std::sin(angle)))});
      angle += delta;
    }
    return CreatePolygonRgn(points, WINDING);
  } catch (const std::bad_alloc&) {
    return Region();
  }
}

Region CreatePolygonRegion(std::span<const int> Coords) noexcept {
  try {
    std::vector<Point> points(Coords.size() / 2);
    for (std::size_t i = 0; i < points.size(); ++i) points[i] = {Coords[2 * i], Coords[2 * i + 1]};
    return CreatePolygonRgn(points, WINDING);
  } catch (const std::bad_alloc&) {
    return Region();
  }
}

}  // namespace raster
