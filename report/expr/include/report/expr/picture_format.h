#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "regional/regional.h"

namespace report::expr {

// A number written by a picture: '0' a digit always shown, '#' a digit shown
// when significant, ',' anywhere before the decimal point turns on thousands
// grouping, the first '.' is the decimal point; "pos;neg;zero" sections (the
// negative section shows the magnitude without a sign), text in quotes and
// any other character are copied. Separators are the region's; rounding is
// halves away from zero. Nothing for a value that is not finite.
std::optional<std::string> FormatFloat(std::string_view picture, double value,
                                       const regional::Regional& regional);

}  // namespace report::expr
