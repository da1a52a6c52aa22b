#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <new>
#include <vector>

#include "drawable_p.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"

namespace raster {

namespace {

struct MemoryRange {
  const std::uint8_t* low;
  const std::uint8_t* high;  // one past the last byte
};

MemoryRange RangeOf(const Bitmap& b) noexcept {
  if (b.Empty()) return {nullptr, nullptr};
  const std::uint8_t* low = b.ScanLine(b.Height() - 1);
  return {low, b.ScanLine(0) + std::size_t(b.Width()) * 4};
}

bool SharesMemory(const Bitmap& a, const Bitmap& b) noexcept {
  const MemoryRange ra = RangeOf(a);
  const MemoryRange rb = RangeOf(b);
  if (ra.low == nullptr || rb.low == nullptr) return false;
  return std::less<>{}(ra.low, rb.high) && std::less<>{}(rb.low, ra.high);
}

// A bitmap with a copy of the block `area` of src, for copies whose source
// and destination share memory. Empty when memory ran out.
Bitmap CopyOfBlock(const Bitmap& src, const Rect& area) noexcept {
  Bitmap copy(area.Right - area.Left, area.Bottom - area.Top);
  if (copy.Empty()) return copy;
  const std::size_t rowBytes = std::size_t(copy.Width()) * sizeof(Pixel);
  for (int row = 0; row < copy.Height(); ++row) {
    std::memcpy(copy.PixelRow(row), src.PixelRow(area.Top + row) + area.Left, rowBytes);
  }
  return copy;
}

// Copies every drawable part of `bounds` (device pixels of dest) from the
// pixel of src that lies (offX, offY) up and to the left of it.
void CopyThroughClip(Canvas& dest, const Rect& bounds, const Bitmap& src, std::int64_t offX,
                     std::int64_t offY) noexcept {
  Bitmap& target = dest.Target();
  detail::ForEachDrawableRect(dest, bounds, [&](const Rect& r) {
    const std::size_t rowBytes = std::size_t(r.Right - r.Left) * sizeof(Pixel);
    const int srcLeft = static_cast<int>(r.Left - offX);
    for (int row = r.Top; row < r.Bottom; ++row) {
      std::memcpy(target.PixelRow(row) + r.Left,
                  src.PixelRow(static_cast<int>(row - offY)) + srcLeft, rowBytes);
    }
  });
}

// A copy within one bitmap through at most one rectangle: rows are taken in
// the order that reads each source row before it is overwritten.
void MoveWithinBitmap(Bitmap& bitmap, const Rect& r, std::int64_t offX, std::int64_t offY) noexcept {
  const std::size_t rowBytes = std::size_t(r.Right - r.Left) * sizeof(Pixel);
  const int srcLeft = static_cast<int>(r.Left - offX);
  const auto move = [&](int row) {
    std::memmove(bitmap.PixelRow(row) + r.Left, bitmap.PixelRow(static_cast<int>(row - offY)) + srcLeft,
                 rowBytes);
  };
  if (offY > 0) {
    for (int row = r.Bottom - 1; row >= r.Top; --row) move(row);
  } else {
    for (int row = r.Top; row < r.Bottom; ++row) move(row);
  }
}

// For StretchBlt: the source offset that destination offset i takes, so that
// each destination pixel shows the source pixel under its centre.
std::int64_t SourceOffset(std::int64_t i, std::int64_t sourceExtent, std::int64_t destExtent) noexcept {
  return ((2 * i + 1) * sourceExtent) / (2 * destExtent);
}

// For one axis of a stretch: the source index of every destination index in
// [first, last), -1 where it falls outside the source. destStart is the
// block's first destination index (its last when mirrored, dest < 0).
void MapAxis(std::vector<int>& out, std::int64_t first, std::int64_t last, std::int64_t destStart,
             std::int64_t dest, std::int64_t sourceStart, std::int64_t source, int sourceSize) {
  out.resize(static_cast<std::size_t>(last - first));
  const std::int64_t destExtent = std::abs(dest);
  const std::int64_t sourceExtent = std::abs(source);
  for (std::int64_t d = first; d < last; ++d) {
    const std::int64_t i = dest > 0 ? d - destStart : destStart - d;
    const std::int64_t j = SourceOffset(i, sourceExtent, destExtent);
    const std::int64_t s = source > 0 ? sourceStart + j : sourceStart - j;
    out[static_cast<std::size_t>(d - first)] = (s >= 0 && s < sourceSize) ? static_cast<int>(s) : -1;
  }
}

// The valid entries of a monotone map form one run; gives its [begin, end).
std::pair<int, int> ValidRun(const std::vector<int>& map) noexcept {
  int begin = 0;
  int end = static_cast<int>(map.size());
  while (begin < end && map[begin] < 0) ++begin;
  while (end > begin && map[end - 1] < 0) --end;
  return {begin, end};
}

}  // namespace

bool BitBlt(Canvas& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
            RasterOp rop) noexcept {
  if (rop != SRCCOPY) return false;
  if (w <= 0 || h <= 0) return true;
  Bitmap& target = dest.Target();
  const Point origin = dest.ViewportOrg();
  const std::int64_t left = std::int64_t{x} + origin.X;
  const std::int64_t top = std::int64_t{y} + origin.Y;
  // Destination pixel (c, r) takes source pixel (c - offX, r - offY).
  const std::int64_t offX = left - sx;
  const std::int64_t offY = top - sy;
  Rect bounds = detail::ClampToSurface(std::max(left, offX), std::max(top, offY),
                                       std::min(left + w, src.Width() + offX),
                                       std::min(top + h, src.Height() + offY), target);
  bounds = Intersect(bounds, detail::DrawableBounds(dest));
  if (bounds.IsEmpty()) return true;

  if (!SharesMemory(target, src)) {
    CopyThroughClip(dest, bounds, src, offX, offY);
    return true;
  }
  const Region* clip = dest.ClipRegion();
  if (&target == &src && (clip == nullptr || clip->RectCount() <= 1)) {
    MoveWithinBitmap(target, bounds, offX, offY);
    return true;
  }
  const Rect sourceArea{static_cast<int>(bounds.Left - offX), static_cast<int>(bounds.Top - offY),
                        static_cast<int>(bounds.Right - offX), static_cast<int>(bounds.Bottom - offY)};
  const Bitmap copy = CopyOfBlock(src, sourceArea);
  if (copy.Empty()) return false;
  CopyThroughClip(dest, bounds, copy, bounds.Left, bounds.Top);
  return true;
}

bool StretchBlt(Canvas& dest, int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
                int sw, int sh, RasterOp rop) noexcept {
  if (rop != SRCCOPY) return false;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return true;
  Bitmap& target = dest.Target();
  const Point origin = dest.ViewportOrg();
  const std::int64_t startX = std::int64_t{x} + origin.X;  // column of source offset 0
  const std::int64_t startY = std::int64_t{y} + origin.Y;
  const std::int64_t blockLeft = w > 0 ? startX : startX + w + 1;
  const std::int64_t blockTop = h > 0 ? startY : startY + h + 1;
  Rect bounds = detail::ClampToSurface(blockLeft, blockTop, blockLeft + std::abs(std::int64_t{w}),
                                       blockTop + std::abs(std::int64_t{h}), target);
  bounds = Intersect(bounds, detail::DrawableBounds(dest));
  if (bounds.IsEmpty()) return true;

  try {
    std::vector<int> columns;
    std::vector<int> rows;
    MapAxis(columns, bounds.Left, bounds.Right, startX, w, sx, sw, src.Width());
    MapAxis(rows, bounds.Top, bounds.Bottom, startY, h, sy, sh, src.Height());
    const auto [colBegin, colEnd] = ValidRun(columns);
    const auto [rowBegin, rowEnd] = ValidRun(rows);
    if (colBegin >= colEnd || rowBegin >= rowEnd) return true;
    const Rect drawn{bounds.Left + colBegin, bounds.Top + rowBegin, bounds.Left + colEnd,
                     bounds.Top + rowEnd};

    // A source that shares memory with the destination is read from a copy of
    // the block it is read from, so that the stretch sees the picture as it
    // was before the call.
    const Bitmap* source = &src;
    Bitmap copy;
    if (SharesMemory(target, src)) {
      const int minCol = std::min(columns[colBegin], columns[colEnd - 1]);
      const int maxCol = std::max(columns[colBegin], columns[colEnd - 1]);
      const int minRow = std::min(rows[rowBegin], rows[rowEnd - 1]);
      const int maxRow = std::max(rows[rowBegin], rows[rowEnd - 1]);
      copy = CopyOfBlock(src, Rect{minCol, minRow, maxCol + 1, maxRow + 1});
      if (copy.Empty()) return false;
      for (int i = colBegin; i < colEnd; ++i) columns[i] -= minCol;
      for (int i = rowBegin; i < rowEnd; ++i) rows[i] -= minRow;
      source = &copy;
    }
    // Unscaled and unmirrored columns: each row is one block copy.
    const bool plainColumns = std::abs(std::int64_t{w}) == std::abs(std::int64_t{sw}) &&
                              (w > 0) == (sw > 0);
    detail::ForEachDrawableRect(dest, drawn, [&](const Rect& r) {
      const int count = r.Right - r.Left;
      const int* map = columns.data() + (r.Left - bounds.Left);
      int previousSource = -1;
      for (int row = r.Top; row < r.Bottom; ++row) {
        Pixel* out = target.PixelRow(row) + r.Left;
        const int sourceRow = rows[static_cast<std::size_t>(row - bounds.Top)];
        if (sourceRow == previousSource) {
          // An enlarged picture repeats rows: copy the one just made.
          std::memcpy(out, target.PixelRow(row - 1) + r.Left, std::size_t(count) * sizeof(Pixel));
          continue;
        }
        previousSource = sourceRow;
        const Pixel* in = source->PixelRow(sourceRow);
        if (plainColumns) {
          std::memcpy(out, in + map[0], std::size_t(count) * sizeof(Pixel));
          continue;
        }
        for (int i = 0; i < count; ++i) out[i] = in[map[i]];
      }
    });
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace raster
