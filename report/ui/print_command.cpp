#include "report/ui/print_command.h"

#include <QMessageBox>

#include "report/ui/print_dialog.h"
#include "report/ui/print_messages.h"
#include "report/ui/print_progress.h"
#include "report/ui/rep_resources.h"

namespace report {

PrintCommand::PrintCommand(QWidget* parent, PrinterList& printers) : m_parent(parent), m_printers(printers) {}

bool PrintCommand::ExecDialog(PrintDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

void PrintCommand::ShowError(const QString& text) {
  QMessageBox::critical(m_parent, RepResources::Text("clError"), text);
}

bool PrintCommand::Print(const PrintPageSource& pages, PrintJobOptions& options, int currentPage, const QString& title) {
  if (!m_printers.HasPhysicalPrinter()) {
    ShowError(RepResources::Text("clNoPrinters"));
    return false;
  }
  // The dialog's choices are for this job: the options go back as they were.
  const PrintJobOptions kept = options;
  const auto restore = [&] { options = kept; };
  m_printers.SelectByName(options.Printer);

  PrintRequest request;
  request.options = options;
  if (options.ShowDialog) {
    PrintDialog dialog(m_printers, options, currentPage, pages.PageCount(), m_parent);
    dialog.ShowError = [this](QWidget*, const QString& text) { ShowError(text); };
    if (!ExecDialog(dialog)) {
      restore();
      return false;
    }
    request.options = dialog.Options();
    request.outputFile = dialog.OutputFile();
  }
  request.printer = m_printers.Current();
  request.title = title;

  PrintProgressWindow progress(m_parent);
  progress.show();
  const PrintResult result = PrintPreparedPages(pages, request, &progress);
  progress.close();
  restore();

  const QString message = PrintResultMessage(result, request, pages.PageCount());
  if (!message.isEmpty()) ShowError(message);
  return result.sidesPrinted > 0 &&
         (result.status == PrintResult::Status::kPrinted || result.status == PrintResult::Status::kCancelled);
}

}  // namespace report
