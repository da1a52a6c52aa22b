#include <QCoreApplication>
#include <QDir>

#include <exception>

#include "application.h"
#include "install_check.h"
#include "loads/data_folder.h"
#include "main_form.h"
#include "program_windows.h"
#include "qt_texts.h"

int main(int argc, char** argv) {
  if (app::IsInstallCheck(argc, argv)) return app::CheckInstall(argc, argv);
  app::Application application(argc, argv);
  app::InstallItalianQtTexts();
  application.SetTitle(QString::fromLatin1(app::kApplicationTitle));
  // Replaced by the help file beside the program while the main window is made.
  application.SetHelpFile(QDir(loads::DefaultDataFolder()).filePath(QStringLiteral("versanto8.qch")));

  app::ProgramWindows windows;
  try {
    // The splash first (any command-line argument keeps it hidden), then the
    // windows; the splash is gone by the time this returns, either way.
    windows = app::CreateProgramWindows(QCoreApplication::arguments());
  } catch (const std::exception& error) {
    // The windows could not be made: say why and end, instead of aborting.
    app::ShowStandardError(QString::fromUtf8(error.what()));
    return 1;
  }

  windows.mainForm->show();
  return application.exec();
}
