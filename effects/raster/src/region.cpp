#include "raster/region.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "region_p.h"

namespace raster {

namespace {

RegionKind KindOf(const pixman_region32_t* region) noexcept {
  const int count = pixman_region32_n_rects(const_cast<pixman_region32_t*>(region));
  if (count == 0) return RegionKind::Null;
  return count == 1 ? RegionKind::Simple : RegionKind::Complex;
}

Rect Normalised(int left, int top, int right, int bottom) noexcept {
  return Rect{std::min(left, right), std::min(top, bottom), std::max(left, right),
              std::max(top, bottom)};
}

// Shape coordinates beyond this are clamped: far outside any picture, small
// enough that a shape of absurd size is still scanned in a few milliseconds
// and that the exact integer edge arithmetic below cannot overflow.
constexpr int kCoordLimit = 1 << 20;  // pixels

int ClampCoord(int value) noexcept { return std::clamp(value, -kCoordLimit, kCoordLimit); }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept {  // b > 0
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) noexcept {  // b > 0
  return -FloorDiv(-a, b);
}

// The round rectangle (an ellipse when the corners take the whole rectangle),
// row by row: a pixel belongs when its centre lies on or inside the outline.
Region RoundRectRegion(const Rect& box, int cornerWidth, int cornerHeight) {
  if (box.IsEmpty()) return Region();
  const double ew = std::min<double>(std::abs(static_cast<double>(cornerWidth)), box.Width());
  const double eh = std::min<double>(std::abs(static_cast<double>(cornerHeight)), box.Height());
  if (ew <= 0.0 || eh <= 0.0) return Region(box);

  // Ties (a centre exactly on the outline) count as inside, on both sides
  // alike, so that the shape stays symmetric.
  constexpr double kTie = 1e-9;
  const double leftCentre = box.Left + ew / 2;    // of the left corner ellipses
  const double rightCentre = box.Right - ew / 2;  // of the right ones
  const double topCentre = box.Top + eh / 2;
  const double bottomCentre = box.Bottom - eh / 2;
  detail::BandBuilder bands;
  std::vector<detail::Span> spans(1);
  for (int row = box.Top; row < box.Bottom; ++row) {
    const double yc = row + 0.5;
    double dy = 0.0;
    if (yc < topCentre) dy = topCentre - yc;
    if (yc > bottomCentre) dy = yc - bottomCentre;
    const double t = dy / (eh / 2);
    const double halfWidth = (ew / 2) * std::sqrt(std::max(0.0, 1.0 - t * t));
    const double first = std::ceil(leftCentre - halfWidth - 0.5 - kTie);
    const double last = std::floor(rightCentre + halfWidth - 0.5 + kTie);
    const int begin = static_cast<int>(std::max<double>(first, box.Left));
    const int end = static_cast<int>(std::min<double>(last + 1, box.Right));
    if (begin >= end) {
      bands.AddRow(row, {});
      continue;
    }
    spans[0] = {begin, end};
    bands.AddRow(row, spans);
  }
  return bands.Finish();
}

struct Edge {
  std::int64_t x0, y0;  // upper end
  std::int64_t dx, dy;  // dy > 0
  int winding;          // +1 downward, -1 upward
};

struct Crossing {
  std::int64_t column;  // first pixel column right of the edge
  int winding;
};

Region PolygonRegion(std::span<const Point> points, PolyFillMode mode) {
  if (points.size() < 3) return Region();
  std::vector<Edge> edges;
  edges.reserve(points.size());
  std::int64_t top = kCoordLimit;
  std::int64_t bottom = -kCoordLimit;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[i];
    const Point& q = points[(i + 1) % points.size()];
    const std::int64_t px = ClampCoord(p.X), py = ClampCoord(p.Y);
    const std::int64_t qx = ClampCoord(q.X), qy = ClampCoord(q.Y);
    if (py == qy) continue;
    if (py < qy) {
      edges.push_back({px, py, qx - px, qy - py, 1});
    } else {
      edges.push_back({qx, qy, px - qx, py - qy, -1});
    }
    top = std::min({top, py, qy});
    bottom = std::max({bottom, py, qy});
  }
  detail::BandBuilder bands;
  std::vector<Crossing> crossings;
  std::vector<detail::Span> spans;
  for (std::int64_t row = top; row < bottom; ++row) {
    crossings.clear();
    for (const Edge& e : edges) {
      // The edge meets the row's centre line y = row + 0.5 when it spans it,
      // upper end included and lower end excluded, so that a vertex shared by
      // two edges is counted once.
      if (row < e.y0 || row >= e.y0 + e.dy) continue;
      // x = x0 + (row + 0.5 - y0) * dx / dy, and the first pixel whose centre
      // lies right of x is ceil(x - 0.5), computed exactly in integers.
      const std::int64_t numerator = 2 * e.x0 * e.dy + (2 * (row - e.y0) + 1) * e.dx - e.dy;
      crossings.push_back({CeilDiv(numerator, 2 * e.dy), e.winding});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.column < b.column; });
    spans.clear();
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += mode == PolyFillMode::Winding ? crossings[i].winding : 1;
      const bool inside = mode == PolyFillMode::Winding ? winding != 0 : (winding & 1) != 0;
      const std::int64_t begin = crossings[i].column;
      const std::int64_t end = crossings[i + 1].column;
      if (!inside || begin >= end) continue;
      if (!spans.empty() && spans.back().end == begin) {
        spans.back().end = static_cast<int>(end);
      } else {
        spans.push_back({static_cast<int>(begin), static_cast<int>(end)});
      }
    }
    bands.AddRow(static_cast<int>(row), spans);
  }
  return bands.Finish();
}

}  // namespace

