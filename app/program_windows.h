#pragma once

#include <QStringList>

#include <memory>

namespace app {

class MainForm;
class Formabout;
class Tprezzi;

// The three windows the program makes at start-up. The about box and the
// example-prices window belong to the main window and go before it.
struct ProgramWindows {
  std::unique_ptr<MainForm> mainForm;
  std::unique_ptr<Formabout> aboutBox;
  std::unique_ptr<Tprezzi> examplePrices;

  ProgramWindows();
  ProgramWindows(ProgramWindows&&) noexcept;
  ProgramWindows& operator=(ProgramWindows&&) noexcept;
  ~ProgramWindows();
};

// The start-up between the application object and the message loop: the
// splash window (animated unless `arguments` has more than the program's
// name, see CreateSplash), then the main window, the about box and the
// example-prices window in that order; the splash window is freed when they
// exist, and also when making them failed, whose error then goes on to the
// caller.
ProgramWindows CreateProgramWindows(const QStringList& arguments);

}  // namespace app
