#include <gtest/gtest.h>

#include <string>

#include "core_host.h"
#include "raster/canvas.h"
#include "slideshow/diorama_core.h"

namespace {

using slideshow::BackgroundMode;
using slideshow_test::Card;
using slideshow_test::CoreHost;
using slideshow_test::SameImage;

struct LayoutCase {
  const char* name;
  int pictureWidth, pictureHeight;
  int clientWidth, clientHeight;
  int frameWidth;
  bool center, stretch, proportional;
  raster::Rect picRect;
};

TEST(DioramaLayoutTest, PicRectFollowsCenterStretchProportionalAndFrame) {
  const LayoutCase cases[] = {
      {"smaller, natural", 50, 30, 100, 100, 0, false, false, false, {0, 0, 50, 30}},
      {"smaller, centred", 50, 30, 100, 100, 0, true, false, false, {25, 35, 75, 65}},
      {"larger, centred by a negative offset", 400, 200, 200, 200, 0, true, false, false, {-100, 0, 300, 200}},
      {"odd overhang truncates toward zero", 401, 200, 200, 200, 0, true, false, false, {-100, 0, 301, 200}},
      {"smaller, stretched", 50, 30, 100, 100, 0, false, true, false, {0, 0, 100, 100}},
      {"stretched inside a frame", 50, 30, 100, 100, 5, true, true, false, {5, 5, 95, 95}},
      {"smaller, proportional: own size", 50, 30, 100, 100, 0, true, false, true, {25, 35, 75, 65}},
      {"larger, proportional", 400, 200, 200, 200, 0, false, false, true, {0, 0, 200, 100}},
      {"larger, proportional, centred", 400, 200, 200, 200, 0, true, false, true, {0, 50, 200, 150}},
      {"larger, proportional, framed", 400, 200, 200, 200, 10, true, false, true, {10, 55, 190, 145}},
      {"smaller, proportional and stretched", 50, 30, 100, 100, 0, true, true, true, {0, 20, 100, 80}},
      {"tall, proportional, centred", 100, 400, 200, 200, 0, true, false, true, {75, 0, 125, 200}},
      {"proportional rounds halves away from zero", 3, 2, 100, 100, 0, false, true, true, {0, 0, 100, 67}},
      {"frame wider than the client", 50, 30, 100, 100, 60, true, true, false, {60, 60, 40, 40}},
      {"larger, natural, framed", 400, 200, 200, 200, 3, false, false, false, {3, 3, 403, 203}},
  };
  for (const LayoutCase& c : cases) {
    CoreHost host;
    host.SetManual(true);
    host.client = {0, 0, c.clientWidth, c.clientHeight};
    host.SetFrameWidth(c.frameWidth);
    host.SetCenter(c.center);
    host.SetStretch(c.stretch);
    host.SetProportional(c.proportional);
    host.picture = Card(c.pictureWidth, c.pictureHeight, 1);
    host.Execute();
    EXPECT_EQ(host.PicRect(), c.picRect) << c.name;
    EXPECT_EQ(host.SourceRect(), (raster::Rect{0, 0, c.pictureWidth, c.pictureHeight})) << c.name;
  }
}

TEST(DioramaLayoutTest, LayoutSettersRecalculateOnlyOnARealChange) {
  CoreHost host;
  host.SetManual(true);
  host.client = {0, 0, 200, 200};
  host.picture = Card(400, 200, 2);
  host.Execute();
  EXPECT_EQ(host.PicRect(), (raster::Rect{0, 0, 400, 200}));
  int invalidations = host.invalidations;
  host.SetCenter(false);
  host.SetFrameWidth(0);
  host.SetFrameColorPixel(0x12345678);  // no frame to repaint
  EXPECT_EQ(host.invalidations, invalidations);
  host.SetProportional(true);
  EXPECT_EQ(host.PicRect(), (raster::Rect{0, 0, 200, 100}));
  host.SetCenter(true);
  EXPECT_EQ(host.PicRect(), (raster::Rect{0, 50, 200, 150}));
  host.SetFrameWidth(-4);
  EXPECT_EQ(host.FrameWidth(), 0);
  EXPECT_EQ(host.invalidations, invalidations + 2);
  host.client = {0, 0, 100, 100};
  host.SetStretch(true);
  EXPECT_EQ(host.PicRect(), (raster::Rect{0, 25, 100, 75}));
}

// The client area painted with nothing shown: only the background.
raster::Bitmap PaintClient(CoreHost& host, raster::Pixel sentinel = 0xDEADBEEF) {
  raster::Bitmap client(host.client.Right, host.client.Bottom, sentinel);
  host.PaintContent(client.Canvas());
  return client;
}

TEST(DioramaLayoutTest, BackgroundModesFillTheClientArea) {
  const raster::Pixel color = raster::MakePixel(10, 20, 30, 0xFF);
  const raster::Bitmap small = Card(20, 10, 3);
  const raster::Bitmap large = Card(300, 300, 4);
  const raster::Bitmap quad = [] {
    raster::Bitmap q(2, 2);
    q.PixelRow(0)[0] = 1;
    q.PixelRow(0)[1] = 2;
    q.PixelRow(1)[0] = 3;
    q.PixelRow(1)[1] = 4;
    return q;
  }();
  const raster::Bitmap tiny = Card(1, 1, 5);
  const raster::Bitmap strip = Card(5, 70, 6);
  const struct {
    const char* name;
    BackgroundMode mode;
    const raster::Bitmap* graphic;
    // The expected pixel at client (x, y).
    std::function<raster::Pixel(int, int)> at;
  } cases[] = {
      {"no graphic: colour", BackgroundMode::bmTiled, nullptr, [&](int, int) { return color; }},
      {"none: colour", BackgroundMode::bmNone, &small, [&](int, int) { return color; }},
      {"tiled", BackgroundMode::bmTiled, &small, [&](int x, int y) { return small.PixelRow(y % 10)[x % 20]; }},
      {"tiled, one pixel", BackgroundMode::bmTiled, &tiny, [&](int, int) { return tiny.PixelRow(0)[0]; }},
      {"tiled, narrow", BackgroundMode::bmTiled, &strip, [&](int x, int y) { return strip.PixelRow(y % 70)[x % 5]; }},
      {"stretched", BackgroundMode::bmStretched, &quad,
       [&](int x, int y) { return quad.PixelRow(y < 50 ? 0 : 1)[x < 50 ? 0 : 1]; }},
      {"centred, smaller: colour around", BackgroundMode::bmCentered, &small,
       [&](int x, int y) {
         return x >= 40 && x < 60 && y >= 45 && y < 55 ? small.PixelRow(y - 45)[x - 40] : color;
       }},
      {"centred, larger: no colour visible", BackgroundMode::bmCentered, &large,
       [&](int x, int y) { return large.PixelRow(y + 100)[x + 100]; }},
  };
  for (const auto& c : cases) {
    CoreHost host;
    host.SetColorPixel(color);
    host.SetBgMode(c.mode);
    if (c.graphic != nullptr) host.background = *c.graphic;
    const raster::Bitmap client = PaintClient(host);
    bool same = true;
    for (int y = 0; y < 100 && same; ++y) {
      for (int x = 0; x < 100 && same; ++x) {
        same = client.PixelRow(y)[x] == c.at(x, y);
        EXPECT_TRUE(same) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(DioramaLayoutTest, PaintContentDrawsFrameBorderAndBackgroundAroundIt) {
  const raster::Pixel color = raster::MakePixel(1, 1, 1, 0xFF);
  const raster::Pixel border = raster::MakePixel(200, 0, 0, 0xFF);
  CoreHost host;
  host.SetManual(true);
  host.SetBgMode(BackgroundMode::bmNone);
  host.SetColorPixel(color);
  host.SetFrameColorPixel(border);
  host.SetFrameWidth(3);
  host.SetCenter(true);
  host.picture = Card(20, 10, 7);
  host.Execute();
  host.SetProgress(100);
  ASSERT_EQ(host.PicRect(), (raster::Rect{40, 45, 60, 55}));
  const raster::Bitmap client = PaintClient(host);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool inPicture = x >= 40 && x < 60 && y >= 45 && y < 55;
      const bool inBand = x >= 37 && x < 63 && y >= 42 && y < 58;
      const raster::Pixel expected = inPicture ? host.picture->PixelRow(y - 45)[x - 40] : inBand ? border : color;
      ASSERT_EQ(client.PixelRow(y)[x], expected) << x << "," << y;
    }
  }
}

TEST(DioramaLayoutTest, PaintContentStretchesTheFrameAndKeepsToTheClip) {
  const raster::Pixel sentinel = 0xDEADBEEF;
  CoreHost host;
  host.SetManual(true);
  host.SetStretch(true);
  host.client = {0, 0, 40, 20};
  host.picture = Card(4, 2, 8);
  host.Execute();
  host.SetProgress(100);
  raster::Bitmap client(40, 20, sentinel);
  raster::IntersectClipRect(client.Canvas(), 0, 0, 20, 20);
  host.PaintContent(client.Canvas());
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      const raster::Pixel expected = x < 20 ? host.picture->PixelRow(y / 10)[x / 10] : sentinel;
      ASSERT_EQ(client.PixelRow(y)[x], expected) << x << "," << y;
    }
  }
}

TEST(DioramaLayoutTest, StartFrameOverTheBackgroundIsTheBackgroundUnderPicRect) {
  const raster::Bitmap tile = Card(3, 2, 9);
  CoreHost host;
  host.SetManual(true);
  host.SetFrameWidth(7);
  host.background = tile;
  host.picture = Card(11, 5, 10);
  host.Execute();
  ASSERT_TRUE(host.OverBackground());
  ASSERT_EQ(host.PicRect(), (raster::Rect{7, 7, 18, 12}));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 11; ++x) {
      ASSERT_EQ(host.OldImage()->PixelRow(y)[x], tile.PixelRow((y + 7) % 2)[(x + 7) % 3]) << x << "," << y;
    }
  }
  // A new mode rebuilds it, and a manual run shows the new start frame at once.
  host.SetProgress(50);
  host.SetBgMode(BackgroundMode::bmNone);
  EXPECT_TRUE(SameImage(*host.OldImage(), raster::Bitmap(11, 5, host.ColorPixel())));
  host.SetProgress(0);
  EXPECT_TRUE(SameImage(host.Screen(), *host.OldImage()));
}

TEST(DioramaLayoutTest, StretchedPictureStartsFromTheBackgroundScaledToItsSize) {
  // PicRect is 4 times the picture: the start frame samples the background
  // under it, one pixel in four.
  raster::Bitmap stripes(40, 40);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) stripes.PixelRow(y)[x] = raster::MakePixel(std::uint8_t(x), std::uint8_t(y), 0, 0xFF);
  }
  CoreHost host;
  host.SetManual(true);
  host.SetStretch(true);
  host.SetBgMode(BackgroundMode::bmStretched);
  host.client = {0, 0, 40, 40};
  host.background = stripes;
  host.picture = Card(10, 10, 11);
  host.Execute();
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(host.OldImage()->PixelRow(y)[x], stripes.PixelRow(4 * y + 2)[4 * x + 2]) << x << "," << y;
    }
  }
}

}  // namespace
