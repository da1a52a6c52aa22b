#pragma once

#include "raster/complex_region.h"

// Bands that run across the whole picture, the building block of the blinds
// and the moving rectangles.
namespace effects::fades_and_blinds {

// Which way a band runs: Columns are full-height bands [from, to) of columns,
// Rows full-width bands [from, to) of rows.
enum class BandsOf { Columns, Rows };

inline void AddBand(raster::ComplexRegion& region, BandsOf bands, int from, int to, int W,
                    int H) noexcept {
  if (bands == BandsOf::Columns) {
    region.AddRect(from, 0, to, H);
  } else {
    region.AddRect(0, from, W, to);
  }
}

// An uneven blind: bands at a pitch of `pitch` pixels, each open over
// MulDiv(pitch, Progress, 100) pixels from its edge on the near side (left or
// top), or, fromFarSide, from its edge on the far side counted from the right
// (bottom) edge. pitch must be positive.
void AddUnevenBlind(raster::ComplexRegion& region, BandsOf bands, bool fromFarSide, int pitch,
                    int Progress, int W, int H) noexcept;

}  // namespace effects::fades_and_blinds
