#include "raster/canvas.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

#include "drawable_p.h"
#include "raster/bitmap.h"

namespace raster {

namespace {

Rect SurfaceOf(const Canvas& dc) noexcept {
  return Rect{0, 0, dc.Target().Width(), dc.Target().Height()};
}

// A logical rectangle in device pixels, corners put in order.
Rect ToDevice(const Canvas& dc, int left, int top, int right, int bottom) noexcept {
  const Point o = dc.ViewportOrg();
  const auto shift = [](int v, int by) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{v} + by, INT32_MIN, INT32_MAX));
  };
  return Rect{shift(std::min(left, right), o.X), shift(std::min(top, bottom), o.Y),
              shift(std::max(left, right), o.X), shift(std::max(top, bottom), o.Y)};
}

}  // namespace

Canvas::Canvas(Bitmap& bitmap) noexcept : m_bitmap(&bitmap) {}

const Region* Canvas::ClipRegion() const noexcept {
  return m_state.clip.has_value() ? &*m_state.clip : nullptr;
}

void Canvas::TakeStateFrom(Canvas& other) noexcept {
  m_state = std::move(other.m_state);
  m_saved = std::move(other.m_saved);
  other.m_state = State{};
  other.m_saved.clear();
}

void Canvas::FillDeviceRect(const Rect& deviceRect, Pixel pixel) noexcept {
  const Rect bounds = Intersect(deviceRect, SurfaceOf(*this));
  detail::ForEachDrawableRect(*this, bounds, [&](const Rect& r) {
    for (int row = r.Top; row < r.Bottom; ++row) {
      std::fill_n(m_bitmap->PixelRow(row) + r.Left, r.Right - r.Left, pixel);
    }
  });
}

void Canvas::FillRect(const Rect& rect) noexcept {
  if (rect.IsEmpty()) return;
  FillDeviceRect(ToDevice(*this, rect.Left, rect.Top, rect.Right, rect.Bottom), m_state.brush);
}

void Canvas::FrameRect(const Rect& rect) noexcept {
  if (rect.IsEmpty()) return;
  const Rect r = ToDevice(*this, rect.Left, rect.Top, rect.Right, rect.Bottom);
  const std::int64_t pen = m_state.penWidth;
  if (2 * pen >= r.Width() || 2 * pen >= r.Height()) {
    FillDeviceRect(r, m_state.pen);
    return;
  }
  const int p = m_state.penWidth;
  FillDeviceRect({r.Left, r.Top, r.Right, r.Top + p}, m_state.pen);
  FillDeviceRect({r.Left, r.Bottom - p, r.Right, r.Bottom}, m_state.pen);
  FillDeviceRect({r.Left, r.Top + p, r.Left + p, r.Bottom - p}, m_state.pen);
  FillDeviceRect({r.Right - p, r.Top + p, r.Right, r.Bottom - p}, m_state.pen);
}

RegionKind SelectClipRgn(Canvas& dc, const Region& region) noexcept {
  dc.m_state.clip = region;
  return region.Kind();
}

RegionKind SelectClipRgn(Canvas& dc, std::nullptr_t) noexcept {
  dc.m_state.clip.reset();
  return RegionKind::Simple;
}

RegionKind ExcludeClipRect(Canvas& dc, int left, int top, int right, int bottom) noexcept {
  return dc.NarrowClip(ToDevice(dc, left, top, right, bottom), RGN_DIFF);
}

RegionKind IntersectClipRect(Canvas& dc, int left, int top, int right, int bottom) noexcept {
  return dc.NarrowClip(ToDevice(dc, left, top, right, bottom), RGN_AND);
}

RegionKind Canvas::NarrowClip(const Rect& deviceRect, CombineMode mode) noexcept {
  // Without a clip region the clip area is the whole bitmap.
  Region area = m_state.clip.value_or(Region(SurfaceOf(*this)));
  const RegionKind kind = CombineRgn(area, area, Region(deviceRect), mode);
  if (kind == RegionKind::Error) return kind;
  m_state.clip = std::move(area);
  return kind;
}

RegionKind GetClipBox(const Canvas& dc, Rect* box) noexcept {
  RegionKind kind = RegionKind::Simple;
  Rect bounds = SurfaceOf(dc);
  if (const Region* clip = dc.ClipRegion()) {
    Region visible;
    kind = CombineRgn(visible, *clip, Region(bounds), RGN_AND);
    bounds = visible.Bounds();
  } else if (bounds.IsEmpty()) {
    kind = RegionKind::Null;
  }
  if (box != nullptr) {
    const Point o = dc.ViewportOrg();
    *box = bounds.IsEmpty() ? Rect{}
                            : Rect{bounds.Left - o.X, bounds.Top - o.Y, bounds.Right - o.X,
                                   bounds.Bottom - o.Y};
  }
  return kind;
}

bool RectVisible(const Canvas& dc, const Rect& rect) noexcept {
  if (rect.IsEmpty()) return false;
  const Rect r = Intersect(ToDevice(dc, rect.Left, rect.Top, rect.Right, rect.Bottom),
                           SurfaceOf(dc));
  if (r.IsEmpty()) return false;
  const Region* clip = dc.ClipRegion();
  return clip == nullptr || clip->Intersects(r);
}

int SaveDC(Canvas& dc) noexcept {
  try {
    dc.m_saved.push_back(dc.m_state);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return static_cast<int>(dc.m_saved.size());
}

bool RestoreDC(Canvas& dc, int saved) noexcept {
  const int count = static_cast<int>(dc.m_saved.size());
  const int index = saved > 0 ? saved : count + saved + 1;
  if (saved == 0 || index < 1 || index > count) return false;
  dc.m_state = std::move(dc.m_saved[static_cast<std::size_t>(index - 1)]);
  dc.m_saved.resize(static_cast<std::size_t>(index - 1));
  return true;
}

bool SetViewportOrgEx(Canvas& dc, int x, int y, Point* previous) noexcept {
  if (previous != nullptr) *previous = dc.m_state.origin;
  dc.m_state.origin = Point{x, y};
  return true;
}

StretchMode SetStretchBltMode(Canvas& dc, StretchMode mode) noexcept {
  return std::exchange(dc.m_state.stretchMode, mode);
}

}  // namespace raster
