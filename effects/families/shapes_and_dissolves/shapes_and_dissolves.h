#pragma once

#include <array>

#include "effects/effect_table.h"

// Rows 150 to 176: turning shapes, circular shred and polygon figures;
// pixelate, dissolve, random bars, channel mix and slide out.
//
// This family's procedures are declared here and defined in .cpp files of this
// folder (every .cpp file here is built into the effects library); a row gets
// its procedure by taking its place in kProcs.
namespace effects::shapes_and_dissolves {

inline constexpr int kFirstRow = 150;
inline constexpr int kLastRow = 176;

// The procedure of each row, row kFirstRow first; nullptr while it is not built.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{};

}  // namespace effects::shapes_and_dissolves
