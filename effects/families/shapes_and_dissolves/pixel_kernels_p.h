#pragma once

#include <array>
#include <cstdint>

#include "raster/pixel.h"
#include "seed_steps_p.h"

// The loops of this family that touch every pixel of a row. Each has a plain
// version, which is the definition, and a fast one (SSE2 where the compiler
// offers it, the plain one otherwise) that gives the same bytes.
namespace effects::shapes_and_dissolves {

// Copies image[i] into frame[i] where the i-th draw after `seed` is below
// `threshold` (see DrawThreshold): the seed of draw i is
// lanes.Ahead[0] applied i + 1 times to `seed`.
void DissolveRunPlain(raster::Pixel* frame, const raster::Pixel* image, int count,
                      std::uint32_t seed, const SeedLanes& lanes, std::uint32_t threshold) noexcept;
void DissolveRun(raster::Pixel* frame, const raster::Pixel* image, int count, std::uint32_t seed,
                 const SeedLanes& lanes, std::uint32_t threshold) noexcept;

// The blend step per byte: byte b of every pixel moves toward the image's
// byte by weights[b] / 256 (0 .. 256), frame := frame + floor((image - frame)
// * weight / 256); weight 256 takes the image's byte, 0 keeps the frame's.
// weights are indexed by the byte's place in memory (kBlueByte, ...).
void BlendChannelsPlain(std::uint8_t* frame, const std::uint8_t* image, int pixels,
                        const std::array<int, 4>& weights) noexcept;
void BlendChannels(std::uint8_t* frame, const std::uint8_t* image, int pixels,
                   const std::array<int, 4>& weights) noexcept;

// frame[i] := image[i] where masks[i] has every bit set, else unchanged
// (masks hold only 0 and ~0).
void CopyMaskedPixelsPlain(raster::Pixel* frame, const raster::Pixel* image,
                           const raster::Pixel* masks, int count) noexcept;
void CopyMaskedPixels(raster::Pixel* frame, const raster::Pixel* image, const raster::Pixel* masks,
                      int count) noexcept;

}  // namespace effects::shapes_and_dissolves
