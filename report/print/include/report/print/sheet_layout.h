#pragma once

#include <QPageLayout>
#include <QPointF>
#include <QRectF>

#include <vector>

#include "report/print/page_paper.h"
#include "report/print/print_options.h"

namespace report {

// Where one report page lands on a printed side.
struct Placement {
  int page = 0;        // from 1
  double scale = 1;    // of the page's own size
  QPointF originMm;    // where the page's top-left corner lies, from the side's top-left corner
  QRectF clipMm;       // the part of the side the page may draw on
};

// One side sent to the printer: its paper, and the pages on it (none for a
// blank side).
struct Side {
  QPageLayout layout;
  std::vector<Placement> placements;
};

struct SheetRules {
  report::PrintMode PrintMode = report::PrintMode::pmDefault;
  QSizeF sheetMm;  // portrait; the PrintOnSheet paper (scale, join) or the printer's (split)
};

// Turns the sides of a job (PageSequence) into what is printed on each:
// default mode puts every page on paper of its own size; scale mode shrinks
// or enlarges it to the sheet; split spreads a page larger than the sheet
// over as many sheets as it needs (smaller pages print as in default mode);
// join puts as many pages of the same size as fit on one sheet, in the
// sheet orientation that needs fewer sheets.
// papers[i] is the paper of page i + 1.
std::vector<Side> LayOutSides(const std::vector<int>& sequence, const std::vector<PagePaper>& papers,
                              const SheetRules& rules);

}  // namespace report
