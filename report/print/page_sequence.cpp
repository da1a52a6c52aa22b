#include "report/print/page_sequence.h"

#include <algorithm>

namespace report {

std::vector<int> PagesOnce(const std::vector<int>& selectedPages, PrintPages printPages, bool reverse) {
  std::vector<int> pages;
  for (const int page : selectedPages) {
    if (printPages == PrintPages::ppOdd && page % 2 == 0) continue;
    if (printPages == PrintPages::ppEven && page % 2 != 0) continue;
    pages.push_back(page);
  }
  if (reverse) std::reverse(pages.begin(), pages.end());
  return pages;
}

std::vector<int> PageSequence(const std::vector<int>& selectedPages, const SequenceOptions& options) {
  const std::vector<int> once = PagesOnce(selectedPages, options.PrintPages, options.Reverse);
  const int copies = std::max(options.Copies, 1);
  std::vector<int> sides;
  if (once.empty()) return sides;
  if (options.Collate) {
    for (int copy = 0; copy < copies; ++copy) {
      sides.insert(sides.end(), once.begin(), once.end());
      if (options.TwoSided && sides.size() % 2 != 0) sides.push_back(kBlankSide);
    }
  } else {
    for (const int page : once) sides.insert(sides.end(), static_cast<size_t>(copies), page);
  }
  return sides;
}

}  // namespace report
