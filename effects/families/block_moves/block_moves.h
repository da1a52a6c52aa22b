#pragma once

#include <array>

#include "effects/effect_table.h"
#include "raster/bitmap.h"

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

// --- Rows that are nothing but a fixed list of block copies and stretches of
// Image onto Screen (block_lists.cpp holds the list of every such row): the
// expand, slide and reveal rows, the two-sided rows 12, 13, 29, 30 and the
// quarters 55 to 57. Draws nothing for a row without a list.
void MoveBlocks(int row, raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                int Y) noexcept;

// The procedure of such a row.
template <int Row>
void BlockListRow(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int Y,
                  int /*Progress*/) noexcept {
  MoveBlocks(Row, Screen, Image, W, H, X, Y);
}

// --- Unroll: the revealed part with a mirrored, shaded roll at its edge.
void UnrollFromLeft(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;
void UnrollFromRight(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                     int Y, int Progress) noexcept;
void UnrollFromTop(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int Y,
                   int Progress) noexcept;
void UnrollFromBottom(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                      int Y, int Progress) noexcept;

// --- Build-up: the revealed part in place, the rest covered by the next
// strip of the new picture stretched over it. Rows 33 and 34 are the build-ups
// along y, although the table shows them under the names of rows 18 and 25.
void BuildUpFromRight(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                      int Y, int Progress) noexcept;
void BuildUpFromLeft(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                     int Y, int Progress) noexcept;
void BuildUpFromBottom(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                       int Y, int Progress) noexcept;
void BuildUpFromTop(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;

// --- Reveals through a clip area.
void RevealInToCentre(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                      int Y, int Progress) noexcept;
void CurvedRevealFromLeft(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                          int Y, int Progress) noexcept;
void CurvedRevealFromRight(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H, int X,
                           int Y, int Progress) noexcept;

// The procedure of each row, row kFirstRow first.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{
    BlockListRow<1>,        // Expand from right
    BlockListRow<2>,        // Expand from left
    BlockListRow<3>,        // Slide in from right
    BlockListRow<4>,        // Slide in from left
    BlockListRow<5>,        // Reveal from left
    BlockListRow<6>,        // Reveal from right
    BlockListRow<7>,        // Expand in from right
    BlockListRow<8>,        // Expand in from left
    BlockListRow<9>,        // Expand in to middle
    BlockListRow<10>,       // Expand out from middle
    BlockListRow<11>,       // Reveal out from middle
    BlockListRow<12>,       // Reveal in from sides
    BlockListRow<13>,       // Expand in from sides
    UnrollFromLeft,         // 14
    UnrollFromRight,        // 15
    BuildUpFromRight,       // 16
    BuildUpFromLeft,        // 17
    BlockListRow<18>,       // Expand from bottom
    BlockListRow<19>,       // Expand from top
    BlockListRow<20>,       // Slide in from bottom
    BlockListRow<21>,       // Slide in from top
    BlockListRow<22>,       // Reveal from top
    BlockListRow<23>,       // Reveal from bottom
    BlockListRow<24>,       // Expand in from bottom
    BlockListRow<25>,       // Expand in from top
    BlockListRow<26>,       // Expand in to middle (horizontal)
    BlockListRow<27>,       // Expand out from middle (horizontal)
    BlockListRow<28>,       // Reveal from middle (horizontal)
    BlockListRow<29>,       // Slide in from top and bottom
    BlockListRow<30>,       // Expand in from top and bottom
    UnrollFromTop,          // 31
    UnrollFromBottom,       // 32
    BuildUpFromBottom,      // 33, shown as "Expand from bottom"
    BuildUpFromTop,         // 34, shown as "Expand in from top"
    BlockListRow<35>,       // Expand from bottom right
    BlockListRow<36>,       // Expand from top right
    BlockListRow<37>,       // Expand from top left
    BlockListRow<38>,       // Expand from bottom left
    BlockListRow<39>,       // Slide in from bottom right
    BlockListRow<40>,       // Slide in from top right
    BlockListRow<41>,       // Slide in from top left
    BlockListRow<42>,       // Slide in from bottom left
    BlockListRow<43>,       // Reveal from top left
    BlockListRow<44>,       // Reveal from bottom left
    BlockListRow<45>,       // Reveal from bottom right
    BlockListRow<46>,       // Reveal from top right
    BlockListRow<47>,       // Appear and Contract to top left
    BlockListRow<48>,       // Appear and Contract to bottom left
    BlockListRow<49>,       // Appear and Contract to bottom right
    BlockListRow<50>,       // Appear and Contract to top right
    BlockListRow<51>,       // Appear and Contract to middle
    BlockListRow<52>,       // Expand out from centre
    BlockListRow<53>,       // Reveal out from centre
    RevealInToCentre,       // 54
    BlockListRow<55>,       // Quarters Reveal in to middle
    BlockListRow<56>,       // Quarters Expand to middle
    BlockListRow<57>,       // Quarters Slide in to middle
    CurvedRevealFromLeft,   // 58
    CurvedRevealFromRight,  // 59
};

}  // namespace effects::block_moves
