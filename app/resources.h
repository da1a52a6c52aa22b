#pragma once

namespace app {

// The program's pictures and icons (resources/versanto.qrc) live in a static
// library, so their registration must be asked for before first use. Safe to
// call any number of times.
void EnsureResources();

}  // namespace app
