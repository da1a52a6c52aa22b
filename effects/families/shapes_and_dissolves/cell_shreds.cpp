// Rows 153 and 164: a circle or a diamond grows in every cell of a grid until
// neighbours overlap and cover the picture.

#include <algorithm>
#include <utility>

#include "effects/effect_helpers.h"
#include "figures_p.h"
#include "raster/numeric.h"
#include "raster/region.h"
#include "shapes_and_dissolves.h"

namespace effects::shapes_and_dissolves {

namespace {

// The cell size of both shreds: a tenth of the shorter side.  // pixels
int CellSize(int W, int H) noexcept { return std::min(W, H) / 10 + 1; }

// Unites the piece centred on (i * t, j * t) for every odd i and j whose cell
// starts inside the picture, column by column, and reveals the union.
// `piece` is the shape centred on (0, 0): a shape built around a whole-pixel
// centre covers the same pixels as the one built around (0, 0) and moved
// there, so it is built once.
void RevealCellPieces(Bitmap& Screen, const Bitmap& Image, int W, int H, int t,
                      const raster::Region& piece) noexcept {
  UnitedPieces R;
  for (long long i = 1; i * t - t < W; i += 2) {
    for (long long j = 1; j * t - t < H; j += 2) {
      raster::Region moved = piece;
      raster::OffsetRgn(moved, static_cast<int>(i * t), static_cast<int>(j * t));
      R.Add(std::move(moved));
    }
  }
  RevealRegion(Screen, Image, W, H, R.Take());
}

}  // namespace

// The radius grows to 1.5 t, so that circles on a pitch of 2 t end up
// covering their cells' corners.
void CircularShred(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                   int Progress) noexcept {
  const int t = CellSize(W, H);
  const int r = raster::MulDiv(3 * t, Progress, 200);  // pixels
  RevealCellPieces(Screen, Image, W, H, t, raster::CreateEllipticRgn(-r, -r, r, r));
}

// The half-diagonal grows to 2 t, so that the diamonds end up covering every
// cell.
void DiamondShred(Bitmap& Screen, const Bitmap& Image, int W, int H, int, int,
                  int Progress) noexcept {
  const int t = CellSize(W, H);
  const int r = raster::MulDiv(t, Progress, 50);  // pixels
  RevealCellPieces(Screen, Image, W, H, t, Diamond(-r, -r, r, r, 0, 0));
}

}  // namespace effects::shapes_and_dissolves
