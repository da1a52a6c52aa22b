#pragma once

#include <cstdint>
#include <span>

#include "raster/bitmap.h"
#include "raster/geometry.h"

// Routines that change colour bytes directly. They touch blue, green and red
// only; the fourth byte of every pixel stays as it was. Parts of a band or
// rectangle outside the bitmap are skipped.
namespace raster {

// Darkens the columns X .. X + Count - 1 of every row with a profile that is
// darkest at both edges of the band and lightest in its middle (the shading
// of a rolled-up strip). Nothing happens for Count < 2 or Amount 0.
void ShadeColumns(Bitmap& bitmap, std::uint8_t Amount, int X, int Count) noexcept;
// The same for the image rows Y .. Y + Count - 1, with the profile walked from
// the bottom row of the band up.
void ShadeRows(Bitmap& bitmap, std::uint8_t Amount, int Y, int Count) noexcept;
// Moves each colour byte d of the rectangle of Dest toward the byte s at the
// same place in Src: d := d + floor((s - d) * F / 256) with
// F = MulDiv(256, Percent, 100); Percent is taken within 0 .. 100, so the
// result always lies between d and s. Only the part inside both bitmaps is
// blended.
void BlendRect(Bitmap& Dest, const Bitmap& Src, int Percent, int Left, int Top, int Width,
               int Height) noexcept;
// Fills Dest with Src turned by Angle (radians) about (CX, CY), where rows
// are counted upward from the bottom row; Dest pixels that no Src pixel
// reaches keep what they had.
void RotateImage(Bitmap& Dest, const Bitmap& Src, int CX, int CY, double Angle) noexcept;
// Turns every point about (CX, CY) by Angle (radians), rounding to whole
// pixels; with y growing downward a positive angle turns clockwise.
void RotatePoints(std::span<Point> Points, int CX, int CY, double Angle) noexcept;

}  // namespace raster
