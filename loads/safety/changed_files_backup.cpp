#include "loads/changed_files_backup.h"

#include <QCryptographicHash>
#include <QFile>

namespace loads {

namespace {

// The bytes of the file and of its write-ahead log, if it has one: a change
// committed there has not reached the file itself yet.
QByteArray Fingerprint(const QString& file) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  bool any = false;
  for (const QString& part : {file, file + QStringLiteral("-wal")}) {
    QFile f(part);
    if (!f.open(QIODevice::ReadOnly)) continue;
    any = true;
    hash.addData(part.toUtf8());
    hash.addData(&f);
  }
  return any ? hash.result() : QByteArray();
}

}  // namespace

ChangedFilesBackup::ChangedFilesBackup(const QString& dataFolder, const QStringList& dataFiles, int kept)
    : m_store(dataFolder, kept) {
  for (const QString& file : dataFiles) m_files.push_back({file, Fingerprint(file)});
}

Status ChangedFilesBackup::BackUpChanged() {
  QStringList failures;
  for (Watched& watched : m_files) {
    const QByteArray now = Fingerprint(watched.file);
    if (now.isEmpty() || now == watched.fingerprint) continue;
    if (Status taken = m_store.TakeBackup(watched.file); !taken) {
      failures << taken.Message();
      continue;
    }
    watched.fingerprint = now;
  }
  if (failures.isEmpty()) return Status::Ok();
  return Status::Failed(failures.join(QLatin1Char('\n')));
}

}  // namespace loads
