#pragma once

#include <QDialog>

#include <optional>
#include <vector>

#include "loads/backup_store.h"

class QTreeWidget;
class QPushButton;

namespace app {

// Lists the backups of both tables, newest first, for the user to pick one.
class RestoreDialog : public QDialog {
  Q_OBJECT

 public:
  struct Entry {
    QString tableName;
    loads::BackupFile backup;
    std::optional<qint64> records;  // nothing: the copy cannot be read
  };

  explicit RestoreDialog(const std::vector<Entry>& entries, QWidget* parent = nullptr);

  // The index into the entries; -1 when none is chosen.
  int Chosen() const;

 private:
  QTreeWidget* m_list;
  QPushButton* m_restore;
};

// How a backup's time is shown: local time, day first.
QString BackupTimeText(const loads::BackupFile& backup);

}  // namespace app
