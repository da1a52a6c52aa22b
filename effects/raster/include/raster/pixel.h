#pragma once

#include <cstdint>

namespace raster {

// One pixel: in memory the bytes blue, green, red and a fourth byte that the
// pixel routines neither read nor change; whole-pixel copies carry it along.
using Pixel = std::uint32_t;

inline constexpr int kBlueByte = 0;
inline constexpr int kGreenByte = 1;
inline constexpr int kRedByte = 2;
inline constexpr int kFourthByte = 3;

// The pixel whose bytes in memory are blue, green, red, fourth, on any byte
// order.
Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                std::uint8_t fourth = 0) noexcept;
std::uint8_t PixelByte(Pixel pixel, int byteIndex) noexcept;

}  // namespace raster
