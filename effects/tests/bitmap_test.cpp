#include "raster/bitmap.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "reference_raster.h"

namespace {

using raster::Bitmap;
using raster::MakePixel;

TEST(Pixel, KeepsBlueGreenRedAndTheFourthByteInMemoryOrder) {
  const raster::Pixel p = MakePixel(0x30, 0x20, 0x10, 0x40);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&p);
  EXPECT_EQ(bytes[0], 0x10);  // blue
  EXPECT_EQ(bytes[1], 0x20);  // green
  EXPECT_EQ(bytes[2], 0x30);  // red
  EXPECT_EQ(bytes[3], 0x40);
  EXPECT_EQ(raster::PixelByte(p, raster::kRedByte), 0x30);
}

TEST(Bitmap, StoresRowsBottomUpWithoutPadding) {
  Bitmap b(5, 3);
  ASSERT_EQ(b.Width(), 5);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Stride(), 20);
  // The bottom row has the lowest address and each row above follows it.
  EXPECT_EQ(b.ScanLine(1), b.ScanLine(2) + 20);
  EXPECT_EQ(b.ScanLine(0), b.ScanLine(2) + 40);
  EXPECT_EQ(b.ScanLine(3), nullptr);
  EXPECT_EQ(b.ScanLine(-1), nullptr);
  EXPECT_EQ(reinterpret_cast<std::uint8_t*>(b.PixelRow(2)), b.ScanLine(2));
}

TEST(Bitmap, HandlesDifferAmongLivingBitmapsAndStayWithAMove) {
  std::vector<Bitmap> bitmaps(50);
  std::set<std::uint32_t> handles;
  for (const Bitmap& b : bitmaps) handles.insert(b.Handle());
  EXPECT_EQ(handles.size(), bitmaps.size());
  EXPECT_EQ(handles.count(0), 0u);

  Bitmap original(4, 4);
  const Bitmap copy = original;
  EXPECT_NE(copy.Handle(), original.Handle());
  const std::uint32_t handle = original.Handle();
  const Bitmap moved = std::move(original);
  EXPECT_EQ(moved.Handle(), handle);
  EXPECT_NE(original.Handle(), handle);  // NOLINT: a moved-from bitmap is empty and usable
  EXPECT_TRUE(original.Empty());
}

TEST(Bitmap, ResizeKeepsTheSharedTopLeftPartAndFillsTheRestWithTheBrush) {
  Bitmap b(3, 2, MakePixel(1, 1, 1));
  reference::Set(b, 0, 0, MakePixel(9, 0, 0));
  reference::Set(b, 2, 1, MakePixel(0, 9, 0));
  b.Canvas().SetBrushColor(MakePixel(0, 0, 7));
  ASSERT_TRUE(b.SetSize(4, 3));
  EXPECT_EQ(reference::At(b, 0, 0), MakePixel(9, 0, 0));
  EXPECT_EQ(reference::At(b, 2, 1), MakePixel(0, 9, 0));
  EXPECT_EQ(reference::At(b, 1, 1), MakePixel(1, 1, 1));
  EXPECT_EQ(reference::At(b, 3, 0), MakePixel(0, 0, 7));
  EXPECT_EQ(reference::At(b, 0, 2), MakePixel(0, 0, 7));
  ASSERT_TRUE(b.SetSize(1, 1));
  EXPECT_EQ(reference::At(b, 0, 0), MakePixel(9, 0, 0));
  ASSERT_TRUE(b.SetSize(0, 5));
  EXPECT_TRUE(b.Empty());
  EXPECT_FALSE(b.SetSize(-1, 5));
}

TEST(Bitmap, ViewWorksOnTheCallersMemoryWithAStride) {
  std::vector<raster::Pixel> memory(4 * 3, 0);
  Bitmap view = Bitmap::View(memory.data(), 3, 3, 16);  // one spare pixel per row
  ASSERT_FALSE(view.Empty());
  EXPECT_TRUE(view.IsView());
  reference::Set(view, 0, 2, 11);  // bottom row, first pixel: lowest address
  reference::Set(view, 2, 0, 22);  // top row, last pixel
  EXPECT_EQ(memory[0], 11u);
  EXPECT_EQ(memory[8 + 2], 22u);
  EXPECT_FALSE(view.SetSize(5, 5));
  EXPECT_TRUE(view.SetSize(3, 3));

  Bitmap owned = view;  // a copy owns its pixels
  EXPECT_FALSE(owned.IsView());
  EXPECT_EQ(owned.Stride(), 12);
  reference::Set(owned, 0, 2, 99);
  EXPECT_EQ(memory[0], 11u);

  Bitmap other(3, 3, 5);
  EXPECT_TRUE(view.Assign(other));
  EXPECT_EQ(memory[0], 5u);
  EXPECT_EQ(memory[3], 0u);  // the spare pixel is not touched
  EXPECT_FALSE(view.Assign(Bitmap(2, 2)));
}

TEST(Bitmap, RefusesAViewItCannotDescribe) {
  std::vector<raster::Pixel> memory(16);
  EXPECT_TRUE(Bitmap::View(nullptr, 2, 2, 8).Empty());
  EXPECT_TRUE(Bitmap::View(memory.data(), 2, 2, 4).Empty());  // stride below the width
  EXPECT_TRUE(Bitmap::View(memory.data(), 2, 2, 10).Empty());  // not whole pixels
  EXPECT_TRUE(Bitmap::View(reinterpret_cast<std::uint8_t*>(memory.data()) + 1, 2, 2, 8).Empty());
  EXPECT_TRUE(Bitmap::View(memory.data(), 0, 2, 8).Empty());
}

TEST(Bitmap, AssignTakesSizeAndPixels) {
  Bitmap a(2, 2, 3);
  Bitmap b;
  EXPECT_TRUE(b.Assign(a));
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(reference::At(b, 1, 1), 3u);
  Bitmap c(7, 1);
  c = a;
  EXPECT_EQ(c.Width(), 2);
  EXPECT_EQ(reference::At(c, 0, 1), 3u);
}

}  // namespace
