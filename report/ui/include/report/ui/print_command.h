#pragma once

#include <QString>

#include "report/print/print_job.h"
#include "report/print/printer_list.h"

class QWidget;

namespace report {

class PrintDialog;

// The preview's print command: dialog, page list, progress window and the
// job. The options the dialog changes apply to this job only; the printer
// chosen stays current.
class PrintCommand {
 public:
  explicit PrintCommand(QWidget* parent, PrinterList& printers = PrinterList::Instance());
  virtual ~PrintCommand() = default;

  // Returns whether anything was printed. currentPage: the preview's, from 1;
  // title: the report's name, the job's title.
  bool Print(const PrintPageSource& pages, PrintJobOptions& options, int currentPage, const QString& title);

 protected:
  // Runs the dialog modally; true for OK.
  virtual bool ExecDialog(PrintDialog& dialog);
  virtual void ShowError(const QString& text);

 private:
  QWidget* m_parent;
  PrinterList& m_printers;
};

}  // namespace report
