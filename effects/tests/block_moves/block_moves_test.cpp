// Exact frames of rows 1 to 59 against the plain reference, the worked
// examples pixel by pixel, and the rows' oddities: rolls that take their strip
// one column early, strips of width 0, names shared by different rows, gaps
// left by halving, frames that stay the start frame.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "block_moves/block_moves.h"
#include "effect_checks.h"
#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/pixel_routines.h"
#include "reference_frames.h"

namespace {

using effect_checks::kNewTag;
using effect_checks::kOldTag;
using raster::Bitmap;
using raster::Pixel;
using reference::At;

struct Frame {
  Bitmap start;
  Bitmap image;
  Bitmap screen;
  int X = 0;  // pixels
  int Y = 0;  // pixels
};

// One frame of `style` from the test cards, drawn the way the picture show
// calls a procedure.
Frame Render(int style, int W, int H, int progress) {
  Frame f{Bitmap(W, H), Bitmap(W, H), Bitmap(W, H)};
  effect_checks::PaintOldCard(f.start);
  effect_checks::PaintNewCard(f.image);
  f.screen = f.start;
  raster::SetStretchBltMode(f.screen.Canvas(), raster::COLORONCOLOR);
  const effects::ScaledExtent scaled = effects::ScaledSize(W, H, progress);
  f.X = scaled.X;
  f.Y = scaled.Y;
  const effects::EffectProc proc = effects::EffectRow(style)->Proc;
  if (proc == nullptr) {
    ADD_FAILURE() << "row " << style << " has no procedure";
    return f;
  }
  proc(f.screen, f.image, W, H, f.X, f.Y, progress);
  return f;
}

int Tag(Pixel p) { return raster::PixelByte(p, raster::kFourthByte); }

// Where two frames first differ, or empty.
std::string FirstDifference(const Bitmap& got, const Bitmap& want) {
  for (int y = 0; y < want.Height(); ++y) {
    for (int x = 0; x < want.Width(); ++x) {
      if (At(got, x, y) == At(want, x, y)) continue;
      std::ostringstream out;
      out << "pixel (" << x << ", " << y << ") is " << std::hex << At(got, x, y) << ", expected "
          << At(want, x, y) << (Tag(At(want, x, y)) == kOldTag ? " (start frame)" : " (new picture)");
      return out.str();
    }
  }
  return {};
}

TEST(BlockMoves, FramesEqualTheReferenceAtEveryProgress) {
  struct Case {
    int W, H;
    std::vector<int> progress;
  };
  std::vector<int> all;
  for (int p = 1; p <= 99; ++p) all.push_back(p);
  const std::vector<int> some = {1, 3, 5, 10, 33, 50, 67, 85, 90, 95, 98, 99};
  // Small odd sizes, one just under and one at the build-up strip's 10 pixels,
  // a square, a tall picture (its height is scaled first) and two of the size
  // the worked examples use.
  const std::vector<Case> cases = {{1, 1, all},   {2, 3, all},     {7, 5, all},     {9, 12, all},
                                   {10, 10, all}, {13, 11, all},   {37, 23, all},   {9, 41, all},
                                   {64, 64, all}, {200, 100, some}, {100, 200, some}};
  int mismatches = 0;
  for (int style = 1; style <= 59; ++style) {
    for (const Case& c : cases) {
      for (const int progress : c.progress) {
        const Frame f = Render(style, c.W, c.H, progress);
        const Bitmap want = block_reference::Frame(style, f.start, f.image, c.W, c.H, f.X, f.Y);
        const std::string difference = FirstDifference(f.screen, want);
        if (difference.empty()) continue;
        if (++mismatches <= 20) {
          ADD_FAILURE() << "row " << style << " \"" << effects::EffectRow(style)->Name << "\", "
                        << c.W << "x" << c.H << " at progress " << progress << " (X " << f.X
                        << ", Y " << f.Y << "): " << difference;
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// --- The worked examples and edge cases, stated as what a pixel shows:
// the new picture's pixel at a given place, or the start frame.

using PixelRule = std::function<bool(const Frame&, int x, int y)>;

bool ShowsNew(const Frame& f, int x, int y, int sx, int sy) {
  return At(f.screen, x, y) == At(f.image, sx, sy);
}
bool ShowsStart(const Frame& f, int x, int y) { return At(f.screen, x, y) == At(f.start, x, y); }
bool ShowsNewTag(const Frame& f, int x, int y) { return Tag(At(f.screen, x, y)) == kNewTag; }

int CountPixels(const Frame& f, const PixelRule& holds) {
  int count = 0;
  for (int y = 0; y < f.screen.Height(); ++y)
    for (int x = 0; x < f.screen.Width(); ++x) count += holds(f, x, y) ? 1 : 0;
  return count;
}

struct Size {
  int W, H;  // pixels
};

struct Example {
  const char* what;
  int style, W, H, progress;
  PixelRule rule;  // must hold for every pixel of the frame
};

TEST(BlockMoves, WorkedExamplesHoldForEveryPixel) {
  const Example examples[] = {
      {"row 51: the 100x50 centre stretched fourfold to 400x200 at (-100, -50)", 51, 200, 100, 50,
       [](const Frame& f, int x, int y) { return ShowsNew(f, x, y, 50 + (x + 100) / 4, 25 + (y + 50) / 4); }},
      {"row 3 at X = 1: the leftmost column of the new picture at the right edge", 3, 100, 50, 1,
       [](const Frame& f, int x, int y) { return x == 99 ? ShowsNew(f, x, y, 0, y) : ShowsStart(f, x, y); }},
      {"row 4 at X = 1: the rightmost column at the left edge", 4, 100, 50, 1,
       [](const Frame& f, int x, int y) { return x == 0 ? ShowsNew(f, x, y, 99, y) : ShowsStart(f, x, y); }},
      {"row 5 at X = 30: the left 30 columns in place", 5, 100, 50, 30,
       [](const Frame& f, int x, int y) { return x < 30 ? ShowsNew(f, x, y, x, y) : ShowsStart(f, x, y); }},
      {"row 6 at X = 30: as many columns in place from the right", 6, 100, 50, 30,
       [](const Frame& f, int x, int y) { return x >= 70 ? ShowsNew(f, x, y, x, y) : ShowsStart(f, x, y); }},
      {"row 52, 100x100 at 50: the whole picture in the 50x50 block at (25, 25)", 52, 100, 100, 50,
       [](const Frame& f, int x, int y) {
         const bool inside = x >= 25 && x < 75 && y >= 25 && y < 75;
         return inside ? ShowsNewTag(f, x, y) : ShowsStart(f, x, y);
       }},
      {"row 54 at 50: the start frame stays in the central rectangle (50, 25)-(150, 75)", 54, 200, 100, 50,
       [](const Frame& f, int x, int y) {
         const bool hole = x >= 50 && x < 150 && y >= 25 && y < 75;
         return hole ? ShowsStart(f, x, y) : ShowsNew(f, x, y, x, y);
       }},
      {"row 14 at X = 10: a roll exactly 10 wide, columns 10..19 from 29 down to 20", 14, 200, 100, 5,
       [](const Frame& f, int x, int y) {
         if (x < 10) return ShowsNew(f, x, y, x, y);
         if (x < 20) return ShowsNewTag(f, x, y);  // shaded; the rolls are compared below
         return ShowsStart(f, x, y);
       }},
      {"row 14 at X = 190: R = 5, the roll covers columns 190..194", 14, 200, 100, 95,
       [](const Frame& f, int x, int y) {
         if (x < 190) return ShowsNew(f, x, y, x, y);
         if (x < 195) return ShowsNewTag(f, x, y);
         return ShowsStart(f, x, y);
       }},
      {"row 58 at 50: the tip at x = 200 at mid-height; top and bottom rows only where the curve begins, near x = 0", 58, 200, 100, 50,
       [](const Frame& f, int x, int y) {
         if (y == 50) return ShowsNew(f, x, y, x, y);
         if ((y == 0 || y == 99) && x >= 50) return ShowsStart(f, x, y);
         if ((y == 0 || y == 99) && x == 0) return ShowsNew(f, x, y, x, y);
         return true;
       }},
      {"row 59 at 50: the same from the right", 59, 200, 100, 50,
       [](const Frame& f, int x, int y) {
         if (y == 50) return ShowsNew(f, x, y, x, y);
         if ((y == 0 || y == 99) && x < 150) return ShowsStart(f, x, y);
         if ((y == 0 || y == 99) && x == 199) return ShowsNew(f, x, y, x, y);
         return true;
       }},
  };
  for (const Example& e : examples) {
    const Frame f = Render(e.style, e.W, e.H, e.progress);
    int bad = 0;
    for (int y = 0; y < e.H; ++y) {
      for (int x = 0; x < e.W; ++x) {
        if (!e.rule(f, x, y) && ++bad == 1) ADD_FAILURE() << e.what << ": pixel (" << x << ", " << y << ")";
      }
    }
  }
}

// Rolls, as their examples give them: which part is revealed in place, which
// columns (rows) form the roll and which source column (row) each shows.
TEST(BlockMoves, RollsShowTheMirroredStripTheyAreDefinedWith) {
  struct Roll {
    const char* what;
    int style, W, H, progress;
    int revealedFrom, revealedTo;  // along the moving axis, pixels
    int rollFirst, rollLast;
    int mirrorSum;  // the roll's column (row) c shows source mirrorSum - c
  };
  const Roll rolls[] = {
      {"row 14 at 50: columns 100..119 show 139 down to 120", 14, 200, 100, 50, 0, 100, 100, 119, 239},
      {"row 14 at X = 10: the roll is X wide", 14, 200, 100, 5, 0, 10, 10, 19, 39},
      {"row 14 at X = 190: R = (W - X) div 2 = 5", 14, 200, 100, 95, 0, 190, 190, 194, 389},
      {"row 15 at 50: the outer edge 99 shows 59, the inner edge 80 shows 78", 15, 200, 100, 50, 100, 200, 80,
       99, 158},
      {"row 15 at X = 170: the strip starts at column -1, so column 29 keeps the start frame", 15, 200, 100,
       85, 30, 200, 15, 29, 28},
      {"row 31 at 50: rows 100..119 show 139 down to 120", 31, 100, 200, 50, 0, 100, 100, 119, 239},
      {"row 32 at Y = 170: the strip starts at row -1, so row 29 keeps the start frame", 32, 100, 200, 85,
       30, 200, 15, 29, 28},
  };
  for (const Roll& r : rolls) {
    const Frame f = Render(r.style, r.W, r.H, r.progress);
    const bool vertical = r.style == 31 || r.style == 32;
    Bitmap want = f.start;
    for (int y = 0; y < r.H; ++y) {
      for (int x = 0; x < r.W; ++x) {
        const int along = vertical ? y : x;
        if (along >= r.revealedFrom && along < r.revealedTo) reference::Set(want, x, y, At(f.image, x, y));
        if (along < r.rollFirst || along > r.rollLast) continue;
        const int source = r.mirrorSum - along;
        if (source < 0) continue;  // left of (above) the picture: nothing to copy
        reference::Set(want, x, y, vertical ? At(f.image, x, source) : At(f.image, source, y));
      }
    }
    const int rollWidth = r.rollLast - r.rollFirst + 1;
    if (vertical) {
      raster::ShadeRows(want, 64, r.rollFirst, rollWidth);
    } else {
      raster::ShadeColumns(want, 64, r.rollFirst, rollWidth);
    }
    EXPECT_EQ(FirstDifference(f.screen, want), "") << r.what;
  }
}

// With X = Y = 0 (progress 1 on a picture under 50 pixels) nothing is drawn,
// except by the build-ups, which cover the frame with the stretched strip from
// the first frame on, as long as their strip is not 0 wide.
TEST(BlockMoves, FirstFrameOfASmallPictureIsTheStartFrameButForTheBuildUps) {
  for (const Size s : {Size{37, 23}, Size{9, 41}}) {
    for (int style = 1; style <= 59; ++style) {
      const Frame f = Render(style, s.W, s.H, 1);
      ASSERT_EQ(f.X, 0);
      ASSERT_EQ(f.Y, 0);
      const bool buildUp = style == 16 || style == 17 || style == 33 || style == 34;
      const bool emptyStrip = (style == 16 || style == 17) && s.W < 10;
      const int expected = buildUp && !emptyStrip ? 0 : s.W * s.H;
      EXPECT_EQ(CountPixels(f, ShowsStart), expected) << "row " << style << ", " << s.W << "x" << s.H
                                 << ": pixels showing the start frame";
    }
  }
}

// Under 10 pixels the build-up strip is 0 wide: only the revealed part changes.
TEST(BlockMoves, BuildUpsOfNarrowPicturesChangeOnlyTheRevealedPart) {
  struct BuildUp {
    int style, W, H;
    bool vertical, fromStart;  // the revealed part grows from the left (top)
  };
  const BuildUp rows[] = {{16, 9, 12, false, true}, {17, 9, 12, false, false},
                          {33, 12, 9, true, true},  {34, 12, 9, true, false}};
  for (const BuildUp& b : rows) {
    for (int progress = 1; progress <= 99; ++progress) {
      const Frame f = Render(b.style, b.W, b.H, progress);
      const int extent = b.vertical ? b.H : b.W;
      const int revealed = b.vertical ? f.Y : f.X;
      Bitmap want = f.start;
      for (int y = 0; y < b.H; ++y) {
        for (int x = 0; x < b.W; ++x) {
          const int along = b.vertical ? y : x;
          const bool shown = b.fromStart ? along < revealed : along >= extent - revealed;
          if (shown) reference::Set(want, x, y, At(f.image, x, y));
        }
      }
      EXPECT_EQ(FirstDifference(f.screen, want), "") << "row " << b.style << " at progress " << progress;
    }
  }
}

// X and Y are halved with truncation, so the two halves (the four quarters)
// leave a column or row of the start frame between them until frame 100.
TEST(BlockMoves, HalvedRowsLeaveAGapUntilTheEnd) {
  struct Gap {
    int style;
    bool column50, row50;  // the start frame stays in column 50, row 50
  };
  const Gap gaps[] = {{12, true, false}, {13, true, false}, {29, false, true},
                      {30, false, true}, {55, true, true},  {56, true, true}};
  for (const Gap& g : gaps) {
    const Frame f = Render(g.style, 101, 101, 99);
    ASSERT_EQ(f.X, 100);
    ASSERT_EQ(f.Y, 100);
    const int wrong = CountPixels(f, [&](const Frame& frame, int x, int y) {
      const bool gap = (g.column50 && x == 50) || (g.row50 && y == 50);
      return !(gap ? ShowsStart(frame, x, y) : ShowsNewTag(frame, x, y));
    });
    EXPECT_EQ(wrong, 0) << "row " << g.style;
  }
}

// Rows 33 and 34 carry the names of rows 18 and 25 but are the build-ups
// along y: the name finds rows 18 and 25, the frames differ, and rows 33 and
// 34 hide the start frame from the first frame on.
TEST(BlockMoves, RowsSharingANameDrawDifferently) {
  const std::pair<int, int> pairs[] = {{18, 33}, {25, 34}};
  for (const auto& [first, second] : pairs) {
    ASSERT_EQ(effects::EffectRow(first)->Name, effects::EffectRow(second)->Name);
    EXPECT_EQ(effects::FindEffectStyle(effects::EffectRow(second)->Name), first);
    for (int progress = 1; progress <= 99; ++progress) {
      const Frame a = Render(first, 37, 23, progress);
      const Frame b = Render(second, 37, 23, progress);
      if (b.Y == 23) continue;  // the whole picture, in both rows
      EXPECT_NE(FirstDifference(a.screen, b.screen), "") << "rows " << first << " and " << second
                                                         << " at progress " << progress;
      EXPECT_EQ(CountPixels(b, ShowsStart), 0) << "row " << second << " at progress " << progress;
    }
  }
}

// Near the end every row shows (almost) only the new picture.
TEST(BlockMoves, AtProgress99TheFrameIsAlmostTheNewPicture) {
  for (const Size s : {Size{200, 100}, Size{100, 200}}) {
    for (int style = 1; style <= 59; ++style) {
      const Frame f = Render(style, s.W, s.H, 99);
      EXPECT_GE(CountPixels(f, ShowsNewTag), s.W * s.H * 97 / 100) << "row " << style << ", " << s.W << "x" << s.H;
    }
  }
}

}  // namespace
