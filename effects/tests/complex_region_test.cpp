#include "raster/complex_region.h"

#include <gtest/gtest.h>

#include "random_inputs.h"

namespace {

using raster::ComplexRegion;
using raster::Rect;

TEST(ComplexRegion, GrowsFiveHundredRectanglesAtATime) {
  ComplexRegion list;
  EXPECT_EQ(list.Capacity(), 0);
  list.AddRect(0, 0, 1, 1);
  EXPECT_EQ(list.Capacity(), 500);
  for (int i = 1; i < 500; ++i) list.AddRect(i, 0, i + 1, 1);
  EXPECT_EQ(list.Capacity(), 500);
  list.AddRect(500, 0, 501, 1);
  EXPECT_EQ(list.Capacity(), 1000);
  EXPECT_EQ(list.Count(), 501);
  const auto region = list.CreateRegion();
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, raster::CreateRectRgn(0, 0, 501, 1));
}

TEST(ComplexRegion, GivesNoRegionWithoutRectangles) {
  ComplexRegion list;
  EXPECT_FALSE(list.CreateRegion().has_value());
  EXPECT_EQ(list.Bounds(), (Rect{2147483647, 2147483647, -2147483647, -2147483647}));
  list.AddRect(3, 3, 5, 5);
  list.ClearRegion();
  EXPECT_FALSE(list.CreateRegion().has_value());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(ComplexRegion, KeepsRectanglesAsGivenAndUnitesWhatTheyCover) {
  ComplexRegion list;
  list.AddRect(5, 5, 2, 9);  // covers nothing, but is kept and widens the bounds
  list.AddRect(0, 0, 3, 3);
  list.AddRect(2, 2, 4, 4);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Rects()[0], (Rect{5, 5, 2, 9}));
  EXPECT_EQ(list.Bounds(), (Rect{0, 0, 4, 9}));
  const auto region = list.CreateRegion();
  ASSERT_TRUE(region.has_value());
  raster::Region expected = raster::CreateRectRgn(0, 0, 3, 3);
  raster::CombineRgn(expected, expected, raster::CreateRectRgn(2, 2, 4, 4), raster::RGN_OR);
  EXPECT_EQ(*region, expected);
  EXPECT_EQ(list.Count(), 3);  // creating the region keeps the list
}

TEST(ComplexRegion, EqualsTheUnionOfManyRandomRectangles) {
  random_inputs::Inputs in(31);
  ComplexRegion list;
  raster::Region expected;
  for (int i = 0; i < 3000; ++i) {
    const Rect r = in.AnyRect(-50, 400);
    list.AddRect(r.Left, r.Top, r.Right, r.Bottom);
    if (!r.IsEmpty())
      raster::CombineRgn(expected, expected, raster::Region(r), raster::RGN_OR);
  }
  EXPECT_EQ(list.Capacity(), 3000);
  EXPECT_EQ(*list.CreateRegion(), expected);
}

}  // namespace
