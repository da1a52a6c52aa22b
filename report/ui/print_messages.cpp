#include "report/ui/print_messages.h"

#include "report/ui/rep_resources.h"

namespace report {

QString NotAnIntegerMessage(const QString& text) {
  return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString NotANumberMessage(const QString& text) {
  return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString PageNumbersMessage(const PageNumbersError& error, int pageCount) {
  if (error.kind == PageNumbersError::Kind::kNotANumber) return NotAnIntegerMessage(error.text);
  return QStringLiteral("There is no page to print in \"%1\": the report has pages 1 to %2")
      .arg(error.text)
      .arg(pageCount);
}

QString PrintResultMessage(const PrintResult& result, const PrintRequest& request, int pageCount) {
  using Status = PrintResult::Status;
  switch (result.status) {
    case Status::kPrinted:
    case Status::kCancelled:
      return {};
    case Status::kBadPageNumbers:
      return NotAnIntegerMessage(result.detail);
    case Status::kNothingToPrint:
      return QStringLiteral("There is no page to print among the pages chosen (%1) of the %2 pages of the report")
          .arg(request.options.PageNumbers.isEmpty() ? QStringLiteral("all") : request.options.PageNumbers)
          .arg(pageCount);
    case Status::kNoPrinter:
      return RepResources::Text("clNoPrinters");
    case Status::kCannotWriteFile:
      return QStringLiteral("Cannot write the file \"%1\": %2. Nothing has been written.")
          .arg(request.outputFile, result.detail);
    case Status::kPrinterFailed:
      return QStringLiteral("The printer \"%1\" did not take the job%2")
          .arg(request.printer.name, result.detail.isEmpty() ? QString() : QStringLiteral(": ") + result.detail);
  }
  return {};
}

}  // namespace report
