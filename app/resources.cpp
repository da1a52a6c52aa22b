#include "resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE may not be used inside a namespace.
static void RegisterVersantoResources() { Q_INIT_RESOURCE(versanto); }

namespace app {

void EnsureResources() {
  static const bool registered = (RegisterVersantoResources(), true);
  (void)registered;
}

}  // namespace app
