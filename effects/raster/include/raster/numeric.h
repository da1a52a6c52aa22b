#pragma once

namespace raster {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero (also for negative operands). Gives -1 when c is 0 and,
// as the platform routine it stands in for, when the result does not fit in an
// int.
int MulDiv(int a, int b, int c) noexcept;

// Nearest integer, halves to the even neighbour (Round(2.5) == 2,
// Round(-1.5) == -2), whatever the floating-point rounding mode. Values beyond
// the int range give its nearest end; NaN gives 0.
int Round(double value) noexcept;

// Toward zero, with the same saturation as Round.
int Trunc(double value) noexcept;

}  // namespace raster
