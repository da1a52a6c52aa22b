#pragma once

// The two regions the tests write numbers for, and readable values in failures.

#include <ostream>

#include "report/expr/format_settings.h"
#include "report/expr/value.h"
#include "report/expr/value_ops.h"

namespace report::expr {

// Readable values in test failures.
inline void PrintTo(const Value& v, std::ostream* os) {
  *os << KindName(v.Kind()) << "(" << TextOf(v, FormatSettings{}) << ")";
}

}  // namespace report::expr

namespace report::expr::testing {

inline FormatSettings Italian() {
  FormatSettings s;
  s.numbers.decimalSeparator = ",";
  s.numbers.thousandSeparator = ".";
  s.numbers.currencySymbol = "€";
  s.numbers.positivePrefix = "";
  s.numbers.positiveSuffix = " €";
  s.numbers.negativePrefix = "-";
  s.numbers.negativeSuffix = " €";
  s.dates.shortDateFormat = "dd/mm/yyyy";
  s.dates.longDateFormat = "dddd d mmmm yyyy";
  s.dates.shortTimeFormat = "hh:nn";
  s.dates.longTimeFormat = "hh:nn:ss";
  s.dates.longMonthNames = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                            "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
  s.dates.longDayNames = {"domenica", "lunedì",  "martedì", "mercoledì",
                          "giovedì",  "venerdì", "sabato"};
  return s;
}

inline FormatSettings English() { return FormatSettings{}; }

}  // namespace report::expr::testing
