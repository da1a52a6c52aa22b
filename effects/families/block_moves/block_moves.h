#pragma once

#include <array>

#include "effects/effect_table.h"

// Rows 1 to 59: the block effects. Expand, slide in and reveal from the sides,
// corners and middle; two-sided, unroll, build-up, centre and quarter moves;
// the curved reveals from the left and the right.
//
// This family's procedures are declared here and defined in .cpp files of this
// folder (every .cpp file here is built into the effects library); a row gets
// its procedure by taking its place in kProcs.
namespace effects::block_moves {

inline constexpr int kFirstRow = 1;
inline constexpr int kLastRow = 59;

// The procedure of each row, row kFirstRow first; nullptr while it is not built.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{};

}  // namespace effects::block_moves
