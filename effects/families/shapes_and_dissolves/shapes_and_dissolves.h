#pragma once

#include <array>

#include "effects/effect_table.h"
#include "raster/bitmap.h"

// Rows 150 to 176: turning shapes, circular shred and polygon figures;
// pixelate, dissolve, random bars, channel mix and slide out.
//
// This family's procedures are declared here and defined in .cpp files of this
// folder (every .cpp file here is built into the effects library); a row gets
// its procedure by taking its place in kProcs. Rows that differ only in side,
// axis or direction share one routine driven by the row's parameters.
namespace effects::shapes_and_dissolves {

using raster::Bitmap;

inline constexpr int kFirstRow = 150;
inline constexpr int kLastRow = 176;

// turning_shapes.cpp
void RotationalRectangleInCenter(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                                 int Progress) noexcept;
void RotationalStarInCenter(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                            int Progress) noexcept;
void SpiralRectangle(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int Progress) noexcept;

// cell_shreds.cpp
void CircularShred(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                   int Progress) noexcept;
void DiamondShred(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                  int Progress) noexcept;

// wedge_figures.cpp
void RevealVFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int Progress) noexcept;
void RevealVFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;
void RevealVFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;
void RevealVFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                       int Progress) noexcept;
void BowTieHorizontal(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;
void BowTieVertical(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;
void DiagonalCrossIn(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int Progress) noexcept;
void DiagonalCrossOut(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;

// zigzags.cpp
void ZigzagHorizontal(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;
void ZigzagVertical(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;

// diamonds.cpp
void RevealDiamondOutFromCentre(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                                int Progress) noexcept;
void RevealDiamondInToCentre(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                             int Progress) noexcept;
void DiagonalBoxOut(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;

// pixelate.cpp
void Pixelate(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
              int Progress) noexcept;

// dissolve.cpp
void Dissolve(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
              int Progress) noexcept;

// random_bars.cpp
void RandomBarsHorizontal(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                          int Progress) noexcept;
void RandomBarsVertical(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept;

// channel_mix.cpp
void ChannelMix(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                int Progress) noexcept;

// slide_out.cpp
void SlideOutFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                       int Progress) noexcept;
void SlideOutFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;
void SlideOutFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept;
void SlideOutFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int Progress) noexcept;

// The procedure of each row, row kFirstRow first.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{
    RotationalRectangleInCenter,  // 150
    RotationalStarInCenter,       // 151
    SpiralRectangle,              // 152
    CircularShred,                // 153
    RevealVFromLeft,              // 154
    RevealVFromRight,             // 155
    RevealVFromTop,               // 156
    RevealVFromBottom,            // 157
    BowTieHorizontal,             // 158
    BowTieVertical,               // 159
    DiagonalCrossIn,              // 160
    DiagonalCrossOut,             // 161
    ZigzagHorizontal,             // 162
    ZigzagVertical,               // 163
    DiamondShred,                 // 164
    RevealDiamondOutFromCentre,   // 165
    RevealDiamondInToCentre,      // 166
    DiagonalBoxOut,               // 167
    Pixelate,                     // 168
    Dissolve,                     // 169
    RandomBarsHorizontal,         // 170
    RandomBarsVertical,           // 171
    ChannelMix,                   // 172
    SlideOutFromRight,            // 173
    SlideOutFromLeft,             // 174
    SlideOutFromBottom,           // 175
    SlideOutFromTop,              // 176
};

}  // namespace effects::shapes_and_dissolves
