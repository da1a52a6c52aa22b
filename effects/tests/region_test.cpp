#include "raster/region.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "random_inputs.h"
#include "reference_raster.h"

namespace {

using raster::Point;
using raster::Rect;
using raster::Region;

// Exact, in doubled coordinates: is the centre of pixel (x, y) on or inside
// the round rectangle?
bool InsideRoundRect(Rect box, std::int64_t ew, std::int64_t eh, int x, int y) {
  if (!box.Contains(x, y)) return false;
  ew = std::min<std::int64_t>(std::llabs(ew), box.Width());
  eh = std::min<std::int64_t>(std::llabs(eh), box.Height());
  if (ew == 0 || eh == 0) return true;
  const std::int64_t px = 2 * std::int64_t{x} + 1, py = 2 * std::int64_t{y} + 1;
  // Centres of the corner ellipses, doubled.
  const std::int64_t left = 2 * std::int64_t{box.Left} + ew, right = 2 * std::int64_t{box.Right} - ew;
  const std::int64_t top = 2 * std::int64_t{box.Top} + eh, bottom = 2 * std::int64_t{box.Bottom} - eh;
  const std::int64_t dx = std::max<std::int64_t>({0, left - px, px - right});
  const std::int64_t dy = std::max<std::int64_t>({0, top - py, py - bottom});
  return dx * dx * eh * eh + dy * dy * ew * ew <= ew * ew * eh * eh;
}

TEST(Region, RectanglesIncludeLeftAndTopAndAreNormalised) {
  const Region r = raster::CreateRectRgn(5, 4, 1, 2);  // given the wrong way round
  EXPECT_EQ(r.Bounds(), (Rect{1, 2, 5, 4}));
  EXPECT_TRUE(r.Contains(1, 2));
  EXPECT_FALSE(r.Contains(5, 3));
  EXPECT_FALSE(r.Contains(4, 4));
  EXPECT_EQ(r.Kind(), raster::RegionKind::Simple);
  EXPECT_EQ(raster::CreateRectRgn(3, 3, 3, 9).Kind(), raster::RegionKind::Null);
}

TEST(Region, EllipsesAndRoundRectanglesCoverThePixelsWhoseCentresTheyHold) {
  random_inputs::Inputs in(21);
  for (int trial = 0; trial < 600; ++trial) {
    const Rect r = in.AnyRect(-15, 40);
    const Rect box{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                   std::max(r.Top, r.Bottom)};
    const bool ellipse = in.OneIn(2);
    const int ew = ellipse ? box.Right - box.Left : in.Between(-5, 60);
    const int eh = ellipse ? box.Bottom - box.Top : in.Between(-5, 60);
    const Region region = ellipse ? raster::CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom)
                                  : raster::CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, ew, eh);
    const Rect window{-20, -20, 60, 60};
    std::vector<bool> exact;
    for (int y = window.Top; y < window.Bottom; ++y)
      for (int x = window.Left; x < window.Right; ++x) exact.push_back(InsideRoundRect(box, ew, eh, x, y));
    ASSERT_EQ(reference::Mask(region, window), exact)
        << "trial " << trial << ": box " << box.Left << "," << box.Top << "," << box.Right << ","
        << box.Bottom << " corners " << ew << "x" << eh;
  }
}

TEST(Region, RoundCornersAreLimitedToTheRectangle) {
  EXPECT_EQ(raster::CreateRoundRectRgn(0, 0, 20, 10, 100, 100), raster::CreateEllipticRgn(0, 0, 20, 10));
  EXPECT_EQ(raster::CreateRoundRectRgn(0, 0, 20, 10, 0, 7), raster::CreateRectRgn(0, 0, 20, 10));
  // A circle is symmetric about both of its axes.
  const Region circle = raster::CreateEllipticRgn(0, 0, 15, 15);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) {
      EXPECT_EQ(circle.Contains(x, y), circle.Contains(14 - x, y));
      EXPECT_EQ(circle.Contains(x, y), circle.Contains(x, 14 - y));
      EXPECT_EQ(circle.Contains(x, y), circle.Contains(y, x));
    }
}

TEST(Region, PolygonsFollowTheirFillRuleOnRandomShapes) {
  random_inputs::Inputs in(22);
  for (int trial = 0; trial < 800; ++trial) {
    std::vector<Point> points(static_cast<std::size_t>(in.Between(3, 9)));
    for (Point& p : points) p = {in.Between(-8, 40), in.Between(-8, 40)};
    const auto mode = in.OneIn(2) ? raster::WINDING : raster::ALTERNATE;
    const Region region = raster::CreatePolygonRgn(points, mode);
    const Rect window{-10, -10, 42, 42};
    const auto expected = reference::Mask(
        [&](double x, double y) {
          const int winding = reference::WindingNumber(points, x, y);
          return mode == raster::WINDING ? winding != 0 : (winding % 2) != 0;
        },
        window);
    ASSERT_EQ(reference::Mask(region, window), expected) << "trial " << trial;
  }
}

