// screenshot [--data-dir DIR] OUT.png
//
// Starts the main window on the load data of DIR (by default the user's data
// folder, created and seeded when missing), without the splash, and writes a
// picture of the window (menu, tool bar and status bar included, the frame
// left out) to OUT.png. Scripts rely on this command line.
#include <QDir>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "application.h"
#include "loads/data_folder.h"
#include "main_form.h"
#include "window_image.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: screenshot [--data-dir DIR] OUT.png\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  app::Application application(argc, argv);
  application.SetTitle(QString::fromLatin1(app::kApplicationTitle));

  QStringList args = QCoreApplication::arguments().mid(1);
  QString dataFolder = loads::DefaultDataFolder();
  if (args.size() >= 2 && args[0] == QLatin1String("--data-dir")) {
    dataFolder = args[1];
    args = args.mid(2);
  }
  if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) return Usage();
  const QString out = args[0];
  // The command line names the picture file, not a picture folder.
  app::SetPictureFolderArgument(QString());

  const auto form = std::make_unique<app::MainForm>(QDir(dataFolder).absolutePath());
  form->show();
  int result = 1;
  // Take the picture once the window has been laid out and painted.
  QTimer::singleShot(200, form.get(), [&] {
    const QImage picture = app::WindowImage(*form);
    if (picture.save(out)) {
      result = 0;
    } else {
      std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(out));
    }
    QCoreApplication::quit();
  });
  QCoreApplication::exec();
  return result;
}
