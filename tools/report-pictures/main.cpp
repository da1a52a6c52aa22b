// report-pictures --photo OUT.jpg
// report-pictures --icon SVG OUT.ico
//
// Writes the pictures the cost-list templates hold: the footer photograph
// (1024 x 768 JPEG) and the program's icon at every size in one icon file.
// resources/reports/ keeps their output; run it again after changing the
// drawing or the program's SVG icon.
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QString>

#include <cstdio>

#include "footer_photo.h"
#include "ico_writer.h"
#include "program_icon.h"

namespace {

constexpr int kPhotoQuality = 88;

int Usage() {
  std::fprintf(stderr, "usage: report-pictures --photo OUT.jpg\n"
                       "       report-pictures --icon SVG OUT.ico\n");
  return 2;
}

bool WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
  // QSvgRenderer and the JPEG writer plug-in need a Gui application; no window is shown.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList args = application.arguments();
  if (args.size() == 3 && args[1] == QLatin1String("--photo")) {
    QImageWriter writer(args[2], "jpeg");
    writer.setQuality(kPhotoQuality);
    if (!writer.write(report_pictures::FooterPhoto())) {
      std::fprintf(stderr, "report-pictures: cannot write %s: %s\n", qPrintable(args[2]),
                   qPrintable(writer.errorString()));
      return 1;
    }
    return 0;
  }
  if (args.size() == 4 && args[1] == QLatin1String("--icon")) {
    const QByteArray icon = report_pictures::IcoFile(report_pictures::ProgramIconPictures(args[2]));
    if (icon.isEmpty()) {
      std::fprintf(stderr, "report-pictures: %s is not a readable SVG picture\n",
                   qPrintable(args[2]));
      return 1;
    }
    if (!WriteFile(args[3], icon)) {
      std::fprintf(stderr, "report-pictures: cannot write %s\n", qPrintable(args[3]));
      return 1;
    }
    return 0;
  }
  return Usage();
}