namespace detail {

void BandBuilder::AddRow(int row, const std::vector<Span>& spans) {
  if (row == m_bandBottom && spans == m_bandSpans) {
    ++m_bandBottom;
    return;
  }
  FlushBand();
  m_bandSpans = spans;
  m_bandTop = row;
  m_bandBottom = row + 1;
}

void BandBuilder::FlushBand() {
  for (const Span& s : m_bandSpans) m_boxes.push_back({s.begin, m_bandTop, s.end, m_bandBottom});
  m_bandSpans.clear();
}

Region BandBuilder::Finish() {
  FlushBand();
  Region region;
  if (m_boxes.empty()) return region;
  pixman_region32_fini(region.Native());
  if (!pixman_region32_init_rects(region.Native(), m_boxes.data(),
                                  static_cast<int>(m_boxes.size()))) {
    pixman_region32_fini(region.Native());
    pixman_region32_init(region.Native());
  }
  return region;
}

}  // namespace detail

Region::Region() noexcept { pixman_region32_init(&m_region); }

Region::Region(const Rect& rect) noexcept {
  if (rect.IsEmpty()) {
    pixman_region32_init(&m_region);
    return;
  }
  pixman_region32_init_rect(&m_region, rect.Left, rect.Top,
                            static_cast<unsigned>(rect.Width()),
                            static_cast<unsigned>(rect.Height()));
}

Region::Region(const Region& other) noexcept {
  pixman_region32_init(&m_region);
  pixman_region32_copy(&m_region, const_cast<pixman_region32_t*>(&other.m_region));
}

Region::Region(Region&& other) noexcept : m_region(other.m_region) {
  pixman_region32_init(&other.m_region);
}

Region& Region::operator=(const Region& other) noexcept {
  if (this != &other) pixman_region32_copy(&m_region, const_cast<pixman_region32_t*>(&other.m_region));
  return *this;
}

Region& Region::operator=(Region&& other) noexcept {
  if (this == &other) return *this;
  pixman_region32_fini(&m_region);
  m_region = other.m_region;
  pixman_region32_init(&other.m_region);
  return *this;
}

Region::~Region() { pixman_region32_fini(&m_region); }

bool Region::Empty() const noexcept {
  return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&m_region));
}

RegionKind Region::Kind() const noexcept { return KindOf(&m_region); }

Rect Region::Bounds() const noexcept {
  if (Empty()) return Rect{};
  const pixman_box32_t& e = m_region.extents;
  return Rect{e.x1, e.y1, e.x2, e.y2};
}

bool Region::Contains(int x, int y) const noexcept {
  return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&m_region), x, y,
                                        nullptr) != 0;
}

