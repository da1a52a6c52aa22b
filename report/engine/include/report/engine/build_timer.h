#pragma once

// The build timer of ShowReport: the preview window opens at once, and 50 ms
// later, inside the window's own event loop, the report is built; pages then
// appear as they are finished.
//
//   report::ScheduleBuild(engine, previewWindow, [](bool ok) { ... });
//
// Nothing happens when `context` is destroyed before the timer fires.

#include <QObject>

#include <functional>

namespace report {

class Engine;

inline constexpr int kBuildDelayMs = 50;

void ScheduleBuild(Engine& engine, QObject* context, std::function<void(bool ok)> finished,
                   int delayMs = kBuildDelayMs);

}  // namespace report
