#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "raster/bitmap.h"

namespace effects {

// The drawing procedure of one transition effect. It draws into Screen the
// frame for Progress (1 .. 99) of the change to Image; W and H are the size of
// both bitmaps (pixels), X and Y the progress-scaled size (ScaledSize).
//
// What the caller guarantees: Screen holds the start frame (it is copied
// afresh before every call, so a procedure keeps no state between frames);
// Screen has no clip region and its stretch mode is COLORONCOLOR; both
// canvases are locked against other threads. The call may come from the
// user-interface thread or from the timer thread.
//
// What the procedure guarantees: it reads Image and never changes it; when it
// returns, Screen has no clip region; it reports no errors and throws nothing.
// Randomness comes from the shared generator (raster::Random); a procedure
// that must draw the same pattern in every frame of a transition seeds it with
// PictureSeed(Image) through raster::ScopedRandSeed, which puts the seed back.
using EffectProc = void (*)(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H,
                            int X, int Y, int Progress);

// One row of the effect table; every row has a procedure of its own.
struct Effect {
  std::string_view Name;
  EffectProc Proc;
};

inline constexpr int kEffectCount = 176;

// Row N (the style number, 1 .. 176) is EffectTable[N - 1]; style 0, "Custom",
// has no row. Rows 33 and 34 bear the names of rows 18 and 25. Constant, so it
// may be read from any thread.
extern const std::array<Effect, kEffectCount> EffectTable;

// The row of a style number; nullptr outside 1 .. 176.
const Effect* EffectRow(int style) noexcept;

// The first style whose name matches, ignoring ASCII case; rows 33 and 34 are
// therefore never found by name.
std::optional<int> FindEffectStyle(std::string_view name) noexcept;

}  // namespace effects
