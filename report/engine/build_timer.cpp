#include "report/engine/build_timer.h"

#include <QTimer>

#include "report/engine/engine.h"

namespace report {

void ScheduleBuild(Engine& engine, QObject* context, std::function<void(bool ok)> finished, int delayMs) {
  // BuildReport(false): ShowReport has cleared the pages already, and the
  // preview is showing that empty store.
  QTimer::singleShot(delayMs, context, [&engine, finished = std::move(finished)] {
    const bool ok = engine.BuildReport(false);
    if (finished) finished(ok);
  });
}

}  // namespace report
