#pragma once

// What report-render does, as a function the tests call: builds a template
// over a table (or opens a saved report), writes what was asked and prints
// its figures, one "name: value" per line, and each build error on a line of
// its own ("error: text").

#include <QTextStream>

#include "render_options.h"

namespace report_render {

// Exit codes
inline constexpr int kOk = 0;
inline constexpr int kBuildErrors = 1;  // the build reported errors (the pages made are still written)
inline constexpr int kBadInput = 2;     // command line, template, data or saved report unusable
inline constexpr int kOutputFailed = 3; // a PNG, PDF or .vpr could not be written

int Run(const Options& options, QTextStream& out, QTextStream& err);

}  // namespace report_render