bool Region::Intersects(const Rect& rect) const noexcept {
  if (rect.IsEmpty()) return false;
  pixman_box32_t box{rect.Left, rect.Top, rect.Right, rect.Bottom};
  return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&m_region), &box) !=
         PIXMAN_REGION_OUT;
}

std::vector<Rect> Region::Rects() const {
  int count = 0;
  const pixman_box32_t* boxes =
      pixman_region32_rectangles(const_cast<pixman_region32_t*>(&m_region), &count);
  std::vector<Rect> rects;
  rects.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) rects.push_back({boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  return rects;
}

int Region::RectCount() const noexcept {
  return pixman_region32_n_rects(const_cast<pixman_region32_t*>(&m_region));
}

void Region::Offset(int dx, int dy) noexcept { pixman_region32_translate(&m_region, dx, dy); }

bool operator==(const Region& a, const Region& b) noexcept {
  // Empty regions may keep different extents.
  if (a.Empty() || b.Empty()) return a.Empty() && b.Empty();
  return pixman_region32_equal(const_cast<pixman_region32_t*>(&a.m_region),
                               const_cast<pixman_region32_t*>(&b.m_region)) != 0;
}

Region CreateRectRgn(int left, int top, int right, int bottom) noexcept {
  return Region(Normalised(left, top, right, bottom));
}

Region CreateEllipticRgn(int left, int top, int right, int bottom) noexcept {
  const Rect box = Normalised(ClampCoord(left), ClampCoord(top), ClampCoord(right),
                              ClampCoord(bottom));
  try {
    return RoundRectRegion(box, box.Right - box.Left, box.Bottom - box.Top);
  } catch (const std::bad_alloc&) {
    return Region();
  }
}

Region CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight) noexcept {
  const Rect box = Normalised(ClampCoord(left), ClampCoord(top), ClampCoord(right),
                              ClampCoord(bottom));
  try {
    return RoundRectRegion(box, cornerWidth, cornerHeight);
  } catch (const std::bad_alloc&) {
    return Region();
  }
}

Region CreatePolygonRgn(std::span<const Point> points, PolyFillMode mode) noexcept {
  try {
    return PolygonRegion(points, mode);
  } catch (const std::bad_alloc&) {
    return Region();
  }
}

Region ExtCreateRegion(std::span<const Rect> rects) noexcept {
  Region region;
  try {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const Rect& r : rects) {
      if (!r.IsEmpty()) boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
    }
    if (boxes.empty()) return region;
    pixman_region32_fini(region.Native());
    if (!pixman_region32_init_rects(region.Native(), boxes.data(), static_cast<int>(boxes.size()))) {
      pixman_region32_fini(region.Native());
      pixman_region32_init(region.Native());
    }
  } catch (const std::bad_alloc&) {
  }
  return region;
}

RegionKind CombineRgn(Region& dest, const Region& a, const Region& b, CombineMode mode) noexcept {
  auto* d = dest.Native();
  auto* ra = const_cast<pixman_region32_t*>(a.Native());
  auto* rb = const_cast<pixman_region32_t*>(b.Native());
  bool ok = false;
  switch (mode) {
    case CombineMode::And:
      ok = pixman_region32_intersect(d, ra, rb);
      break;
    case CombineMode::Or:
      ok = pixman_region32_union(d, ra, rb);
      break;
    case CombineMode::Diff:
      ok = pixman_region32_subtract(d, ra, rb);
      break;
    case CombineMode::Copy:
      ok = pixman_region32_copy(d, ra);
      break;
    case CombineMode::Xor: {
      Region aOnly;
      Region bOnly;
      ok = pixman_region32_subtract(aOnly.Native(), ra, rb) &&
           pixman_region32_subtract(bOnly.Native(), rb, ra) &&
           pixman_region32_union(d, aOnly.Native(), bOnly.Native());
      break;
    }
  }
  return ok ? KindOf(d) : RegionKind::Error;
}

RegionKind OffsetRgn(Region& region, int dx, int dy) noexcept {
  region.Offset(dx, dy);
  return region.Kind();
}

}  // namespace raster
