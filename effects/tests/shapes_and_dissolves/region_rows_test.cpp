// Rows 150 to 167 against a reference that decides every pixel from its
// centre: the figures are written out corner by corner as the rows define
// them, polygons are filled by the winding number, circles hold the centres
// on or inside them.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <vector>

#include "effects/effect_helpers.h"
#include "family_fixture.h"
#include "raster/numeric.h"
#include "reference_raster.h"

namespace {

using family_fixture::Bitmap;
using family_fixture::FirstDifference;
using family_fixture::Frame;
using family_fixture::NewCard;
using family_fixture::OldCard;
using raster::Point;

// Whether the centre (x + 0.5, y + 0.5) of a pixel lies in a figure.
using Inside = std::function<bool(double, double)>;

struct Geometry {
  int W, H, X, Y, P;
  bool oddSeed;
  int cx() const { return W / 2; }
  int cy() const { return H / 2; }
  int hw() const { return X / 2; }
  int hh() const { return Y / 2; }
};

Inside Polygon(std::vector<Point> corners) {
  return [corners](double x, double y) { return reference::WindingNumber(corners, x, y) != 0; };
}

Inside Circle(int x0, int y0, int r) {
  return [=](double x, double y) { return (x - x0) * (x - x0) + (y - y0) * (y - y0) <= double(r) * r; };
}

Inside Union(std::vector<Inside> parts) {
  return [parts](double x, double y) {
    for (const Inside& part : parts)
      if (part(x, y)) return true;
    return false;
  };
}

// The whole frame with every part taken out or added by a symmetric difference.
Inside FrameXor(std::vector<Inside> parts) {
  return [parts](double x, double y) {
    bool inside = true;
    for (const Inside& part : parts) inside = inside != part(x, y);
    return inside;
  };
}

Inside Xor(Inside a, Inside b) {
  return [a, b](double x, double y) { return a(x, y) != b(x, y); };
}

// The corners turned about (cx, cy) by P * pi / 50, negated for an odd seed,
// each rounded to the nearest whole pixel, halves to even.
std::vector<Point> Turned(std::vector<Point> corners, int cx, int cy, const Geometry& f) {
  double a = f.P * std::numbers::pi / 50;
  if (f.oddSeed) a = -a;
  for (Point& p : corners) {
    const double dx = p.X - cx, dy = p.Y - cy;
    p = {int(std::nearbyint(dx * std::cos(a) - dy * std::sin(a))) + cx,
         int(std::nearbyint(dx * std::sin(a) + dy * std::cos(a))) + cy};
  }
  return corners;
}

std::vector<Point> CentredRectangle(const Geometry& f) {
  const int cx = f.cx(), cy = f.cy(), hw = f.hw(), hh = f.hh();
  return {{cx - hw, cy - hh}, {cx + hw, cy - hh}, {cx + hw, cy + hh}, {cx - hw, cy + hh}};
}

// Circle or diamond centres: (i t, j t) for odd i and j, i t - t < W, j t - t < H.
std::vector<Point> CellCentres(const Geometry& f, int t) {
  std::vector<Point> centres;
  for (int i = 1; i * t - t < f.W; i += 2)
    for (int j = 1; j * t - t < f.H; j += 2) centres.push_back({i * t, j * t});
  return centres;
}

Inside Zigzag(const Geometry& f, bool vertical) {
  const int a = vertical ? f.W / 10 : f.H / 10;
  const int s = vertical ? f.H / 10 : f.W / 10;
  const int d = raster::MulDiv(a, f.P, 100) + (vertical ? f.X : f.Y) / 2;
  const int middle = vertical ? f.cx() : f.cy();
  std::vector<Point> first, second;  // upper and lower (left and right) edge
  for (int k = 0; k <= 11; ++k) {
    const bool even = k % 2 == 0;
    const int one = even ? middle - d + a : middle - d - a;
    const int other = even ? middle + d + a : middle + d - a;
    first.push_back(vertical ? Point{one, k * s} : Point{k * s, one});
    second.push_back(vertical ? Point{other, k * s} : Point{k * s, other});
  }
  std::vector<Point> polygon = first;
  for (int k = 11; k >= 0; --k) polygon.push_back(second[std::size_t(k)]);
  return Polygon(polygon);
}

const std::map<int, std::function<Inside(const Geometry&)>>& Figures() {
  static const std::map<int, std::function<Inside(const Geometry&)>> figures = {
      {150, [](const Geometry& f) { return Polygon(Turned(CentredRectangle(f), f.cx(), f.cy(), f)); }},
      {151,
       [](const Geometry& f) {
         const int cx = f.cx(), cy = f.cy(), hw = f.hw(), hh = f.hh(), X = f.X, Y = f.Y;
         return Polygon(Turned({{cx - 2 * X, cy}, {cx - hw, cy - hh}, {cx, cy - 2 * Y}, {cx + hw, cy - hh},
                                {cx + 2 * X, cy}, {cx + hw, cy + hh}, {cx, cy + 2 * Y}, {cx - hw, cy + hh}},
                               cx, cy, f));
       }},
      {152, [](const Geometry& f) { return Polygon(Turned(CentredRectangle(f), f.X, f.Y, f)); }},
      {153,
       [](const Geometry& f) {
         const int t = std::min(f.W, f.H) / 10 + 1;
         const int r = raster::MulDiv(3 * t, f.P, 200);
         std::vector<Inside> circles;
         for (const Point c : CellCentres(f, t)) circles.push_back(Circle(c.X, c.Y, r));
         return Union(circles);
       }},
      {154, [](const Geometry& f) { return Polygon({{0, f.cy() - f.Y}, {2 * f.X, f.cy()}, {0, f.cy() + f.Y}}); }},
      {155,
       [](const Geometry& f) {
         return Polygon({{f.W, f.cy() - f.Y}, {f.W - 2 * f.X, f.cy()}, {f.W, f.cy() + f.Y}});
       }},
      {156, [](const Geometry& f) { return Polygon({{f.cx() - f.X, 0}, {f.cx(), 2 * f.Y}, {f.cx() + f.X, 0}}); }},
      {157,
       [](const Geometry& f) {
         return Polygon({{f.cx() - f.X, f.H}, {f.cx(), f.H - 2 * f.Y}, {f.cx() + f.X, f.H}});
       }},
      {158,
       [](const Geometry& f) {
         const int cy = f.cy();
         return Union({Polygon({{0, cy - f.Y}, {f.X, cy}, {0, cy + f.Y}}),
                       Polygon({{f.W, cy - f.Y}, {f.W - f.X, cy}, {f.W, cy + f.Y}})});
       }},
      {159,
       [](const Geometry& f) {
         const int cx = f.cx();
         return Union({Polygon({{cx - f.X, 0}, {cx, 2 * f.Y}, {cx + f.X, 0}}),
                       Polygon({{cx - f.X, f.H}, {cx, f.H - 2 * f.Y}, {cx + f.X, f.H}})});
       }},
      {160,
       [](const Geometry& f) {
         const int cx = f.cx(), cy = f.cy(), hw = f.hw(), hh = f.hh(), W = f.W, H = f.H;
         return Union({Polygon({{0, cy - hh}, {hw, cy}, {0, cy + hh}}),
                       Polygon({{W, cy - hh}, {W - hw, cy}, {W, cy + hh}}),
                       Polygon({{cx - hw, 0}, {cx, hh}, {cx + hw, 0}}),
                       Polygon({{cx - hw, H}, {cx, H - hh}, {cx + hw, H}})});
       }},
      {161,
       [](const Geometry& f) {
         const int cx = f.cx(), cy = f.cy(), W = f.W, H = f.H;
         const int rw = (W - f.X) / 2, rh = (H - f.Y) / 2;
         return FrameXor({Polygon({{0, cy - rh}, {rw, cy}, {0, cy + rh}}),
                          Polygon({{W, cy - rh}, {W - rw, cy}, {W, cy + rh}}),
                          Polygon({{cx - rw, 0}, {cx, rh}, {cx + rw, 0}}),
                          Polygon({{cx - rw, H}, {cx, H - rh}, {cx + rw, H}})});
       }},
      {162, [](const Geometry& f) { return Zigzag(f, false); }},
      {163, [](const Geometry& f) { return Zigzag(f, true); }},
      {164,
       [](const Geometry& f) {
         const int t = std::min(f.W, f.H) / 10 + 1;
         const int r = raster::MulDiv(t, f.P, 50);
         std::vector<Inside> diamonds;
         for (const Point c : CellCentres(f, t)) {
           const int x = c.X, y = c.Y;
           diamonds.push_back(Polygon({{x - r, y}, {x, y - r}, {x + r, y}, {x, y + r}}));
         }
         return Union(diamonds);
       }},
      {165,
       [](const Geometry& f) {
         const int cx = f.cx(), cy = f.cy();
         return Polygon({{cx - f.X, cy}, {cx, cy - f.Y}, {cx + f.X, cy}, {cx, cy + f.Y}});
       }},
      {166,
       [](const Geometry& f) {
         const int cx = f.cx(), cy = f.cy(), X = f.X, Y = f.Y;
         return FrameXor({Polygon({{X - cx, cy}, {cx, Y - cy}, {3 * cx - X, cy}, {cx, 3 * cy - Y}})});
       }},
      {167,
       [](const Geometry& f) {
         const int cx = f.cx(), cy = f.cy(), hw = f.hw(), hh = f.hh();
         return Xor(Polygon({{-hw, cy}, {cx, -hh}, {2 * cx + hw, cy}, {cx, 2 * cy + hh}}),
                    Polygon({{hw, cy}, {cx, hh}, {2 * cx - hw, cy}, {cx, 2 * cy - hh}}));
       }},
  };
  return figures;
}

Bitmap ExpectedFrame(int style, const Bitmap& old, const Bitmap& image, int P) {
  const effects::ScaledExtent scaled = effects::ScaledSize(old.Width(), old.Height(), P);
  const Geometry f{old.Width(), old.Height(), scaled.X, scaled.Y, P, (image.Handle() & 1u) != 0};
  const Inside inside = Figures().at(style)(f);
  Bitmap expected = old;
  for (int y = 0; y < f.H; ++y)
    for (int x = 0; x < f.W; ++x)
      if (inside(x + 0.5, y + 0.5)) reference::Set(expected, x, y, reference::At(image, x, y));
  return expected;
}

TEST(RegionRows, DrawTheirFiguresExactly) {
  for (const auto& size : family_fixture::FrameSizes()) {
    const Bitmap old = OldCard(size.w, size.h);
    for (const bool oddSeed : {false, true}) {
      const Bitmap image = NewCard(size.w, size.h, oddSeed);
      for (const auto& [style, figure] : Figures()) {
        // Only the turning shapes depend on the seed.
        if (oddSeed && style > 152) continue;
        for (int P = 1; P <= 99; ++P) {
          const std::string difference =
              FirstDifference(Frame(style, old, image, P), ExpectedFrame(style, old, image, P));
          ASSERT_TRUE(difference.empty()) << "style " << style << ", " << size.w << "x" << size.h
                                          << ", progress " << P << ", odd seed " << oddSeed << ": "
                                          << difference;
        }
      }
    }
  }
}

TEST(RegionRows, TurnTheWayThePictureSeedSays) {
  const Bitmap old = OldCard(401, 201);
  const Bitmap even = NewCard(401, 201, false);
  const Bitmap odd = NewCard(401, 201, true);
  for (const int style : {150, 151, 152}) {
    for (const int P : {5, 20, 40}) {
      EXPECT_FALSE(FirstDifference(Frame(style, old, even, P), Frame(style, old, odd, P)).empty())
          << "style " << style << " at " << P << " turns the same way for both seeds";
    }
  }
  // At P = 5 the 20 x 10 rectangle about (200, 100) has turned by 18 degrees.
  // Clockwise on the screen (y grows downward) its right end dips and its
  // left end rises, so just above the lower edge the new picture shows right
  // of the centre and not left of it; anticlockwise the other way round.
  const Bitmap clockwise = Frame(150, old, even, 5);
  const Bitmap anticlockwise = Frame(150, old, odd, 5);
  EXPECT_TRUE(family_fixture::IsNew(reference::At(clockwise, 206, 106)));
  EXPECT_FALSE(family_fixture::IsNew(reference::At(clockwise, 193, 106)));
  EXPECT_FALSE(family_fixture::IsNew(reference::At(anticlockwise, 206, 106)));
  EXPECT_TRUE(family_fixture::IsNew(reference::At(anticlockwise, 193, 106)));
}

// Half-way the spiral's pivot (X, Y) is within a pixel of the centre and
// the turn is a half turn, which maps every corner c to 2 pivot - c: the
// frame is row 150's moved by twice the pivot's offset.
TEST(RegionRows, SpiralPassesThroughTheCentreHalfWay) {
  for (const auto& size : {family_fixture::Size{101, 67}, family_fixture::Size{64, 64}}) {
    const Bitmap old = OldCard(size.w, size.h);
    const Bitmap image = NewCard(size.w, size.h);
    const effects::ScaledExtent half = effects::ScaledSize(size.w, size.h, 50);
    const int dx = half.X - size.w / 2, dy = half.Y - size.h / 2;
    EXPECT_LE(std::abs(dx), 1);
    EXPECT_LE(std::abs(dy), 1);
    const Bitmap spiral = Frame(152, old, image, 50);
    const Bitmap centred = Frame(150, old, image, 50);
    for (int y = 0; y < size.h; ++y)
      for (int x = 0; x < size.w; ++x) {
        const int fromX = x - 2 * dx, fromY = y - 2 * dy;
        const bool centredNew = reference::Inside(centred, fromX, fromY) &&
                                family_fixture::IsNew(reference::At(centred, fromX, fromY));
        ASSERT_EQ(family_fixture::IsNew(reference::At(spiral, x, y)), centredNew)
            << size.w << "x" << size.h << " pixel " << x << "," << y;
      }
  }
}

TEST(RegionRows, ZigzagsFallShortOnNarrowPictures) {
  struct Case {
    int style, w, h;
  };
  // 37 pixels along the band: teeth 3 apart span 33, the rest stays old.
  for (const Case c : {Case{162, 37, 23}, Case{163, 23, 37}}) {
    const Bitmap old = OldCard(c.w, c.h);
    const Bitmap frame = Frame(c.style, old, NewCard(c.w, c.h), 99);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) {
        const int along = c.style == 162 ? x : y;
        EXPECT_EQ(family_fixture::IsNew(reference::At(frame, x, y)), along < 33)
            << "style " << c.style << " pixel " << x << "," << y;
      }
  }
  // Below 10 pixels along the band the teeth collapse to a line: nothing shows.
  for (const Case c : {Case{162, 9, 41}, Case{163, 41, 9}}) {
    const Bitmap old = OldCard(c.w, c.h);
    const Bitmap image = NewCard(c.w, c.h);
    for (int P = 1; P <= 99; ++P) EXPECT_EQ(family_fixture::NewPixels(Frame(c.style, old, image, P)), 0);
  }
}

}  // namespace
