#pragma once

#include "report/print/print_options.h"

namespace report {

// Paper codes are the platform's (Windows DEVMODE) numbers, as the templates
// store them; QPageSize::windowsId() speaks the same numbers.
inline constexpr int kPaperA4 = 9;
inline constexpr int kPaperCustom = 256;

enum class PaperOrientation { poPortrait, poLandscape };

// The paper of one prepared page, as its source page set it. Width and
// height are as the page lies (swapped for landscape).
struct PagePaper {
  int PaperSize = kPaperA4;
  double PaperWidth = 210;   // mm
  double PaperHeight = 297;  // mm
  PaperOrientation Orientation = PaperOrientation::poPortrait;
  double LeftMargin = 10, TopMargin = 10, RightMargin = 10, BottomMargin = 10;  // mm
  int Bin = 7;            // first page; 7 is "automatic"
  int BinOtherPages = 7;  // every other page
  report::Duplex Duplex = report::Duplex::dmDefault;

  bool operator==(const PagePaper&) const = default;
};

}  // namespace report
