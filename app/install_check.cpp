#include "install_check.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "application.h"
#include "beside_program_items.h"
#include "program_folder.h"
#include "qt_texts.h"

namespace app {

namespace {

constexpr int kNameWidth = 20;  // characters

void WriteLine(QTextStream& out, const QString& name, const QString& where) {
  out << name.leftJustified(kNameWidth) << ' ' << where << '\n';
}

}  // namespace

bool IsInstallCheck(int argc, char** argv) {
  return argc == 2 && std::strcmp(argv[1], kCheckInstallOption) == 0;
}

int CheckInstall(int& argc, char** argv) {
  const QCoreApplication application(argc, argv);
  QTextStream out(stdout);
  return CheckInstall(out);
}

int CheckInstall(QTextStream& out) {
  QStringList missing;
  out << "Voce del desktop: " << kDesktopEntryId << ".desktop\n";

  for (const char* item : kBesideProgramItems) {
    const QString name = QString::fromUtf8(item);
    const QString path = BesideProgram(name);
    if (QFileInfo::exists(path)) {
      WriteLine(out, name, path);
    } else {
      WriteLine(out, name, QStringLiteral("manca"));
      missing << name;
    }
  }

  const QStringList installed = InstallItalianQtTexts();
  for (const QString& catalogue : ItalianQtCatalogues()) {
    const QString name = catalogue + QStringLiteral("_it.qm");
    const auto found = std::find_if(installed.cbegin(), installed.cend(), [&](const QString& file) {
      return QFileInfo(file).fileName() == name;
    });
    if (found != installed.cend()) {
      WriteLine(out, name, *found);
    } else {
      WriteLine(out, name, QStringLiteral("manca (in %1)").arg(QtTranslationsFolder()));
      missing << name;
    }
  }

  if (missing.isEmpty()) {
    out << "Installazione completa.\n";
    return 0;
  }
  out << "Installazione incompleta: manca " << missing.join(QStringLiteral(", ")) << ".\n";
  return 1;
}

}  // namespace app
