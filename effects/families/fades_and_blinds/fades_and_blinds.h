#pragma once

#include <array>

#include "effects/effect_table.h"

// Rows 119 to 149: fade, pivots, speckles, random squares and pushes;
// blinds, rectangular shred, clock sweeps and moving rectangles.
//
// This family's procedures are declared here and defined in .cpp files of this
// folder (every .cpp file here is built into the effects library); a row gets
// its procedure by taking its place in kProcs.
namespace effects::fades_and_blinds {

inline constexpr int kFirstRow = 119;
inline constexpr int kLastRow = 149;

// The procedure of each row, row kFirstRow first; nullptr while it is not built.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{};

}  // namespace effects::fades_and_blinds
