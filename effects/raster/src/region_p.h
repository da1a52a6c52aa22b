#pragma once

#include <pixman.h>

#include <cstdint>
#include <vector>

#include "raster/region.h"

namespace raster::detail {

// The pixels of one image row that a shape covers, as half-open column runs
// sorted by column and not touching each other.
struct Span {
  int begin;  // first column
  int end;    // one past the last column
  friend bool operator==(const Span&, const Span&) = default;
};

// Collects the spans of a shape row by row, from the top row down, and turns
// them into a region. Runs of rows with equal spans become one band, so a
// shape costs one rectangle per span per band, which is the form the region
// keeps anyway.
class BandBuilder {
 public:
  // Spans of `row`; rows must come in increasing order, gaps are empty rows.
  void AddRow(int row, const std::vector<Span>& spans);
  Region Finish();

 private:
  void FlushBand();

  std::vector<pixman_box32_t> m_boxes;
  std::vector<Span> m_bandSpans;
  int m_bandTop = 0;
  int m_bandBottom = 0;
};

}  // namespace raster::detail
