#include "file_chooser.h"

#include <QFileDialog>
#include <QStandardPaths>

namespace app {

namespace {

FileChooser* g_current = nullptr;

QString Filter() { return QStringLiteral("File CSV (*.csv);;Tutti i file (*)"); }

}  // namespace

QString FileChooser::SaveCsvFile(QWidget* parent, const QString& caption, const QString& suggested) {
  QFileDialog dialog(parent, caption, suggested, Filter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

QString FileChooser::OpenCsvFile(QWidget* parent, const QString& caption) {
  QFileDialog dialog(parent, caption,
                     QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), Filter());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

FileChooser& FileChoices() {
  static FileChooser standard;
  return g_current != nullptr ? *g_current : standard;
}

ScopedFileChooser::ScopedFileChooser(FileChooser& replacement) : m_previous(g_current) {
  g_current = &replacement;
}

ScopedFileChooser::~ScopedFileChooser() { g_current = m_previous; }

}  // namespace app
