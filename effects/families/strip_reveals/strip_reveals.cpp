#include "strip_reveals/strip_reveals.h"

#include "row_regions_p.h"

namespace effects::strip_reveals {

std::optional<raster::Region> RowRegion(int row, int W, int H, int X, int Y,
                                        int Progress) noexcept {
  const detail::Frame frame{W, H, X, Y, Progress};
  if (const detail::StripRow* strips = detail::FindStripRow(row)) {
    return detail::StripRegion(*strips, frame);
  }
  if (const detail::CurvedRow* curved = detail::FindCurvedRow(row)) {
    return detail::CurvedRegion(*curved, frame);
  }
  if (const detail::TriangleRow* triangles = detail::FindTriangleRow(row)) {
    return detail::TriangleRegion(*triangles, frame);
  }
  if (row == detail::kTriangularShredRow) return detail::TriangularShredRegion(frame);
  return std::nullopt;
}

}  // namespace effects::strip_reveals
