#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace app {

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QString BesideProgram(const QString& name) {
  const QDir folder(ProgramFolder());
  const QString local = folder.filePath(name);
  if (QFileInfo::exists(local)) return local;
  const QString installed = folder.filePath(QStringLiteral("../share/versanto/") + name);
  if (QFileInfo::exists(installed)) return QDir::cleanPath(installed);
  return local;
}

}  // namespace app
