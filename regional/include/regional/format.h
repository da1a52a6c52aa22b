#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "regional/regional.h"

namespace regional {

using FormatArg = std::variant<std::int64_t, double, std::string>;

// Writes a format string the way the program's formats mean it:
//   "%" [index ":"] ["-"] [width] ["." precision] type      and "%%"
// with the types d (whole number, precision = minimum digits), u, x, e, f, g,
// n, m (money) and s (precision = maximum characters); upper-case types are
// the same. Width pads with blanks on the left ("-": on the right). Numbers
// use the region's separators. A malformed format, a missing argument or an
// argument of the wrong kind (a real for %d, a whole number for %f) gives
// nothing, so that a caller can fall back to a plain text form.
std::optional<std::string> Format(std::string_view format, std::span<const FormatArg> args,
                                  const Regional& regional);

}  // namespace regional
