// The properties every row of the effect table must have, checked for every
// row.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "effect_checks.h"
#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/canvas.h"
#include "raster/pixel_routines.h"
#include "raster/random.h"
#include "raster/region_builders.h"

namespace {

using effect_checks::CheckEffect;
using effect_checks::ColourRule;
using effect_checks::SeedRule;
using raster::Bitmap;

// Rows that change colour bytes instead of only moving whole pixels: the
// unroll rows shade their roll (14, 15, 31, 32); the fade (119), the
// pixelate's cross-fade (168) and the channel mix (172) blend. For them only
// the tag and the in-between property are checked.
const std::map<int, ColourRule> kColourRules = {
    {14, ColourRule::Shade},  {15, ColourRule::Shade},  {31, ColourRule::Shade},
    {32, ColourRule::Shade},  {119, ColourRule::Blend}, {168, ColourRule::Blend},
    {172, ColourRule::Blend},
};

// Rows that draw from the shared generator without reseeding it (the uneven
// shreds and the speckles), so the seed moves on with every frame. Every other
// row leaves it as it found it, seeded rows included.
const std::set<int> kAdvancingRows = {65,  66,  67,  68,  76,  77,  78,  79,  100, 101,
                                      102, 103, 104, 105, 106, 107, 108, 109, 124, 125,
                                      126, 127};

TEST(EffectProperties, HoldForEveryRow) {
  int checked = 0;
  for (int style = 1; style <= effects::kEffectCount; ++style) {
    const effects::Effect& row = effects::EffectTable[std::size_t(style) - 1];
    ++checked;
    const auto rule = kColourRules.find(style);
    const ColourRule colour = rule == kColourRules.end() ? ColourRule::Copy : rule->second;
    const SeedRule seed = kAdvancingRows.count(style) ? SeedRule::Advances : SeedRule::Unchanged;
    for (const std::string& problem : CheckEffect(row.Proc, colour, seed)) {
      ADD_FAILURE() << "style " << style << " \"" << row.Name << "\", " << problem;
    }
  }
  RecordProperty("rows_checked", checked);
}

// --- The check itself must catch the faults it is there for. These
// procedures each break one property on purpose.

void GoodBars(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int, int) {
  effects::RevealRegion(Screen, Image, W, H, raster::CreateBarsRegion(2 * X, 0, W, H, 1, 0));
}

void SeededDissolve(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int Progress) {
  raster::ScopedRandSeed seed(effects::PictureSeed(Image));
  for (int row = H - 1; row >= 0; --row) {
    for (int x = 0; x < W; ++x) {
      if (seed.Random(100) < Progress) Screen.PixelRow(row)[x] = Image.PixelRow(row)[x];
    }
  }
}

void WritesPastTheRowEnd(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int) {
  for (int row = 0; row < H; ++row) {
    for (int x = 0; x <= W; ++x) Screen.PixelRow(row)[x] = Image.PixelRow(row)[std::min(x, W - 1)];
  }
}

void LeavesItsClip(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int, int) {
  raster::SelectClipRgn(Screen.Canvas(), raster::CreateRectRgn(0, 0, X, H));
  raster::BitBlt(Screen.Canvas(), 0, 0, W, H, Image, 0, 0);
}

void PaintsForeignColour(Bitmap& Screen, const Bitmap&, int, int, int, int, int) {
  Screen.PixelRow(0)[0] = raster::MakePixel(1, 2, 3, effect_checks::kNewTag);
}

void BlendsWhereItShouldCopy(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int P) {
  raster::BlendRect(Screen, Image, P, 0, 0, W, H);
}

void DrawsWithoutRestoringTheSeed(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int) {
  if (raster::Random(2) == 0) raster::BitBlt(Screen.Canvas(), 0, 0, W, H, Image, 0, 0);
}

void ChangesTheNewPicture(Bitmap&, const Bitmap& Image, int, int, int, int, int) {
  const_cast<Bitmap&>(Image).PixelRow(0)[0] ^= 1;
}

void RemembersTheLastFrame(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int, int) {
  static int calls = 0;
  if (++calls % 2 == 0) raster::BitBlt(Screen.Canvas(), 0, 0, W, H, Image, 0, 0);
}

void MovesTheOrigin(Bitmap& Screen, const Bitmap&, int, int, int, int, int) {
  raster::SetViewportOrgEx(Screen.Canvas(), 1, 0);
}

TEST(EffectChecks, PassWellBehavedProcedures) {
  EXPECT_TRUE(CheckEffect(GoodBars, ColourRule::Copy, SeedRule::Unchanged).empty());
  EXPECT_TRUE(CheckEffect(SeededDissolve, ColourRule::Copy, SeedRule::Unchanged).empty());
  EXPECT_TRUE(CheckEffect(BlendsWhereItShouldCopy, ColourRule::Blend, SeedRule::Unchanged).empty());
}

TEST(EffectChecks, CatchEachBrokenProperty) {
  struct Broken {
    const char* fault;
    effects::EffectProc proc;
    ColourRule colour;
    const char* expectedProblem;
  };
  const Broken cases[] = {
      {"write outside the bitmap", WritesPastTheRowEnd, ColourRule::Copy, "was overwritten"},
      {"clip left behind", LeavesItsClip, ColourRule::Copy, "keeps a clip region"},
      {"colour from nowhere", PaintsForeignColour, ColourRule::Copy, "not a pixel of the picture"},
      {"blend in a copying row", BlendsWhereItShouldCopy, ColourRule::Copy, "not a pixel of the picture"},
      {"seed not restored", DrawsWithoutRestoringTheSeed, ColourRule::Copy, "seed changed"},
      {"new picture changed", ChangesTheNewPicture, ColourRule::Copy, "Image was changed"},
      {"state kept between frames", RemembersTheLastFrame, ColourRule::Copy, "another frame"},
      {"origin moved", MovesTheOrigin, ColourRule::Copy, "origin was moved"},
  };
  for (const Broken& c : cases) {
    const auto problems = CheckEffect(c.proc, c.colour, SeedRule::Unchanged, 100);
    bool found = false;
    for (const std::string& p : problems) found |= p.find(c.expectedProblem) != std::string::npos;
    EXPECT_TRUE(found) << c.fault << ": " << (problems.empty() ? "no problem found" : problems.front());
  }
}

}  // namespace
