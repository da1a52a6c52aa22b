#pragma once

#include <QString>

class QWidget;

namespace app {

// The file dialogs of the data commands. Commands ask through FileChoices(),
// so that tests can answer without a person at the screen.
class FileChooser {
 public:
  virtual ~FileChooser() = default;

  // A CSV file to write (".csv" added when no suffix is given); empty when
  // the user gives up.
  virtual QString SaveCsvFile(QWidget* parent, const QString& caption, const QString& suggested);
  // An existing file to read; empty when the user gives up.
  virtual QString OpenCsvFile(QWidget* parent, const QString& caption);
};

FileChooser& FileChoices();

// Puts another chooser in place for its lifetime (tests).
class ScopedFileChooser {
 public:
  explicit ScopedFileChooser(FileChooser& replacement);
  ~ScopedFileChooser();
  ScopedFileChooser(const ScopedFileChooser&) = delete;
  ScopedFileChooser& operator=(const ScopedFileChooser&) = delete;

 private:
  FileChooser* m_previous;
};

}  // namespace app
