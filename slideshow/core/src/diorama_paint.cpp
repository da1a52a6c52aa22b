// Where the frame goes in the client area, and how frame, border and
// background are painted on a raster canvas.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <mutex>
#include <optional>

#include "raster/numeric.h"
#include "slideshow/diorama_core.h"

namespace slideshow {

namespace {

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

void FillWith(raster::Canvas& canvas, const raster::Rect& rect, raster::Pixel color) {
  canvas.SetBrushColor(color);
  canvas.FillRect(rect);
}

// Tiles smaller than this (pixels) are first laid out as a block of whole
// copies, so that a tiny pattern over a large area costs a few hundred copies
// instead of millions; the block has whole tiles, so the pattern is the same.
constexpr int kSmallestTile = 64;

std::optional<raster::Bitmap> TileBlock(const raster::Bitmap& graphic) {
  const int w = graphic.Width();
  const int h = graphic.Height();
  if (w >= kSmallestTile && h >= kSmallestTile) return std::nullopt;
  const int across = (kSmallestTile + w - 1) / w;
  const int down = (kSmallestTile + h - 1) / h;
  raster::Bitmap block(w * across, h * down);
  if (block.Empty()) return std::nullopt;
  for (int y = 0; y < down; ++y) {
    for (int x = 0; x < across; ++x) raster::BitBlt(block.Canvas(), x * w, y * h, w, h, graphic, 0, 0);
  }
  return block;
}

}  // namespace

void DioramaCore::CalculatePicRect() {
  const std::lock_guard lock(m_renderLock);
  const raster::Rect client = ClientRect();
  const std::int64_t frame = m_frameWidth;
  // A huge FrameWidth leaves a negative client area and an empty PicRect;
  // the sums are kept in range so that it stays that way.
  const int CW = ClampToInt(client.Width() - 2 * frame);
  const int CH = ClampToInt(client.Height() - 2 * frame);
  int PW = ClampToInt(m_sourceRect.Width());
  int PH = ClampToInt(m_sourceRect.Height());
  if (m_proportional && PW > 0 && PH > 0 && (m_stretch || PW > CW || PH > CH)) {
    if (static_cast<double>(CH) / PH > static_cast<double>(CW) / PW) {
      PH = raster::MulDiv(PH, CW, PW);
      PW = CW;
    } else {
      PW = raster::MulDiv(PW, CH, PH);
      PH = CH;
    }
  } else if (m_stretch) {
    PW = CW;
    PH = CH;
  }
  // Integer division truncates toward zero, so a picture larger than the
  // client area is centred by a negative offset.
  const std::int64_t left = frame + (m_center ? (std::int64_t{CW} - PW) / 2 : 0);
  const std::int64_t top = frame + (m_center ? (std::int64_t{CH} - PH) / 2 : 0);
  m_picRect = {ClampToInt(left), ClampToInt(top), ClampToInt(left + PW), ClampToInt(top + PH)};
  if (m_overBackground && m_oldImage) BuildBackgroundFrame();
}

void DioramaCore::BuildBackgroundFrame() {
  const std::lock_guard lock(m_renderLock);
  if (!m_oldImage) return;
  const raster::Rect pic = m_picRect;
  if (!pic.IsEmpty()) {
    // The background that lies under PicRect, drawn as if the bitmap were
    // the client area seen through PicRect: straight into the start frame
    // at the picture's own size, else at PicRect's size and stretched.
    const bool ownSize = pic.Width() == m_sourceRect.Width() && pic.Height() == m_sourceRect.Height();
    raster::Bitmap under(ownSize ? 0 : ClampToInt(pic.Width()), ownSize ? 0 : ClampToInt(pic.Height()));
    raster::Canvas& canvas = ownSize ? m_oldImage->Canvas() : under.Canvas();
    const raster::CanvasLock oldLock(m_oldImage->Canvas());
    raster::SetViewportOrgEx(canvas, -pic.Left, -pic.Top);
    DrawBackground(canvas, ClientRect());
    raster::SetViewportOrgEx(canvas, 0, 0);
    if (!ownSize) {
      raster::SetStretchBltMode(m_oldImage->Canvas(), raster::COLORONCOLOR);
      raster::StretchBlt(m_oldImage->Canvas(), 0, 0, ClampToInt(m_sourceRect.Width()),
                         ClampToInt(m_sourceRect.Height()), under, 0, 0, under.Width(), under.Height());
    }
  }
  // The canvas lock is let go first: UpdateFrame takes the canvas locks in
  // their order (NewImage, Screen, OldImage).
  if (m_busy.load() && m_manual.load() && !m_stopping.load()) UpdateFrame();
}

void DioramaCore::DrawBackground(raster::Canvas& Canvas, const raster::Rect& Rect) {
  if (!raster::RectVisible(Canvas, Rect)) return;
  const raster::Bitmap* graphic = BackgroundGraphic();
  const BackgroundMode mode = graphic != nullptr ? m_bgMode : BackgroundMode::bmNone;
  switch (mode) {
    case BackgroundMode::bmTiled:
      TileDraw(Canvas, Rect, *graphic);
      return;
    case BackgroundMode::bmStretched:
      raster::StretchBlt(Canvas, Rect.Left, Rect.Top, ClampToInt(Rect.Width()), ClampToInt(Rect.Height()),
                         *graphic, 0, 0, graphic->Width(), graphic->Height());
      return;
    case BackgroundMode::bmCentered: {
      // Measured from the canvas origin, where every caller's Rect begins.
      const int left = ClampToInt((Rect.Width() - graphic->Width()) / 2);
      const int top = ClampToInt((Rect.Height() - graphic->Height()) / 2);
      raster::BitBlt(Canvas, left, top, graphic->Width(), graphic->Height(), *graphic, 0, 0);
      const int saved = raster::SaveDC(Canvas);
      raster::ExcludeClipRect(Canvas, left, top, ClampToInt(std::int64_t{left} + graphic->Width()),
                              ClampToInt(std::int64_t{top} + graphic->Height()));
      FillWith(Canvas, Rect, m_color);
      raster::RestoreDC(Canvas, saved);
      return;
    }
    case BackgroundMode::bmNone:
      FillWith(Canvas, Rect, m_color);
      return;
  }
}

void DioramaCore::TileDraw(raster::Canvas& Canvas, const raster::Rect& Rect, const raster::Bitmap& Graphic) {
  if (Graphic.Empty()) return;
  const std::optional<raster::Bitmap> block = TileBlock(Graphic);
  const raster::Bitmap& tile = block ? *block : Graphic;
  const int tileWidth = tile.Width();
  const int tileHeight = tile.Height();
  const int saved = raster::SaveDC(Canvas);
  raster::IntersectClipRect(Canvas, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  raster::Rect box;
  raster::GetClipBox(Canvas, &box);
  if (!box.IsEmpty()) {
    // Tiles are anchored at Rect's top-left corner.
    box.Left -= (box.Left - Rect.Left) % tileWidth;
    box.Top -= (box.Top - Rect.Top) % tileHeight;
    for (std::int64_t y = box.Top; y < box.Bottom; y += tileHeight) {
      for (std::int64_t x = box.Left; x < box.Right; x += tileWidth) {
        const raster::Rect cell{int(x), int(y), ClampToInt(x + tileWidth), ClampToInt(y + tileHeight)};
        if (raster::RectVisible(Canvas, cell)) {
          raster::BitBlt(Canvas, cell.Left, cell.Top, tileWidth, tileHeight, tile, 0, 0);
        }
      }
    }
  }
  raster::RestoreDC(Canvas, saved);
}

void DioramaCore::StretchScreen(raster::Canvas& Canvas, int x, int y, int width, int height) {
  const std::lock_guard lock(m_renderLock);
  const raster::CanvasLock screenLock(m_screen.Canvas());
  raster::SetStretchBltMode(Canvas, raster::COLORONCOLOR);
  raster::StretchBlt(Canvas, x, y, width, height, m_screen, m_sourceRect.Left, m_sourceRect.Top,
                     ClampToInt(m_sourceRect.Width()), ClampToInt(m_sourceRect.Height()));
}

void DioramaCore::PaintContent(raster::Canvas& Canvas) {
  const std::lock_guard lock(m_renderLock);
  const raster::Rect client = ClientRect();
  if (m_screen.Empty()) {
    DrawBackground(Canvas, client);
    return;
  }
  const raster::Rect pic = m_picRect;
  if (raster::RectVisible(Canvas, pic)) {
    StretchScreen(Canvas, pic.Left, pic.Top, ClampToInt(pic.Width()), ClampToInt(pic.Height()));
  }
  raster::Rect framed = pic;
  if (m_frameWidth != 0) {
    const std::int64_t width = m_frameWidth;
    framed = {ClampToInt(pic.Left - width), ClampToInt(pic.Top - width), ClampToInt(pic.Right + width),
              ClampToInt(pic.Bottom + width)};
    if (raster::RectVisible(Canvas, framed)) {
      // The pen lies inside the outline, so it fills the band around PicRect.
      Canvas.SetPenColor(m_frameColor);
      Canvas.SetPenWidth(m_frameWidth);
      Canvas.FrameRect(framed);
    }
  }
  const int saved = raster::SaveDC(Canvas);
  raster::ExcludeClipRect(Canvas, framed.Left, framed.Top, framed.Right, framed.Bottom);
  DrawBackground(Canvas, client);
  raster::RestoreDC(Canvas, saved);
}

}  // namespace slideshow
