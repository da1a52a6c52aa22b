#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "raster/region.h"

// Rows 60 to 118: the strip and shape reveals. Bars, criss-cross bars and
// uneven shreds; curved, elliptic, diagonal, sweep and starburst reveals; the
// triangular shred.
//
// Every row draws the same way: it builds one region for the frame and shows
// the new picture through it; rows differ only in that region. RowRegion holds
// the rows' regions (tables of parameters in this folder's .cpp files), and
// RevealRow<Row> is the procedure of row Row.
namespace effects::strip_reveals {

inline constexpr int kFirstRow = 60;
inline constexpr int kLastRow = 118;

// The region through which row `row` (kFirstRow .. kLastRow) shows the new
// picture in this frame; no region when the frame keeps the old picture.
// W, H are the pictures' size, X, Y its progress-scaled size (pixels).
std::optional<raster::Region> RowRegion(int row, int W, int H, int X, int Y,
                                        int Progress) noexcept;

template <int Row>
void RevealRow(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int Y,
               int Progress) noexcept {
  RevealRegion(Screen, Image, W, H, RowRegion(Row, W, H, X, Y, Progress));
}

// The procedure of each row, row kFirstRow first.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs =
    []<std::size_t... I>(std::index_sequence<I...>) {
      return std::array<EffectProc, sizeof...(I)>{&RevealRow<kFirstRow + static_cast<int>(I)>...};
    }(std::make_index_sequence<kLastRow - kFirstRow + 1>{});

}  // namespace effects::strip_reveals
