#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "raster/geometry.h"
#include "raster/pixel.h"
#include "raster/region.h"

namespace raster {

class Bitmap;

// How StretchBlt samples. Every mode takes the colour of one source pixel per
// destination pixel (the colour-on-colour behaviour the effects and the
// picture show ask for); the mode is kept so that callers can set and read it.
enum class StretchMode { BlackOnWhite = 1, WhiteOnBlack = 2, ColorOnColor = 3, Halftone = 4 };
inline constexpr StretchMode COLORONCOLOR = StretchMode::ColorOnColor;

enum class RasterOp : std::uint32_t { SrcCopy = 0x00CC0020 };
inline constexpr RasterOp SRCCOPY = RasterOp::SrcCopy;

// The drawing state of one bitmap, the stand-in for a device context: a clip
// region, a viewport origin, a stretch mode, a brush and a pen, a stack of
// saved states, and a lock that other threads respect while a frame is drawn.
//
// Coordinates given to drawing operations are logical: the viewport origin is
// added to them. The clip region is kept in the bitmap's own pixels (device
// pixels) and is not moved by the origin. Drawing never reaches outside the
// bitmap or outside the clip region, whatever the coordinates: the raster
// layer clips, it never reports an error and never throws.
class Canvas {
 public:
  explicit Canvas(Bitmap& bitmap) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Bitmap& Target() noexcept { return *m_bitmap; }
  const Bitmap& Target() const noexcept { return *m_bitmap; }

  // nullptr when nothing is clipped.
  const Region* ClipRegion() const noexcept;
  Point ViewportOrg() const noexcept { return m_state.origin; }
  StretchMode StretchBltMode() const noexcept { return m_state.stretchMode; }

  Pixel BrushColor() const noexcept { return m_state.brush; }
  void SetBrushColor(Pixel pixel) noexcept { m_state.brush = pixel; }
  Pixel PenColor() const noexcept { return m_state.pen; }
  void SetPenColor(Pixel pixel) noexcept { m_state.pen = pixel; }
  int PenWidth() const noexcept { return m_state.penWidth; }  // pixels
  void SetPenWidth(int width) noexcept { m_state.penWidth = width < 1 ? 1 : width; }

  // Fills the rectangle with the brush colour.
  void FillRect(const Rect& rect) noexcept;
  // Outlines the rectangle with the pen: a band PenWidth() pixels wide that
  // lies wholly inside the rectangle (so a frame drawn around a picture
  // grown by the pen width fills the border exactly).
  void FrameRect(const Rect& rect) noexcept;

  // The canvas lock of the picture show: re-entrant, taken before a frame is
  // read or drawn from another thread.
  void Lock() noexcept { m_lock.lock(); }
  void Unlock() noexcept { m_lock.unlock(); }
  bool TryLock() noexcept { return m_lock.try_lock(); }

 private:
  struct State {
    std::optional<Region> clip;  // device pixels
    Point origin;
    StretchMode stretchMode = StretchMode::BlackOnWhite;
    Pixel brush = 0x00FFFFFF;  // white
    Pixel pen = 0;             // black
    int penWidth = 1;
  };

  friend class Bitmap;
  friend RegionKind SelectClipRgn(Canvas&, const Region&) noexcept;
  friend RegionKind SelectClipRgn(Canvas&, std::nullptr_t) noexcept;
  friend RegionKind ExcludeClipRect(Canvas&, int, int, int, int) noexcept;
  friend RegionKind IntersectClipRect(Canvas&, int, int, int, int) noexcept;
  friend int SaveDC(Canvas&) noexcept;
  friend bool RestoreDC(Canvas&, int) noexcept;
  friend bool SetViewportOrgEx(Canvas&, int, int, Point*) noexcept;
  friend StretchMode SetStretchBltMode(Canvas&, StretchMode) noexcept;

  void TakeStateFrom(Canvas& other) noexcept;
  RegionKind NarrowClip(const Rect& deviceRect, CombineMode mode) noexcept;
  void FillDeviceRect(const Rect& deviceRect, Pixel pixel) noexcept;

  Bitmap* m_bitmap;
  State m_state;
  std::vector<State> m_saved;
  std::recursive_mutex m_lock;
};

// Holds a canvas's lock for a scope.
class CanvasLock {
 public:
  explicit CanvasLock(Canvas& canvas) noexcept : m_canvas(canvas) { m_canvas.Lock(); }
  ~CanvasLock() { m_canvas.Unlock(); }
  CanvasLock(const CanvasLock&) = delete;
  CanvasLock& operator=(const CanvasLock&) = delete;

 private:
  Canvas& m_canvas;
};

// --- The device-context operations, named as the drawing interface they
// stand in for, so that effect code reads like its description.

// Makes a copy of the region (device pixels) the clip region; the caller keeps
// its own. With nullptr, clipping is removed.
RegionKind SelectClipRgn(Canvas& dc, const Region& region) noexcept;
RegionKind SelectClipRgn(Canvas& dc, std::nullptr_t) noexcept;
// Takes the rectangle (logical) out of the clip area; without a clip region
// the clip area is the whole bitmap.
RegionKind ExcludeClipRect(Canvas& dc, int left, int top, int right, int bottom) noexcept;
// Narrows the clip area (the whole bitmap when none) to the rectangle.
RegionKind IntersectClipRect(Canvas& dc, int left, int top, int right, int bottom) noexcept;
// The bounding box, in logical coordinates, of what can be drawn: the clip
// area within the bitmap.
RegionKind GetClipBox(const Canvas& dc, Rect* box) noexcept;
// Whether any pixel of the (logical) rectangle can be drawn.
bool RectVisible(const Canvas& dc, const Rect& rect) noexcept;
// Saves clip region, origin, stretch mode, brush and pen; gives the number of
// the saved state (1 for the first). RestoreDC with a positive number goes back
// to that state and drops it and every later one; with a negative number it
// counts back from the latest (-1 = the latest). False when there is no such
// state.
int SaveDC(Canvas& dc) noexcept;
bool RestoreDC(Canvas& dc, int saved) noexcept;
bool SetViewportOrgEx(Canvas& dc, int x, int y, Point* previous = nullptr) noexcept;
// Gives the previous mode.
StretchMode SetStretchBltMode(Canvas& dc, StretchMode mode) noexcept;

// Copies the w by h block at (sx, sy) of src to (x, y) of dest, pixel for
// pixel. A destination pixel is drawn only when it lies in dest, inside dest's
// clip region, and its source pixel lies in src. src may be dest's own bitmap:
// the result is that of copying from the picture as it was before the call.
// w or h of 0 or less draws nothing. False only for another raster operation
// than SRCCOPY or when memory for an overlapping copy ran out.
bool BitBlt(Canvas& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
            RasterOp rop = SRCCOPY) noexcept;

// Scales the sw by sh block at (sx, sy) of src onto the w by h block at (x, y)
// of dest. A negative w mirrors the picture: the block then covers columns
// x + w + 1 .. x, column x taking the first source column. The same holds for
// h (rows), and for sw and sh on the source side. Destination offset i (from
// the block's first column, 0 .. |w| - 1) takes source offset
// (2i + 1) * |sw| / (2|w|), rounded down: the source pixel under the centre of
// the destination pixel, never a blend. Clipping as for BitBlt; an empty source
// or destination draws nothing.
bool StretchBlt(Canvas& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
                int sw, int sh, RasterOp rop = SRCCOPY) noexcept;

}  // namespace raster
