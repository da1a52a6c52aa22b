#include "program_windows.h"

#include "formabout.h"
#include "main_form.h"
#include "splash_form.h"
#include "tprezzi.h"

namespace app {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;

ProgramWindows::~ProgramWindows() {
  // The two dialogs are the main window's children: they go first.
  examplePrices.reset();
  aboutBox.reset();
  mainForm.reset();
}

ProgramWindows CreateProgramWindows(const QStringList& arguments) {
  std::unique_ptr<SplashForm> splash = CreateSplash(arguments);
  ProgramWindows windows;
  try {
    windows.mainForm = std::make_unique<MainForm>();
    windows.aboutBox = std::make_unique<Formabout>(windows.mainForm.get());
    windows.examplePrices = std::make_unique<Tprezzi>(windows.mainForm.get());
  } catch (...) {
    splash.reset();
    throw;
  }
  splash.reset();
  return windows;
}

}  // namespace app
