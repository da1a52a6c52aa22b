#pragma once

#include <array>

#include "effects/effect_table.h"
#include "raster/bitmap.h"

// Rows 119 to 149: fade, pivots, speckles, random squares and pushes;
// blinds, rectangular shred, clock sweeps and moving rectangles.
//
// This family's procedures are declared here and defined in .cpp files of this
// folder (every .cpp file here is built into the effects library); a row gets
// its procedure by taking its place in kProcs. Rows that differ only in side,
// corner or direction share one routine driven by the row's parameters.
namespace effects::fades_and_blinds {

using raster::Bitmap;

inline constexpr int kFirstRow = 119;
inline constexpr int kLastRow = 149;

// fade.cpp
void Fade(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y, int Progress) noexcept;

// pivots.cpp
void PivotFromTopLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;
void PivotFromBottomLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                         int Progress) noexcept;
void PivotFromTopRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                       int Progress) noexcept;
void PivotFromBottomRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                          int Progress) noexcept;

// speckles.cpp
void SpeckleAppearFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                            int Progress) noexcept;
void SpeckleAppearFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                           int Progress) noexcept;
void SpeckleAppearFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                             int Progress) noexcept;
void SpeckleAppearFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                          int Progress) noexcept;

// random_squares.cpp
void RandomSquaresAppear(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                         int Progress) noexcept;

// pushes.cpp
void PushRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
               int Progress) noexcept;
void PushLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
              int Progress) noexcept;
void PushAndSqueezeRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                         int Progress) noexcept;
void PushAndSqueezeLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept;
void PushDown(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
              int Progress) noexcept;
void PushUp(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
            int Progress) noexcept;
void PushAndSqueezeDown(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept;
void PushAndSqueezeUp(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;

// blinds.cpp
void BlindVertically(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                     int Progress) noexcept;
void BlindHorizontally(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                       int Progress) noexcept;
void UnevenBlindFromLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                         int Progress) noexcept;
void UnevenBlindFromRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                          int Progress) noexcept;
void UnevenBlindFromTop(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept;
void UnevenBlindFromBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                           int Progress) noexcept;
void RectanglesFromLeftToRight(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                               int Progress) noexcept;
void RectanglesFromRightToLeft(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                               int Progress) noexcept;
void RectanglesFromUpToBottom(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                              int Progress) noexcept;
void RectanglesFromBottomToUp(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                              int Progress) noexcept;

// rectangular_shred.cpp
void RectangularShred(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                      int Progress) noexcept;

// sweeps.cpp
void SweepClockwise(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                    int Progress) noexcept;
void SweepAnticlockwise(Bitmap& Screen, const Bitmap& Image, int W, int H, int X, int Y,
                        int Progress) noexcept;

// The procedure of each row, row kFirstRow first.
inline constexpr std::array<EffectProc, kLastRow - kFirstRow + 1> kProcs{
    Fade,                       // 119
    PivotFromTopLeft,           // 120
    PivotFromBottomLeft,        // 121
    PivotFromTopRight,          // 122
    PivotFromBottomRight,       // 123
    SpeckleAppearFromRight,     // 124
    SpeckleAppearFromLeft,      // 125
    SpeckleAppearFromBottom,    // 126
    SpeckleAppearFromTop,       // 127
    RandomSquaresAppear,        // 128
    PushRight,                  // 129
    PushLeft,                   // 130
    PushAndSqueezeRight,        // 131
    PushAndSqueezeLeft,         // 132
    PushDown,                   // 133
    PushUp,                     // 134
    PushAndSqueezeDown,         // 135
    PushAndSqueezeUp,           // 136
    BlindVertically,            // 137
    BlindHorizontally,          // 138
    UnevenBlindFromLeft,        // 139
    UnevenBlindFromRight,       // 140
    UnevenBlindFromTop,         // 141
    UnevenBlindFromBottom,      // 142
    RectangularShred,           // 143
    SweepClockwise,             // 144
    SweepAnticlockwise,         // 145
    RectanglesFromLeftToRight,  // 146
    RectanglesFromRightToLeft,  // 147
    RectanglesFromUpToBottom,   // 148
    RectanglesFromBottomToUp,   // 149
};

}  // namespace effects::fades_and_blinds
