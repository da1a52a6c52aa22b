#include "raster/canvas.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "random_inputs.h"
#include "raster/bitmap.h"
#include "reference_raster.h"

namespace {

using raster::Bitmap;
using raster::Rect;
using reference::At;

constexpr raster::Pixel kInk = 0x00ABCDEF;

// What FillRect over the whole surface reaches: the drawable pixels.
std::vector<bool> DrawablePixels(Bitmap& b) {
  b.Fill(0);
  b.Canvas().SetBrushColor(kInk);
  const raster::Point o = b.Canvas().ViewportOrg();
  b.Canvas().FillRect({-o.X, -o.Y, b.Width() - o.X, b.Height() - o.Y});
  std::vector<bool> mask;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) mask.push_back(At(b, x, y) == kInk);
  return mask;
}

// The canvas's clip operations against a model of its own: a pixel mask of
// the clip area (in device pixels), the origin and the stack of saved states.
TEST(Canvas, ClipOperationsMatchAModelOnRandomSequences) {
  random_inputs::Inputs in(11);
  constexpr int kW = 23, kH = 17;
  struct Model {
    std::vector<bool> clip = std::vector<bool>(kW * kH, true);
    raster::Point origin;
  };
  for (int sequence = 0; sequence < 300; ++sequence) {
    Bitmap b(kW, kH);
    Model model;
    std::vector<Model> saved;
    for (int step = 0; step < 12; ++step) {
      SCOPED_TRACE("sequence " + std::to_string(sequence) + ", step " + std::to_string(step));
      const Rect r = in.AnyRect(-6, 28);
      const auto logicalMask = [&](const Rect& rect) {
        // Rectangles are normalised like the region constructors do.
        const Rect n{std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom),
                     std::max(rect.Left, rect.Right), std::max(rect.Top, rect.Bottom)};
        std::vector<bool> m(kW * kH);
        for (int y = 0; y < kH; ++y)
          for (int x = 0; x < kW; ++x)
            m[y * kW + x] = n.Contains(x - model.origin.X, y - model.origin.Y);
        return m;
      };
      switch (in.Between(0, 6)) {
        case 0: {
          const raster::Region region = in.AnyRegion(kW);
          raster::SelectClipRgn(b.Canvas(), region);
          model.clip = reference::Mask(region, {0, 0, kW, kH});
          break;
        }
        case 1:
          raster::SelectClipRgn(b.Canvas(), nullptr);
          model.clip.assign(kW * kH, true);
          break;
        case 2: {
          raster::ExcludeClipRect(b.Canvas(), r.Left, r.Top, r.Right, r.Bottom);
          const auto m = logicalMask(r);
          for (std::size_t i = 0; i < m.size(); ++i) model.clip[i] = model.clip[i] && !m[i];
          break;
        }
        case 3: {
          raster::IntersectClipRect(b.Canvas(), r.Left, r.Top, r.Right, r.Bottom);
          const auto m = logicalMask(r);
          for (std::size_t i = 0; i < m.size(); ++i) model.clip[i] = model.clip[i] && m[i];
          break;
        }
        case 4:
          EXPECT_EQ(raster::SaveDC(b.Canvas()), static_cast<int>(saved.size()) + 1);
          saved.push_back(model);
          break;
        case 5:
          if (saved.empty()) {
            EXPECT_FALSE(raster::RestoreDC(b.Canvas(), -1));
          } else if (in.OneIn(2)) {
            EXPECT_TRUE(raster::RestoreDC(b.Canvas(), -1));
            model = saved.back();
            saved.pop_back();
          } else {
            const int index = in.Between(1, static_cast<int>(saved.size()));
            EXPECT_TRUE(raster::RestoreDC(b.Canvas(), index));
            model = saved[std::size_t(index) - 1];
            saved.resize(std::size_t(index) - 1);
          }
          break;
        default: {
          const raster::Point o{in.Between(-9, 9), in.Between(-9, 9)};
          raster::Point previous;
          raster::SetViewportOrgEx(b.Canvas(), o.X, o.Y, &previous);
          EXPECT_EQ(previous, model.origin);
          model.origin = o;
          break;
        }
      }
      ASSERT_EQ(DrawablePixels(b), model.clip);

      // The clip box is the bounding box of the model's mask, in logical
      // coordinates; RectVisible agrees with the mask.
      Rect box;
      const raster::RegionKind kind = raster::GetClipBox(b.Canvas(), &box);
      Rect expectedBox{kW, kH, 0, 0};
      for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
          if (!model.clip[y * kW + x]) continue;
          expectedBox = {std::min(expectedBox.Left, x), std::min(expectedBox.Top, y),
                         std::max(expectedBox.Right, x + 1), std::max(expectedBox.Bottom, y + 1)};
        }
      }
      if (expectedBox.IsEmpty()) {
        EXPECT_EQ(kind, raster::RegionKind::Null);
        EXPECT_TRUE(box.IsEmpty());
      } else {
        const raster::Point o = model.origin;
        EXPECT_EQ(box, (Rect{expectedBox.Left - o.X, expectedBox.Top - o.Y, expectedBox.Right - o.X,
                             expectedBox.Bottom - o.Y}));
      }
      const Rect probe = in.AnyRect(-6, 28);
      bool anyVisible = false;
      const auto probeMask = logicalMask(Rect{probe.Left, probe.Top, std::max(probe.Left, probe.Right),
                                              std::max(probe.Top, probe.Bottom)});
      for (std::size_t i = 0; i < probeMask.size(); ++i) anyVisible |= probeMask[i] && model.clip[i];
      EXPECT_EQ(raster::RectVisible(b.Canvas(), probe), anyVisible && !probe.IsEmpty());
    }
  }
}

