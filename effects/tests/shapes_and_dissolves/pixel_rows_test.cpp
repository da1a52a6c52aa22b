// Rows 168 to 176 against plain pixel loops written from the rows'
// definitions, and the properties their seeded randomness promises.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>

#include "effects/effect_helpers.h"
#include "family_fixture.h"
#include "raster/canvas.h"
#include "raster/numeric.h"
#include "raster/pixel_routines.h"
#include "raster/random.h"
#include "reference_raster.h"

namespace {

using family_fixture::Bitmap;
using family_fixture::FirstDifference;
using family_fixture::Frame;
using family_fixture::IsNew;
using family_fixture::NewCard;
using family_fixture::OldCard;
using raster::Pixel;

// frame byte + floor((new byte - frame byte) * d / 256), for blue, green and
// red, or for the one byte place given.
std::uint8_t BlendByte(std::uint8_t frame, std::uint8_t image, int d) {
  return std::uint8_t(frame + int(std::floor((int(image) - int(frame)) * d / 256.0)));
}

Pixel WithByte(Pixel p, int place, std::uint8_t value) {
  std::array<std::uint8_t, 4> bytes{};
  for (int b = 0; b < 4; ++b) bytes[std::size_t(b)] = raster::PixelByte(p, b);
  bytes[std::size_t(place)] = value;
  return raster::MakePixel(bytes[raster::kRedByte], bytes[raster::kGreenByte], bytes[raster::kBlueByte],
                           bytes[raster::kFourthByte]);
}

struct Inputs {
  const Bitmap& old;
  const Bitmap& image;
  int W, H, X, Y, P;
};

Bitmap ReferencePixelate(const Inputs& in) {
  Bitmap frame = in.old;
  const int W = in.W, H = in.H, P = in.P;
  const bool firstHalf = P <= 50;
  const Bitmap* source = firstHalf ? &frame : &in.image;
  const int k = firstHalf ? 180 - raster::MulDiv(P, 82, 50) : 180 + raster::MulDiv(P - 100, 82, 50);
  const int ex = firstHalf ? in.X : W - in.X;
  const int ey = firstHalf ? in.Y : H - in.Y;
  const int mx = raster::MulDiv(ex, k, 100), my = raster::MulDiv(ey, k, 100);
  int sw = W - 2 * mx, sh = H - 2 * my;
  if (sw <= 2) sw = 2;
  if (sh <= 2) sh = 2;
  if (P >= 41 && P <= 59) {
    const int F = raster::MulDiv(256, (P - 41) * 5 + 5, 100);
    for (int y = my; y < my + sh; ++y)
      for (int x = mx; x < mx + sw; ++x) {
        if (!reference::Inside(frame, x, y)) continue;
        Pixel p = reference::At(frame, x, y);
        for (int b : {raster::kBlueByte, raster::kGreenByte, raster::kRedByte})
          p = WithByte(p, b, BlendByte(raster::PixelByte(p, b), raster::PixelByte(reference::At(in.image, x, y), b), F));
        reference::Set(frame, x, y, p);
      }
    source = &frame;
  }
  const Bitmap before = *source;
  reference::StretchBlt(frame.Canvas(), -2 * mx, -2 * my, W + 4 * mx, H + 4 * my, before, mx, my, sw, sh);
  return frame;
}

// Rows 169 to 171 draw with the seed set to the picture seed and put the
// previous seed back.
template <typename Draw>
Bitmap Seeded(const Inputs& in, const Draw& draw) {
  const std::uint32_t saved = raster::RandSeed();
  raster::SetRandSeed(in.image.Handle());
  Bitmap frame = in.old;
  draw(frame);
  raster::SetRandSeed(saved);
  return frame;
}

Bitmap ReferenceDissolve(const Inputs& in) {
  return Seeded(in, [&](Bitmap& frame) {
    for (int y = in.H - 1; y >= 0; --y)
      for (int x = 0; x < in.W; ++x)
        if (raster::Random(100) < in.P) reference::Set(frame, x, y, reference::At(in.image, x, y));
  });
}

Bitmap ReferenceRandomRows(const Inputs& in) {
  return Seeded(in, [&](Bitmap& frame) {
    for (int y = in.H - 1; y >= 0; --y)
      if (raster::Random(100) < in.P)
        for (int x = 0; x < in.W; ++x) reference::Set(frame, x, y, reference::At(in.image, x, y));
  });
}

Bitmap ReferenceRandomColumns(const Inputs& in) {
  return Seeded(in, [&](Bitmap& frame) {
    for (int x = 0; x < in.W; ++x)
      if (raster::Random(100) < in.P)
        for (int y = 0; y < in.H; ++y) reference::Set(frame, x, y, reference::At(in.image, x, y));
  });
}

struct Order {
  int first, second, third;
};

Order ChannelOrder(const Bitmap& image) {
  const std::uint32_t saved = raster::RandSeed();
  raster::SetRandSeed(image.Handle());
  const int first = raster::Random(3);
  int second = raster::Random(3);
  while (second == first) second = raster::Random(3);
  raster::SetRandSeed(saved);
  return {first, second, 3 - first - second};
}

Bitmap ReferenceChannelMix(const Inputs& in) {
  const Order o = ChannelOrder(in.image);
  Bitmap frame = in.old;
  for (int y = 0; y < in.H; ++y)
    for (int x = 0; x < in.W; ++x) {
      Pixel p = reference::At(frame, x, y);
      const Pixel n = reference::At(in.image, x, y);
      const auto blend = [&](int place, int d) {
        p = WithByte(p, place, BlendByte(raster::PixelByte(p, place), raster::PixelByte(n, place), d));
      };
      const auto take = [&](int place) { p = WithByte(p, place, raster::PixelByte(n, place)); };
      if (in.P <= 33) {
        blend(o.first, raster::MulDiv(256, in.P, 33));
      } else if (in.P <= 66) {
        take(o.first);
        blend(o.second, raster::MulDiv(256, in.P - 33, 33));
      } else {
        take(o.first);
        take(o.second);
        blend(o.third, raster::MulDiv(256, in.P - 66, 33));
      }
      reference::Set(frame, x, y, p);
    }
  return frame;
}

// Slide out: pixel (x, y) of the frame from the old picture's (x - dx, y - dy)
// where the moved picture covers it, else from the new picture in place.
Bitmap ReferenceSlideOut(const Inputs& in, int dx, int dy) {
  Bitmap frame = in.old;
  for (int y = 0; y < in.H; ++y)
    for (int x = 0; x < in.W; ++x) {
      const int fromX = x - dx, fromY = y - dy;
      reference::Set(frame, x, y,
                     reference::Inside(in.old, fromX, fromY) ? reference::At(in.old, fromX, fromY)
                                                             : reference::At(in.image, x, y));
    }
  return frame;
}

const std::map<int, std::function<Bitmap(const Inputs&)>>& References() {
  static const std::map<int, std::function<Bitmap(const Inputs&)>> references = {
      {168, ReferencePixelate},
      {169, ReferenceDissolve},
      {170, ReferenceRandomRows},
      {171, ReferenceRandomColumns},
      {172, ReferenceChannelMix},
      {173, [](const Inputs& in) { return ReferenceSlideOut(in, in.X, 0); }},
      {174, [](const Inputs& in) { return ReferenceSlideOut(in, -in.X, 0); }},
      {175, [](const Inputs& in) { return ReferenceSlideOut(in, 0, in.Y); }},
      {176, [](const Inputs& in) { return ReferenceSlideOut(in, 0, -in.Y); }},
  };
  return references;
}

TEST(PixelRows, DrawExactlyWhatTheirDefinitionsSay) {
  for (const auto& size : family_fixture::FrameSizes()) {
    const Bitmap old = OldCard(size.w, size.h);
    const Bitmap image = NewCard(size.w, size.h);
    for (const auto& [style, reference] : References()) {
      for (int P = 1; P <= 99; ++P) {
        const effects::ScaledExtent s = effects::ScaledSize(size.w, size.h, P);
        const Bitmap expected = reference({old, image, size.w, size.h, s.X, s.Y, P});
        const std::string difference = FirstDifference(Frame(style, old, image, P), expected);
        ASSERT_TRUE(difference.empty())
            << "style " << style << ", " << size.w << "x" << size.h << ", progress " << P << ": " << difference;
      }
    }
  }
}

// Half-way on an 800 x 600 picture the margins are 392 and 294 (X = 400,
// Y = 300, k = 98), so the 16 x 12 patch at the centre fills the frame; one
// percent later the same margins apply to the blended frame.
TEST(PixelRows, PixelateMagnifiesTheCentrePatchHalfWay) {
  const Bitmap old = OldCard(800, 600);
  const Bitmap image = NewCard(800, 600);
  Bitmap expected = old;
  raster::BlendRect(expected, image, 50, 392, 294, 16, 12);
  const Bitmap blended = expected;
  reference::StretchBlt(expected.Canvas(), -784, -588, 800 + 1568, 600 + 1176, blended, 392, 294, 16, 12);
  EXPECT_EQ(FirstDifference(Frame(168, old, image, 50), expected), "");

  expected = old;
  raster::BlendRect(expected, image, 55, 392, 294, 16, 12);
  const Bitmap blendedLater = expected;
  reference::StretchBlt(expected.Canvas(), -784, -588, 800 + 1568, 600 + 1176, blendedLater, 392, 294, 16, 12);
  EXPECT_EQ(FirstDifference(Frame(168, old, image, 51), expected), "");
}

// The seeded rows draw the same frame whatever the generator held before,
// leave it as it was, and only ever add new pixels as the progress grows.
TEST(PixelRows, SeededPatternsStayFromFrameToFrame) {
  const Bitmap old = OldCard(37, 23);
  const Bitmap image = NewCard(37, 23);
  for (const int style : {169, 170, 171, 172}) {
    raster::SetRandSeed(1);
    const Bitmap first = Frame(style, old, image, 40);
    EXPECT_EQ(raster::RandSeed(), 1u) << style;
    raster::SetRandSeed(0xFEEDFACEu);
    EXPECT_EQ(FirstDifference(Frame(style, old, image, 40), first), "") << style;
  }
  for (const int style : {169, 170, 171}) {
    Bitmap earlier = Frame(style, old, image, 1);
    for (int P = 2; P <= 99; ++P) {
      const Bitmap later = Frame(style, old, image, P);
      for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
          ASSERT_FALSE(IsNew(reference::At(earlier, x, y)) && !IsNew(reference::At(later, x, y)))
              << "style " << style << " drops pixel " << x << "," << y << " at " << P;
      earlier = later;
    }
  }
}

// At P = 33 the first channel is wholly new and the others old; at P = 34
// the second starts with weight 8; the order is the same in every frame.
TEST(PixelRows, ChannelMixReplacesOneChannelPerThird) {
  const Bitmap old = OldCard(37, 23);
  const Bitmap image = NewCard(37, 23);
  const Order o = ChannelOrder(image);
  const Bitmap at33 = Frame(172, old, image, 33);
  const Bitmap at34 = Frame(172, old, image, 34);
  const Bitmap at66 = Frame(172, old, image, 66);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) {
      const Pixel was = reference::At(old, x, y), comes = reference::At(image, x, y);
      const auto byte = [](Pixel p, int place) { return raster::PixelByte(p, place); };
      ASSERT_EQ(byte(reference::At(at33, x, y), o.first), byte(comes, o.first));
      ASSERT_EQ(byte(reference::At(at33, x, y), o.second), byte(was, o.second));
      ASSERT_EQ(byte(reference::At(at33, x, y), o.third), byte(was, o.third));
      ASSERT_EQ(byte(reference::At(at34, x, y), o.second),
                std::uint8_t(byte(was, o.second) + ((byte(comes, o.second) - byte(was, o.second)) * 8 >> 8)));
      ASSERT_EQ(byte(reference::At(at66, x, y), o.second), byte(comes, o.second));
      ASSERT_EQ(byte(reference::At(at66, x, y), o.third), byte(was, o.third));
      ASSERT_EQ(byte(reference::At(at66, x, y), raster::kFourthByte), byte(was, raster::kFourthByte));
    }
}

// On pictures under 50 pixels the scaled size is 0 at P = 1 and the whole
// side at P = 99: the old picture has not moved, then has left entirely.
TEST(PixelRows, SlideOutStartsStillAndEndsGoneOnSmallPictures) {
  for (const auto& size : {family_fixture::Size{37, 23}, family_fixture::Size{9, 41}}) {
    const Bitmap old = OldCard(size.w, size.h);
    const Bitmap image = NewCard(size.w, size.h);
    for (const int style : {173, 174, 175, 176}) {
      EXPECT_EQ(FirstDifference(Frame(style, old, image, 1), old), "") << style;
      EXPECT_EQ(FirstDifference(Frame(style, old, image, 99), image), "") << style;
    }
  }
}

}  // namespace
