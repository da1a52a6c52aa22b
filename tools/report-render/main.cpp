// report-render: builds a report template over a load table, or opens a saved
// prepared report, and writes PNG pages, a PDF and a .vpr file, printing the
// figures of the build for a person or a script.
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include "render.h"

int main(int argc, char** argv) {
  // A tool for scripts: no display needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  QString error;
  const auto options = report_render::ParseOptions(app.arguments().mid(1), error);
  if (!options) {
    err << "report-render: " << error << "\n" << report_render::Usage() << "\n";
    return report_render::kBadInput;
  }
  return report_render::Run(*options, out, err);
}
