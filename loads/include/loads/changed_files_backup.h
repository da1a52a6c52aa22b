#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "loads/backup_store.h"
#include "loads/status.h"

namespace loads {

// Remembers what the data files held when it was made (the program's start),
// so that at exit only a file that changed gets a new backup.
class ChangedFilesBackup {
 public:
  ChangedFilesBackup(const QString& dataFolder, const QStringList& dataFiles,
                     int kept = kBackupsKept);

  // Backs up every file whose contents differ from those at start or at its
  // last backup here. The data files are only read. On failure, one line per
  // file that could not be backed up.
  Status BackUpChanged();

  BackupStore& Store() { return m_store; }

 private:
  struct Watched {
    QString file;
    QByteArray fingerprint;  // empty: the file did not exist
  };
  BackupStore m_store;
  std::vector<Watched> m_files;
};

}  // namespace loads
