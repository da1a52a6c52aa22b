#include "loads/data_folder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace loads {

QString DefaultDataFolder() {
  // The generic location plus our own names gives the same folder as the
  // application's data location under organisation "Calvenor" and application
  // "Versanto", also in programs (tests, tools) that carry other names.
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return QDir(base).filePath(QStringLiteral("Calvenor/Versanto"));
}

Status EnsureWritableFolder(const QString& folder) {
  const QString shown = QDir::toNativeSeparators(folder);
  if (!QDir().mkpath(folder)) {
    return Status::Failed(
        QStringLiteral("Impossibile creare la cartella dei dati \"%1\".").arg(shown));
  }
  // Permission bits do not tell the whole truth (read-only mounts, ACLs):
  // only a file that really gets created does.
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".versanto-probe-XXXXXX")));
  if (!probe.open()) {
    return Status::Failed(QStringLiteral("La cartella dei dati \"%1\" non è scrivibile: %2.")
                              .arg(shown, probe.errorString()));
  }
  return Status::Ok();
}

}  // namespace loads
