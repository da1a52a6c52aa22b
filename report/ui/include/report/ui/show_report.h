#pragma once

// `ShowReport`: opens the preview window at once with no pages, and 50 ms
// later, inside the window's event loop, builds the report; the pages show
// as they are finished. Returns when a modal preview is closed (the
// default); a non-modal one lives on and frees itself when closed.

#include <functional>

class QWidget;

namespace report {

class Engine;
class PreparedPages;
class PreviewForm;
class Report;

inline constexpr int kBuildTimerMs = 50;

struct ShowReportHooks {
  QWidget* parent = nullptr;
  // Called once the engine exists (number formats and the like).
  std::function<void(Engine&)> configureEngine;
  // Called after the window is set up and before it shows (print and page
  // settings commands, tests).
  std::function<void(PreviewForm&, Engine&)> configureForm;
};

void ShowReport(Report& report, PreparedPages& pages, bool clearLastReport,
                const ShowReportHooks& hooks = {});

// The window's options from the report's preview options.
struct PreviewWindowOptions;
PreviewWindowOptions WindowOptions(const Report& report);

}  // namespace report
