#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace report {

// Why a page text selects nothing to print.
struct PageNumbersError {
  enum class Kind {
    kNotANumber,  // a part that is not a whole number; `text` is that part
    kNoPage,      // well formed, but no page of the report is in it
  };
  Kind kind = Kind::kNoPage;
  QString text;
};

// The pages of a report of `pageCount` pages (numbered from 1) that a page
// text such as "1,3,5-12" selects, in ascending order and without repeats.
// Blanks are ignored; empty text selects every page; "5-" runs to the last
// page; numbers beyond the last page are left out. A range whose end is below
// its start adds nothing. When nothing at all is left (say "7-3", or "20" of
// 10 pages) that is an error rather than "all pages", so that a slip in the
// range never prints the whole report.
struct PageSelection {
  std::vector<int> pages;
  std::optional<PageNumbersError> error;
};
PageSelection ParsePageNumbers(const QString& text, int pageCount);

}  // namespace report