TEST(Canvas, SelectClipRgnKeepsACopyOfTheRegion) {
  Bitmap b(4, 4);
  raster::Region region = raster::CreateRectRgn(0, 0, 2, 2);
  raster::SelectClipRgn(b.Canvas(), region);
  region.Offset(2, 2);
  ASSERT_NE(b.Canvas().ClipRegion(), nullptr);
  EXPECT_TRUE(b.Canvas().ClipRegion()->Contains(0, 0));
  EXPECT_FALSE(b.Canvas().ClipRegion()->Contains(3, 3));
}

TEST(Canvas, ViewportOriginMovesDrawingButNotTheClipRegion) {
  Bitmap b(6, 6, 0);
  raster::SelectClipRgn(b.Canvas(), raster::CreateRectRgn(0, 0, 3, 6));
  raster::SetViewportOrgEx(b.Canvas(), 2, 1);
  b.Canvas().SetBrushColor(kInk);
  b.Canvas().FillRect({0, 0, 2, 2});  // device pixels (2..3, 1..2); only column 2 is in the clip
  EXPECT_EQ(At(b, 2, 1), kInk);
  EXPECT_EQ(At(b, 2, 2), kInk);
  EXPECT_EQ(At(b, 3, 1), 0u);
  EXPECT_EQ(At(b, 0, 0), 0u);
  Bitmap src(1, 1, 5);
  raster::BitBlt(b.Canvas(), -2, -1, 1, 1, src, 0, 0);
  EXPECT_EQ(At(b, 0, 0), 5u);
}

TEST(Canvas, FrameRectDrawsThePenInsideTheRectangle) {
  Bitmap b(10, 8, 0);
  b.Canvas().SetPenColor(kInk);
  b.Canvas().SetPenWidth(2);
  b.Canvas().FrameRect({1, 1, 9, 7});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inRect = x >= 1 && x < 9 && y >= 1 && y < 7;
      const bool inHole = x >= 3 && x < 7 && y >= 3 && y < 5;
      EXPECT_EQ(At(b, x, y) == kInk, inRect && !inHole) << x << ", " << y;
    }
  }
  b.Fill(0);
  b.Canvas().SetPenWidth(5);  // wider than half the rectangle: all of it
  b.Canvas().FrameRect({1, 1, 9, 7});
  EXPECT_EQ(At(b, 4, 3), kInk);
  EXPECT_EQ(At(b, 0, 0), 0u);
}

TEST(Canvas, SaveAndRestoreCoverStretchModeBrushAndPen) {
  Bitmap b(2, 2);
  raster::SetStretchBltMode(b.Canvas(), raster::COLORONCOLOR);
  b.Canvas().SetBrushColor(1);
  const int saved = raster::SaveDC(b.Canvas());
  EXPECT_EQ(raster::SetStretchBltMode(b.Canvas(), raster::StretchMode::Halftone),
            raster::COLORONCOLOR);
  b.Canvas().SetBrushColor(2);
  b.Canvas().SetPenWidth(4);
  EXPECT_TRUE(raster::RestoreDC(b.Canvas(), saved));
  EXPECT_EQ(b.Canvas().StretchBltMode(), raster::COLORONCOLOR);
  EXPECT_EQ(b.Canvas().BrushColor(), 1u);
  EXPECT_EQ(b.Canvas().PenWidth(), 1);
  EXPECT_FALSE(raster::RestoreDC(b.Canvas(), saved));
  EXPECT_FALSE(raster::RestoreDC(b.Canvas(), 0));
}

TEST(Canvas, LockKeepsOtherThreadsOutAndIsReentrant) {
  Bitmap b(1, 1);
  raster::CanvasLock outer(b.Canvas());
  {
    raster::CanvasLock inner(b.Canvas());  // the same thread may take it again
  }
  bool otherGotIt = true;
  std::thread other([&] { otherGotIt = b.Canvas().TryLock(); });
  other.join();
  EXPECT_FALSE(otherGotIt);
}

TEST(Canvas, TravelsWithAMovedBitmap) {
  Bitmap a(3, 3, 0);
  raster::SelectClipRgn(a.Canvas(), raster::CreateRectRgn(0, 0, 1, 1));
  Bitmap b = std::move(a);
  EXPECT_EQ(&b.Canvas().Target(), &b);
  ASSERT_NE(b.Canvas().ClipRegion(), nullptr);
  b.Canvas().SetBrushColor(kInk);
  b.Canvas().FillRect({0, 0, 3, 3});
  EXPECT_EQ(At(b, 0, 0), kInk);
  EXPECT_EQ(At(b, 1, 1), 0u);
  EXPECT_EQ(a.Canvas().ClipRegion(), nullptr);  // NOLINT: moved-from is a fresh, empty bitmap
}

}  // namespace
