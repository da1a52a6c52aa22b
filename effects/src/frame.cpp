#include "effects/frame.h"

#include "effects/effect_helpers.h"
#include "effects/effect_table.h"
#include "raster/canvas.h"

namespace effects {

FrameContent DrawEffectFrame(int style, raster::Bitmap& Screen, const raster::Bitmap& Image,
                             int Progress) noexcept {
  if (const Effect* row = EffectRow(style)) return DrawEffectFrame(*row, Screen, Image, Progress);
  // A style outside the table has nothing to draw in between.
  return DrawEffectFrame(Effect{"", nullptr}, Screen, Image, Progress <= 0 ? 0 : 100);
}

FrameContent DrawEffectFrame(const Effect& row, raster::Bitmap& Screen, const raster::Bitmap& Image,
                             int Progress) noexcept {
  const int w = Image.Width();
  const int h = Image.Height();
  if (Screen.Width() != w || Screen.Height() != h) return FrameContent::StartFrame;
  if (Progress <= 0) return FrameContent::StartFrame;
  raster::Canvas& canvas = Screen.Canvas();
  if (Progress >= 100 || row.Proc == nullptr) {
    raster::BitBlt(canvas, 0, 0, w, h, Image, 0, 0, raster::SRCCOPY);
    return FrameContent::NewPicture;
  }
  raster::SetStretchBltMode(canvas, raster::COLORONCOLOR);
  raster::SelectClipRgn(canvas, nullptr);
  const ScaledExtent scaled = ScaledSize(w, h, Progress);
  row.Proc(Screen, Image, w, h, scaled.X, scaled.Y, Progress);
  // A procedure must leave no clip region; a later frame must not depend on
  // every one of them getting that right.
  raster::SelectClipRgn(canvas, nullptr);
  return FrameContent::Effect;
}

}  // namespace effects