TEST(Region, PolygonEdgesFollowTheRectangleConvention) {
  const Point square[] = {{2, 1}, {6, 1}, {6, 4}, {2, 4}};
  EXPECT_EQ(raster::CreatePolygonRgn(square, raster::WINDING), raster::CreateRectRgn(2, 1, 6, 4));
  const Point line[] = {{0, 0}, {5, 5}};
  EXPECT_TRUE(raster::CreatePolygonRgn(line, raster::WINDING).Empty());
  // A pentagram: the middle is covered twice, so only WINDING fills it.
  const Point star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  EXPECT_TRUE(raster::CreatePolygonRgn(star, raster::WINDING).Contains(10, 10));
  EXPECT_FALSE(raster::CreatePolygonRgn(star, raster::ALTERNATE).Contains(10, 10));
}

TEST(CombineRgn, MatchesPixelLogicOnRandomRegions) {
  random_inputs::Inputs in(23);
  const Rect window{-15, -15, 45, 45};
  for (int trial = 0; trial < 400; ++trial) {
    const Region a = in.AnyRegion(30);
    const Region b = in.AnyRegion(30);
    const auto ma = reference::Mask(a, window);
    const auto mb = reference::Mask(b, window);
    for (const auto mode : {raster::RGN_AND, raster::RGN_OR, raster::RGN_XOR, raster::RGN_DIFF,
                            raster::RGN_COPY}) {
      Region dest = raster::CreateRectRgn(0, 0, 3, 3);  // replaced, not combined with
      const raster::RegionKind kind = raster::CombineRgn(dest, a, b, mode);
      std::vector<bool> expected(ma.size());
      for (std::size_t i = 0; i < ma.size(); ++i) {
        switch (mode) {
          case raster::RGN_AND: expected[i] = ma[i] && mb[i]; break;
          case raster::RGN_OR: expected[i] = ma[i] || mb[i]; break;
          case raster::RGN_XOR: expected[i] = ma[i] != mb[i]; break;
          case raster::RGN_DIFF: expected[i] = ma[i] && !mb[i]; break;
          case raster::RGN_COPY: expected[i] = ma[i]; break;
        }
      }
      ASSERT_EQ(reference::Mask(dest, window), expected) << "trial " << trial << " mode " << int(mode);
      EXPECT_EQ(kind, dest.Kind());
      // The destination may be one of the operands.
      Region alias = a;
      raster::CombineRgn(alias, alias, b, mode);
      ASSERT_EQ(alias, dest);
    }
  }
}

TEST(Region, OffsetMovesEveryPixel) {
  random_inputs::Inputs in(24);
  for (int trial = 0; trial < 100; ++trial) {
    Region r = in.AnyRegion(20);
    const Region before = r;
    const int dx = in.Between(-7, 7), dy = in.Between(-7, 7);
    EXPECT_EQ(raster::OffsetRgn(r, dx, dy), before.Kind());
    for (int y = -10; y < 30; ++y)
      for (int x = -10; x < 30; ++x) ASSERT_EQ(r.Contains(x + dx, y + dy), before.Contains(x, y));
  }
}

TEST(ExtCreateRegion, UnitesOverlappingRectanglesAndSkipsEmptyOnes) {
  const Rect rects[] = {{0, 0, 4, 2}, {2, 1, 6, 3}, {9, 9, 9, 12}, {8, 8, 5, 5}, {0, 0, 4, 2}};
  const Region r = raster::ExtCreateRegion(rects);
  Region expected = raster::CreateRectRgn(0, 0, 4, 2);
  raster::CombineRgn(expected, expected, raster::CreateRectRgn(2, 1, 6, 3), raster::RGN_OR);
  EXPECT_EQ(r, expected);
  EXPECT_EQ(r.Bounds(), (Rect{0, 0, 6, 3}));
  EXPECT_TRUE(raster::ExtCreateRegion({}).Empty());
}

TEST(Region, HugeShapesAreClampedInsteadOfHanging) {
  const Region e = raster::CreateEllipticRgn(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_TRUE(e.Contains(0, 0));
  const Point far[] = {{-2000000000, 0}, {2000000000, -2000000000}, {2000000000, 2000000000}};
  EXPECT_TRUE(raster::CreatePolygonRgn(far, raster::WINDING).Contains(100, 0));
}

}  // namespace
