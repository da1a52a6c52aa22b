#pragma once

#include <optional>
#include <span>

#include "raster/region.h"

// Builders of the regions the strip, pie and polygon effects reveal through.
// XPos and YPos are the advancing fronts, measured from the side the strips
// come from; HorzKind shapes the strips that run across the rows (grown along
// x by XPos), VertKind those that run down the columns (grown along y by
// YPos); kind 0 adds nothing. The strip builders give no region when they
// added no rectangle.
namespace raster {

// Bars min(W, H) / 50 + 1 thick. Kinds 1, 2, 4 and 5 fill the even bars over a
// front of 0 .. W and the odd ones over W .. 2W: 1 from the right both times,
// 2 from the left, 4 left then right, 5 right then left; kind 3 fills even
// bars from the right and odd bars from the left at once over 0 .. W.
std::optional<Region> CreateBarsRegion(int XPos, int YPos, int W, int H, int HorzKind,
                                       int VertKind) noexcept;
// Strips min(W, H) / 200 + 1 thick whose lengths scatter randomly (shared
// generator, one draw per strip) around the front: kind 1 from the right
// (bottom), 2 from the left (top), 3 out from the middle, other kinds in from
// both sides.
std::optional<Region> CreateShredRegion(int XPos, int YPos, int W, int H, int HorzKind,
                                        int VertKind) noexcept;
// A solid area behind the front and random square specks ahead of it, denser
// near the front: kind 1 from the right (bottom), other kinds from the left
// (top).
std::optional<Region> CreateSpeckleRegion(int XPos, int YPos, int W, int H, int HorzKind,
                                          int VertKind) noexcept;
// The polygon of the centre and Steps points of the circle, from StartAngle
// in steps of (EndAngle - StartAngle) / Steps (the last at EndAngle minus one
// step), winding fill. Steps of 0 or less give an empty region.
Region CreatePieRegion(int CX, int CY, int Radius, double StartAngle, double EndAngle,
                       int Steps) noexcept;
// The polygon (Coords[0], Coords[1]), (Coords[2], Coords[3]), ..., winding fill.
Region CreatePolygonRegion(std::span<const int> Coords) noexcept;

}  // namespace raster
