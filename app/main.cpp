#include <QDir>

#include <memory>

#include "application.h"
#include "formabout.h"
#include "install_check.h"
#include "loads/data_folder.h"
#include "main_form.h"
#include "qt_texts.h"
#include "tprezzi.h"

int main(int argc, char** argv) {
  if (app::IsInstallCheck(argc, argv)) return app::CheckInstall(argc, argv);
  app::Application application(argc, argv);
  app::InstallItalianQtTexts();
  application.SetTitle(QString::fromLatin1(app::kApplicationTitle));
  // Replaced by the help file beside the program while the main window is made.
  application.SetHelpFile(QDir(loads::DefaultDataFolder()).filePath(QStringLiteral("versanto8.qch")));

  // The splash window comes here (CreateSplash); any command-line argument
  // keeps it hidden. It is freed below whether or not the windows get made.

  const auto mainForm = std::make_unique<app::MainForm>();
  // Shown over the main window; destroyed before it.
  const auto aboutBox = std::make_unique<app::Formabout>(mainForm.get());
  const auto examplePrices = std::make_unique<app::Tprezzi>(mainForm.get());
  // The splash window is freed here.

  mainForm->show();
  return application.exec();
}
