#pragma once

#include <QObject>
#include <QString>

#include "loads/changed_files_backup.h"
#include "loads/load_table.h"

class QWidget;

namespace app {

// The commands that keep and move the load data: the backup at exit, the
// restore of a backup, the export of a table to CSV and the import from it.
// Messages go through Prompts(), files are chosen through FileChoices().
class DataSafety : public QObject {
  Q_OBJECT

 public:
  // Made before the tables are opened: what the files hold then is what a
  // change at exit is measured against.
  DataSafety(QWidget* window, loads::LoadTable* pistol, loads::LoadTable* rifle);

  void ExportTable(loads::LoadTable& table);
  void ImportIntoTable(loads::LoadTable& table);
  void RestoreBackup();

  // Backs up the files that changed since start; runs after the pending
  // edits are written. When a backup cannot be made the user is told and
  // asked whether to end anyway; false keeps the program running.
  bool BackUpAtExit();

 private:
  QString TableName(const loads::LoadTable& table) const;

  QWidget* m_window;
  loads::LoadTable* m_pistol;
  loads::LoadTable* m_rifle;
  loads::ChangedFilesBackup m_atExit;
};

}  // namespace app
