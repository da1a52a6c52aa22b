#include "effects/effect_helpers.h"

#include <utility>

#include "raster/canvas.h"
#include "raster/numeric.h"

namespace effects {

ScaledExtent ScaledSize(int W, int H, int Progress) noexcept {
  if (W <= 0 || H <= 0) return {0, 0};
  if (H > W) {
    const int y = raster::MulDiv(H, Progress, 100);
    return {raster::MulDiv(y, W, H), y};
  }
  const int x = raster::MulDiv(W, Progress, 100);
  return {x, raster::MulDiv(x, H, W)};
}

namespace {

// Removes the clip region however the copy ends.
class ClipReset {
 public:
  explicit ClipReset(raster::Canvas& canvas) noexcept : m_canvas(canvas) {}
  ~ClipReset() { raster::SelectClipRgn(m_canvas, nullptr); }
  ClipReset(const ClipReset&) = delete;
  ClipReset& operator=(const ClipReset&) = delete;

 private:
  raster::Canvas& m_canvas;
};

}  // namespace

void RevealRegion(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H,
                  raster::Region R) noexcept {
  raster::Canvas& canvas = Screen.Canvas();
  const ClipReset reset(canvas);
  raster::SelectClipRgn(canvas, R);
  raster::BitBlt(canvas, 0, 0, W, H, Image, 0, 0, raster::SRCCOPY);
}

void RevealRegion(raster::Bitmap& Screen, const raster::Bitmap& Image, int W, int H,
                  std::optional<raster::Region> R) noexcept {
  if (!R.has_value()) return;
  RevealRegion(Screen, Image, W, H, std::move(*R));
}

std::uint32_t PictureSeed(const raster::Bitmap& Image) noexcept { return Image.Handle(); }

}  // namespace effects
