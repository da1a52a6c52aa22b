#pragma once

// The properties every row of the effect table must have, as one check that
// runs a procedure over small odd sizes and every progress 1 .. 99. Used by the
// table-wide test and by the families' own tests.

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "raster/random.h"
#include "reference_raster.h"

namespace effect_checks {

using raster::Bitmap;
using raster::Pixel;

// The fourth byte marks where a pixel came from: pixel routines leave it
// alone and whole-pixel copies carry it.
inline constexpr std::uint8_t kOldTag = 0x0D;
inline constexpr std::uint8_t kNewTag = 0xB4;

// Colour bytes of the old card lie in 40 .. 127, those of the new one in
// 128 .. 215, and within a card nearly every pixel differs from its
// neighbours, so a pixel taken from the wrong place of the right card is rare
// but a pixel that was never in either card shows.
inline constexpr int kOldLow = 40;
inline constexpr int kNewHigh = 215;

inline Pixel OldCardPixel(int x, int y) {
  return raster::MakePixel(std::uint8_t(40 + (x * 7 + y * 3) % 88),
                           std::uint8_t(40 + (x * 5 + y * 11) % 88),
                           std::uint8_t(40 + ((x ^ y) * 13) % 88), kOldTag);
}

inline Pixel NewCardPixel(int x, int y) {
  return raster::MakePixel(std::uint8_t(128 + (x * 3 + y * 7) % 88),
                           std::uint8_t(128 + (x * 11 + y * 5) % 88),
                           std::uint8_t(128 + ((x + 3 * y) * 17) % 88), kNewTag);
}

inline void PaintOldCard(Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) reference::Set(b, x, y, OldCardPixel(x, y));
}

inline void PaintNewCard(Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) reference::Set(b, x, y, NewCardPixel(x, y));
}

// What a row may do to colours.
enum class ColourRule {
  Copy,   // every pixel is a whole pixel of the old or the new picture
  Blend,  // every pixel keeps a tag; its colour bytes lie between the cards'
  Shade,  // every pixel keeps a tag; its colour bytes are at most the cards'
};

// What a row does to the shared generator.
enum class SeedRule {
  Unchanged,  // the seed is the same after the call as before
  Advances,   // the row draws without reseeding, so the seed moves on
};

struct Size {
  int width;
  int height;
};

// Small odd sizes, a square and a tall one (the taller side is scaled first).
inline const std::vector<Size>& CheckSizes() {
  static const std::vector<Size> sizes = {{1, 1}, {2, 3}, {37, 23}, {64, 64}, {9, 41}};
  return sizes;
}

namespace detail {

inline std::string Where(int width, int height, int progress) {
  std::ostringstream out;
  out << width << "x" << height << " at progress " << progress << ": ";
  return out.str();
}

inline std::string PixelProblem(const Bitmap& screen, ColourRule rule,
                                const std::unordered_set<Pixel>& cardPixels) {
  // The message is only built for the pixel that fails: this loop runs over
  // every pixel of every frame of every row.
  const auto at = [](int x, int y, const char* what) {
    return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") " + what;
  };
  for (int y = 0; y < screen.Height(); ++y) {
    for (int x = 0; x < screen.Width(); ++x) {
      const Pixel p = reference::At(screen, x, y);
      const int tag = raster::PixelByte(p, raster::kFourthByte);
      if (tag != kOldTag && tag != kNewTag) return at(x, y, "comes from neither picture");
      if (rule == ColourRule::Copy) {
        if (cardPixels.count(p) == 0) return at(x, y, "is not a pixel of the picture it is tagged with");
        continue;
      }
      for (int b : {raster::kBlueByte, raster::kGreenByte, raster::kRedByte}) {
        const int v = raster::PixelByte(p, b);
        const bool ok = rule == ColourRule::Blend ? (v >= kOldLow && v <= kNewHigh) : v <= kNewHigh;
        if (!ok) return at(x, y, "has a colour byte outside what the pictures hold");
      }
    }
  }
  return {};
}

}  // namespace detail

// Runs `proc` for every size of CheckSizes() and every progress 1 .. 99 and
// gives a description of each property that failed (empty when all held):
// guards around both bitmaps intact, Image unchanged, no clip region and the
// origin at (0, 0) on Screen afterwards, colours by `colour`, the seed by
// `seed`, and the same frame again from the same inputs and seed.
inline std::vector<std::string> CheckEffect(effects::EffectProc proc, ColourRule colour,
                                            SeedRule seed, std::size_t maxProblems = 8) {
  std::vector<std::string> problems;
  const auto report = [&](const std::string& text) {
    if (problems.size() < maxProblems) problems.push_back(text);
  };
  for (const Size& size : CheckSizes()) {
    const int w = size.width;
    const int h = size.height;
    reference::GuardedBitmap image(w, h);
    PaintNewCard(image.Get());
    const Bitmap pristineImage = image.Get();
    std::unordered_set<Pixel> cardPixels;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        cardPixels.insert(OldCardPixel(x, y));
        cardPixels.insert(NewCardPixel(x, y));
      }
    }
    for (int progress = 1; progress <= 99; ++progress) {
      const std::string where = detail::Where(w, h, progress);
      const effects::ScaledExtent scaled = effects::ScaledSize(w, h, progress);
      Bitmap frames[2];
      for (Bitmap& frame : frames) {
        reference::GuardedBitmap screen(w, h);
        PaintOldCard(screen.Get());
        raster::SetStretchBltMode(screen.Get().Canvas(), raster::COLORONCOLOR);
        constexpr std::uint32_t kSeed = 0x2545F491u;
        raster::SetRandSeed(kSeed);
        proc(screen.Get(), image.Get(), w, h, scaled.X, scaled.Y, progress);
        const std::uint32_t after = raster::RandSeed();
        if (seed == SeedRule::Unchanged && after != kSeed) report(where + "the generator's seed changed");
        if (const std::string damage = screen.DamagedGuard(); !damage.empty()) report(where + "Screen: " + damage);
        if (const std::string damage = image.DamagedGuard(); !damage.empty()) report(where + "Image: " + damage);
        if (screen.Get().Canvas().ClipRegion() != nullptr) report(where + "Screen keeps a clip region");
        if (!(screen.Get().Canvas().ViewportOrg() == raster::Point{0, 0}))
          report(where + "Screen's origin was moved");
        for (int y = 0; y < h; ++y) {
          if (!std::equal(image.Get().PixelRow(y), image.Get().PixelRow(y) + w, pristineImage.PixelRow(y))) {
            report(where + "Image was changed");
            break;
          }
        }
        if (const std::string bad = detail::PixelProblem(screen.Get(), colour, cardPixels); !bad.empty())
          report(where + bad);
        frame = screen.Get();
      }
      for (int y = 0; y < h; ++y) {
        if (!std::equal(frames[0].PixelRow(y), frames[0].PixelRow(y) + w, frames[1].PixelRow(y))) {
          report(where + "the same inputs and seed gave another frame");
          break;
        }
      }
    }
  }
  return problems;
}

}  // namespace effect_checks
