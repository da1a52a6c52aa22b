#pragma once

#include <array>

#include "effects/effect_table.h"

// Rows 60 to 118: the strip and shape reveals. Bars, criss-cross bars and
// uneven shreds; curved, elliptic, diagonal, sweep and starburst reveals; the
// triangular shred.
//
// This family's procedures are declared here and defined in .cpp files of this
// folder (every .cpp file here is built into the effects library); a row gets
// its procedure by taking its place in kProcs.
namespace effects::strip_reveals {

inline constexpr int kFirstRow = 60;
inline constexpr int kLastRow = 118;

// The procedure of each row, row kFirstRow first; nullptr while it is not built.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{};

}  // namespace effects::strip_reveals
