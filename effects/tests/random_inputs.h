#pragma once

// Random bitmaps, rectangles and regions for the tests that hold the raster
// routines against their plain references.

#include <random>
#include <vector>

#include "raster/bitmap.h"
#include "raster/region.h"
#include "reference_raster.h"

namespace random_inputs {

class Inputs {
 public:
  explicit Inputs(unsigned seed) : m_engine(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
  bool OneIn(int n) { return Between(1, n) == 1; }

  void Scribble(raster::Bitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        reference::Set(b, x, y, static_cast<raster::Pixel>(m_engine()));
  }

  raster::Rect AnyRect(int low, int high) {
    const int l = Between(low, high);
    const int t = Between(low, high);
    return raster::Rect{l, t, l + Between(-2, high - low), t + Between(-2, high - low)};
  }

  // A union of a few rectangles, ellipses or polygons around a window of
  // `extent` pixels, reaching outside it on every side.
  raster::Region AnyRegion(int extent) {
    raster::Region region;
    const int parts = Between(1, 6);
    for (int i = 0; i < parts; ++i) {
      const raster::Rect r = AnyRect(-extent / 4, extent + extent / 4);
      raster::Region part;
      switch (Between(0, 3)) {
        case 0:
          part = raster::CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom);
          break;
        case 1: {
          std::vector<raster::Point> points(static_cast<std::size_t>(Between(3, 7)));
          for (auto& p : points) p = {Between(-extent / 4, extent), Between(-extent / 4, extent)};
          part = raster::CreatePolygonRgn(points, raster::WINDING);
          break;
        }
        default:
          part = raster::CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
          break;
      }
      raster::CombineRgn(region, region, part, OneIn(4) ? raster::RGN_XOR : raster::RGN_OR);
    }
    return region;
  }

  std::mt19937& Engine() { return m_engine; }

 private:
  std::mt19937 m_engine;
};

}  // namespace random_inputs
