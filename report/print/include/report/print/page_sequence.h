#pragma once

#include <vector>

#include "report/print/print_options.h"

namespace report {

// One side sent to the printer: a report page (from 1), or kBlankSide, an
// empty side that makes the next copy of a two-sided job start on a sheet of
// its own.
inline constexpr int kBlankSide = 0;

// The sides of a job, in the order they are sent: the selected pages
// (ascending, as ParsePageNumbers gives them) filtered to odd or even
// numbers, in page order or reversed, then repeated for the copies: whole
// runs when collated (padded to an even count when two-sided), each page
// Copies times in a row when not. Empty when the filter leaves nothing.
struct SequenceOptions {
  int Copies = 1;
  bool Collate = true;
  bool Reverse = false;
  report::PrintPages PrintPages = report::PrintPages::ppAll;
  bool TwoSided = false;
};
std::vector<int> PageSequence(const std::vector<int>& selectedPages, const SequenceOptions& options);

// The selected pages after the odd/even filter, in printing order, once.
std::vector<int> PagesOnce(const std::vector<int>& selectedPages, PrintPages printPages, bool reverse);

}  // namespace report
