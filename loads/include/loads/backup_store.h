#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

#include "loads/status.h"

namespace loads {

inline constexpr char kBackupFolderName[] = "backups";
inline constexpr int kBackupsKept = 10;  // per data file

// Copies the database `sourceFile` into `targetFile` with SQLite's online
// backup, through connections of its own. The copy is a consistent snapshot
// of what was committed, also while the program's own connection (or another
// program) has the file open; `targetFile` is written as one transaction.
Status CopyDatabase(const QString& sourceFile, const QString& targetFile);

// Ok when SQLite's integrity check of `file` says "ok"; otherwise what it found.
Status CheckIntegrity(const QString& file);

// The number of records of the load table in `file`; nothing when the file
// has no such table or cannot be read.
std::optional<qint64> RecordCountOf(const QString& file);

struct BackupFile {
  QString path;
  QDateTime taken;     // UTC
  qint64 sequence = 0; // grows with every backup of the same data file
};

// The folder `backups` beside the data files and what is in it. Each backup
// of a data file "Versanto.sqlite" is a file
// "Versanto-<yyyyMMdd>-<HHmmss>-<sequence>.sqlite" (time in UTC). The order
// is that of the sequence number, so a clock set back never makes a new
// backup look older than the ones it should outlive. Files of any other name
// are never touched.
class BackupStore {
 public:
  explicit BackupStore(const QString& dataFolder, int kept = kBackupsKept);

  const QString& Folder() const { return m_folder; }

  // A new, checked backup of `dataFile`; then only the newest `kept` backups
  // of that file remain. `dataFile` is only read. `made` receives the path.
  Status TakeBackup(const QString& dataFile, QString* made = nullptr);

  // The backups of the data file named `dataFileName`, newest first.
  std::vector<BackupFile> List(const QString& dataFileName) const;

  // Puts the contents of `backup` into `dataFile` through SQLite, after
  // saving the present contents of `dataFile` as a new backup (a file that
  // is not a database is moved aside into the folder instead). A damaged
  // backup is refused before anything is changed. Nobody may be reading the
  // data file through a table meanwhile: close the table first.
  // `safety` receives the path of what the present contents were saved as.
  Status Restore(const BackupFile& backup, const QString& dataFile, QString* safety = nullptr);

 private:
  Status EnsureFolder() const;
  Status MakeBackup(const QString& dataFile, bool requireIntact, QString& made) const;
  Status SetAside(const QString& dataFile, QString& moved) const;
  void Prune(const QString& dataFileName, const QString& keep) const;

  QString m_folder;
  int m_kept;
};

}  // namespace loads
