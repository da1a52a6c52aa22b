#include "data_safety.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "application.h"
#include "export_dialog.h"
#include "file_chooser.h"
#include "import_preview_dialog.h"
#include "loads/table_csv.h"
#include "prompter.h"
#include "restore_dialog.h"

namespace app {

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString FolderOf(const loads::LoadTable& table) { return QFileInfo(table.FilePath()).absolutePath(); }

loads::Status WriteWhole(const QString& path, const QByteArray& bytes) {
  // Written beside the target and moved over it only when complete: a full
  // disk never leaves half a file where a good one was.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return loads::Status::Failed(
        QStringLiteral("Impossibile scrivere il file \"%1\": %2.").arg(Shown(path), file.errorString()));
  }
  return loads::Status::Ok();
}

}  // namespace

DataSafety::DataSafety(QWidget* window, loads::LoadTable* pistol, loads::LoadTable* rifle)
    : QObject(window),
      m_window(window),
      m_pistol(pistol),
      m_rifle(rifle),
      m_atExit(FolderOf(*pistol), {pistol->FilePath(), rifle->FilePath()}) {}

QString DataSafety::TableName(const loads::LoadTable& table) const {
  return &table == m_rifle ? QStringLiteral("Fucile") : QStringLiteral("Pistola");
}

void DataSafety::ExportTable(loads::LoadTable& table) {
  // A change being edited belongs in the file, as leaving the record would write it.
  if (const loads::Status settled = table.CheckBrowseMode(); !settled) {
    ShowStandardError(settled.Message());
    return;
  }
  const QString name = TableName(table);
  ExportDialog choice(name, table.RecordCount(), table.Regional(), m_window);
  if (choice.exec() != QDialog::Accepted) return;

  const QString suggested =
      QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name + QStringLiteral(".csv"));
  const QString path =
      FileChoices().SaveCsvFile(m_window, QStringLiteral("Esporta la Tabella %1").arg(name), suggested);
  if (path.isEmpty()) return;

  const QByteArray bytes = loads::ExportCsv(table, loads::LayoutFor(choice.Form(), table.Regional()));
  if (const loads::Status written = WriteWhole(path, bytes); !written) {
    ShowStandardError(written.Message());
    return;
  }
  Prompts().Message(QStringLiteral("Tabella %1 esportata: %2 record nel file \"%3\".")
                        .arg(name)
                        .arg(table.RecordCount())
                        .arg(Shown(path)));
}

void DataSafety::ImportIntoTable(loads::LoadTable& table) {
  if (const loads::Status settled = table.CheckBrowseMode(); !settled) {
    ShowStandardError(settled.Message());
    return;
  }
  const QString name = TableName(table);
  const QString path = FileChoices().OpenCsvFile(m_window, QStringLiteral("Importa nella Tabella %1").arg(name));
  if (path.isEmpty()) return;

  const QFileInfo info(path);
  QFile file(path);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
    ShowStandardError(QStringLiteral("Impossibile leggere il file \"%1\": %2.")
                          .arg(Shown(path), info.isFile() ? file.errorString() : QStringLiteral("non è un file")));
    return;
  }
  if (info.size() > loads::kMaxImportBytes) {
    ShowStandardError(QStringLiteral("Il file \"%1\" è troppo grande per essere importato (più di %2 MB).")
                          .arg(Shown(path))
                          .arg(loads::kMaxImportBytes / (1024 * 1024)));
    return;
  }
  ImportPreviewDialog preview(name, Shown(path), file.readAll(), table.Fields(), table.Regional(), m_window);
  file.close();
  if (preview.exec() != QDialog::Accepted) return;

  std::vector<std::vector<QVariant>> records;
  records.reserve(preview.Plan().rows.size());
  for (const loads::ImportRow& row : preview.Plan().rows) records.push_back(row.values);
  if (const loads::Status added = table.AppendRecords(records); !added) {
    ShowStandardError(added.Message() + QStringLiteral(" Nessun record è stato aggiunto."));
    return;
  }
  Prompts().Message(QStringLiteral("Aggiunti %1 record alla Tabella %2.").arg(records.size()).arg(name));
}

void DataSafety::RestoreBackup() {
  loads::BackupStore& store = m_atExit.Store();
  std::vector<RestoreDialog::Entry> entries;
  std::vector<loads::LoadTable*> tables;
  for (loads::LoadTable* table : {m_pistol, m_rifle}) {
    for (const loads::BackupFile& backup : store.List(QFileInfo(table->FilePath()).fileName())) {
      entries.push_back({TableName(*table), backup, loads::RecordCountOf(backup.path)});
      tables.push_back(table);
    }
  }
  if (entries.empty()) {
    Prompts().Message(QStringLiteral("Non c'è ancora nessuna copia di sicurezza nella cartella \"%1\". Le copie "
                                     "si fanno all'uscita dal programma, quando i dati sono cambiati.")
                          .arg(Shown(store.Folder())));
    return;
  }
  RestoreDialog list(entries, m_window);
  if (list.exec() != QDialog::Accepted || list.Chosen() < 0) return;
  const RestoreDialog::Entry& chosen = entries[static_cast<std::size_t>(list.Chosen())];
  loads::LoadTable& table = *tables[static_cast<std::size_t>(list.Chosen())];

  if (!Prompts().Question(QStringLiteral("Ripristinare la Tabella %1 com'era il %2?\nI dati attuali della "
                                         "tabella saranno prima salvati in una nuova copia di sicurezza.")
                              .arg(chosen.tableName, BackupTimeText(chosen.backup)),
                          QStringLiteral("Ripristina Copia di Sicurezza"))) {
    return;
  }
  // The table lets go of the file while it is replaced, and reads it anew after.
  const bool wasOpen = table.Active();
  if (wasOpen) {
    if (const loads::Status settled = table.CheckBrowseMode(); !settled) {
      ShowStandardError(settled.Message());
      return;
    }
    table.Close();
  }
  QString safety;
  const loads::Status restored = store.Restore(chosen.backup, table.FilePath(), &safety);
  if (wasOpen) {
    if (const loads::Status opened = table.Open(); !opened) ShowStandardError(opened.Message());
  }
  if (!restored) {
    ShowStandardError(restored.Message());
    return;
  }
  QString text = QStringLiteral("Tabella %1 ripristinata dalla copia del %2.").arg(chosen.tableName, BackupTimeText(chosen.backup));
  if (!safety.isEmpty()) text += QStringLiteral("\nI dati di prima sono nel file \"%1\".").arg(Shown(safety));
  Prompts().Message(text);
}

bool DataSafety::BackUpAtExit() {
  const loads::Status saved = m_atExit.BackUpChanged();
  if (saved) return true;
  return Prompts().Question(
      QStringLiteral("Non è stato possibile fare la copia di sicurezza dei dati:\n%1\n\nI file dei dati "
                     "non sono stati toccati. Uscire comunque?")
          .arg(saved.Message()),
      QStringLiteral("Copia di Sicurezza"));
}

}  // namespace app
