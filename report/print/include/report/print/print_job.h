#pragma once

#include <QPointF>
#include <QString>

#include "report/print/page_paper.h"
#include "report/print/print_options.h"
#include "report/print/printer_list.h"

class QPainter;

namespace report {

// What the print loop needs of prepared pages: how many, each page's paper,
// and the page drawing the preview uses too.
class PrintPageSource {
 public:
  virtual ~PrintPageSource() = default;
  virtual int PageCount() const = 0;
  // page: from 0
  virtual PagePaper PaperOf(int page) const = 0;
  // Draws page `page` (from 0) with report units (1/96 inch) multiplied by
  // scaleX and scaleY, shifted by offset (device pixels).
  virtual void DrawPage(int page, QPainter& painter, double scaleX, double scaleY, QPointF offset) const = 0;
};

// Told about every page and asked, before each one, whether to stop. The
// window that shows the progress processes pending events in PagePrinted so
// that its Cancel button works.
class PrintProgress {
 public:
  virtual ~PrintProgress() = default;
  virtual void PagePrinted(int pageNo) = 0;  // pageNo: from 1
  virtual bool Terminated() const = 0;
};

struct PrintRequest {
  PrinterEntry printer; // from the printer list; the substitute "Virtual" prints nothing
  QString title;        // the job's title: the report's name
  QString outputFile;   // print to file when not empty
  PrintJobOptions options;
};

struct PrintResult {
  enum class Status {
    kPrinted,
    kCancelled,       // the user stopped the job; pages already sent stay printed
    kBadPageNumbers,  // `error` says which part
    kNothingToPrint,  // the selection and the odd/even filter leave no page
    kNoPrinter,
    kCannotWriteFile, // print to file: nothing is left at the chosen name
    kPrinterFailed,   // the print system did not take the job; `detail` says why
  };
  Status status = Status::kPrinted;
  QString detail;
  int sidesPrinted = 0;
};

// Prints the pages of `source` in one job, in the order and with the
// options of the request. Printing to a file writes the job's output (PDF,
// what the queues take) to a temporary name beside the file and renames it
// only once the job is complete.
PrintResult PrintPreparedPages(const PrintPageSource& source, const PrintRequest& request, PrintProgress* progress);

}  // namespace report
