#pragma once

#include <QIcon>

#include "loads/navigator.h"

namespace loads::detail {

// The navigator's button pictures, drawn here so that they scale with the
// button and need no files.
QIcon NavigatorGlyph(NavButton which);

}  // namespace loads::detail
