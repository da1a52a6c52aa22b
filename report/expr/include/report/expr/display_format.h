#pragma once

#include <string>

#include "report/expr/format_settings.h"
#include "report/expr/value.h"

namespace report::expr {

enum class FormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };

// The display format of a memo view.
struct DisplayFormat {
  FormatKind kind = FormatKind::fkText;
  std::string formatStr;
  // One character that replaces the region's decimal separator in numbers
  // (the report memos use ","); empty or longer: no replacement.
  std::string decimalSeparator;
};

// A value as a memo shows it. Never fails: a value the format cannot take
// shows in its natural text form, null as empty text.
//   fkText      the natural text form
//   fkNumeric   a picture ("#,##0.00") when FormatStr has '#', else the printf-style
//               FormatStr of regional::Format with a whole number when it has a
//               lower-case 'd' and a real otherwise ("%2.2m": money in the region's
//               form with two decimals); an empty FormatStr shows the natural form
//   fkDateTime  the date-time picture FormatStr (see date_time.h)
//   fkBoolean   FormatStr "yes,no": the part before the first comma for a true value
std::string FormatValue(const Value& value, const DisplayFormat& format,
                        const FormatSettings& settings);

}  // namespace report::expr
