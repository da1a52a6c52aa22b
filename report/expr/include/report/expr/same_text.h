#pragma once

#include <string_view>

namespace report::expr {

// Names of variables, datasets, fields and keywords compare without regard to
// case. Folds ASCII and the accented letters of Latin-1 (À..Þ to à..þ), which
// covers the Italian and English names the reports use.
bool SameText(std::string_view a, std::string_view b);

}  // namespace report::expr
