#pragma once

#include <QDialog>
#include <QSpinBox>
#include <QStringList>

#include <functional>

#include "report/ui/print_command.h"
#include "report/ui/print_dialog.h"

namespace report::testing {

// The command with its dialog answered by the test instead of a person.
class AnsweredPrint : public PrintCommand {
 public:
  using PrintCommand::PrintCommand;
  std::function<bool(PrintDialog&)> answer = [](PrintDialog& dialog) {
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
  };
  QStringList errors;
  QStringList dialogCopies;  // what each dialog showed in "Number of copies"
  QString file;

 protected:
  bool ExecDialog(PrintDialog& dialog) override {
    dialog.ChooseFile = [this](QWidget*, const QString&, const QString&) { return file; };
    dialogCopies.append(dialog.findChild<QSpinBox*>(QStringLiteral("CopiesE"))->text());
    return answer(dialog);
  }
  void ShowError(const QString& text) override { errors.append(text); }
};

}  // namespace report::testing
