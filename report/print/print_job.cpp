#include "report/print/print_job.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include "report/print/page_numbers.h"
#include "report/print/page_sequence.h"
#include "report/print/printer_list.h"
#include "report/print/sheet_layout.h"

#if VERSANTO_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace report {

namespace {

constexpr double kReportUnitsPerInch = 96.0;
constexpr double kMmPerInch = 25.4;

using Status = PrintResult::Status;

Duplex JobDuplex(const PrintJobOptions& options, const PagePaper& firstPage) {
  return options.Duplex != Duplex::dmDefault ? options.Duplex : firstPage.Duplex;
}

struct Drawn {
  int sides = 0;
  bool cancelled = false;
};

// Draws the sides on a device that is already laid out for the first one.
// The painter is ended on return.
Drawn DrawSides(QPagedPaintDevice& device, const std::vector<Side>& sides, const PrintPageSource& source,
                PrintProgress* progress) {
  Drawn drawn;
  QPainter painter;
  for (size_t i = 0; i < sides.size(); ++i) {
    if (progress != nullptr && progress->Terminated()) {
      drawn.cancelled = true;
      break;
    }
    const Side& side = sides[i];
    if (i == 0) {
      if (!painter.begin(&device)) break;
      painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    } else {
      // Only a change of paper goes to the device, as a printer would want.
      if (!(side.layout == sides[i - 1].layout)) device.setPageLayout(side.layout);
      if (!device.newPage()) break;
    }
    // The device's origin is the paper's corner (no margins), so positions
    // measured from the paper's edge land where the page was designed.
    const double dotsPerMmX = painter.device()->logicalDpiX() / kMmPerInch;
    const double dotsPerMmY = painter.device()->logicalDpiY() / kMmPerInch;
    for (const Placement& place : side.placements) {
      painter.save();
      painter.setClipRect(QRectF(place.clipMm.left() * dotsPerMmX, place.clipMm.top() * dotsPerMmY,
                                 place.clipMm.width() * dotsPerMmX, place.clipMm.height() * dotsPerMmY));
      source.DrawPage(place.page - 1, painter,
                      painter.device()->logicalDpiX() / kReportUnitsPerInch * place.scale,
                      painter.device()->logicalDpiY() / kReportUnitsPerInch * place.scale,
                      QPointF(place.originMm.x() * dotsPerMmX, place.originMm.y() * dotsPerMmY));
      painter.restore();
    }
    ++drawn.sides;
    if (progress != nullptr) {
      for (const Placement& place : side.placements) progress->PagePrinted(place.page);
    }
  }
  if (painter.isActive()) painter.end();
  return drawn;
}

void StartPdf(QPdfWriter& writer, const std::vector<Side>& sides, const PrinterEntry& printer, const QString& title) {
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Versanto"));
  writer.setResolution(printer.dpi.x());
  writer.setPageLayout(sides.front().layout);
}

PrintResult ToFile(const std::vector<Side>& sides, const PrintPageSource& source, const PrintRequest& request,
                   const PrinterEntry& printer, PrintProgress* progress) {
  // QSaveFile writes beside the target and renames at commit: a failed or
  // stopped job leaves no half-written file, and an old one stays as it was.
  QSaveFile file(request.outputFile);
  if (!file.open(QIODevice::WriteOnly)) return {Status::kCannotWriteFile, file.errorString(), 0};
  Drawn drawn;
  {
    QPdfWriter writer(&file);
    StartPdf(writer, sides, printer, request.title);
    drawn = DrawSides(writer, sides, source, progress);
  }
  if (drawn.cancelled) {
    file.cancelWriting();
    return {Status::kCancelled, {}, drawn.sides};
  }
  if (drawn.sides != static_cast<int>(sides.size()) || !file.commit()) {
    file.cancelWriting();
    return {Status::kCannotWriteFile, file.errorString(), 0};
  }
  return {Status::kPrinted, {}, drawn.sides};
}

#if VERSANTO_HAVE_CUPS
const char* SidesOption(Duplex duplex) {
  switch (duplex) {
    case Duplex::dmVertical: return "two-sided-long-edge";
    case Duplex::dmHorizontal: return "two-sided-short-edge";
    case Duplex::dmSimplex: return "one-sided";
    case Duplex::dmDefault: break;
  }
  return nullptr;
}

// Drawn into a PDF laid out side by side, then handed to the queue through
// the print system itself, because Qt's submission does not say whether the
// queue took the job.
PrintResult ToQueue(const std::vector<Side>& sides, const PrintPageSource& source, const PrintRequest& request,
                    const PrinterEntry& printer, Duplex duplex, PrintProgress* progress) {
  const QTemporaryDir folder;
  if (!folder.isValid()) return {Status::kPrinterFailed, folder.errorString(), 0};
  const QString path = folder.filePath(QStringLiteral("job.pdf"));
  Drawn drawn;
  {
    QPdfWriter writer(path);
    StartPdf(writer, sides, printer, request.title);
    drawn = DrawSides(writer, sides, source, progress);
  }
  if (drawn.sides == 0) return {drawn.cancelled ? Status::kCancelled : Status::kPrinterFailed, {}, 0};
  if (!drawn.cancelled && drawn.sides != static_cast<int>(sides.size())) return {Status::kPrinterFailed, {}, 0};

  // Pages drawn before a cancel are sent, as a spooler would have them already.
  const QByteArray queue = printer.name.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
  const QByteArray file = path.toLocal8Bit();
  const QByteArray title = request.title.toUtf8();
  cups_option_t* options = nullptr;
  int count = 0;
  if (const char* value = SidesOption(duplex)) count = cupsAddOption("sides", value, count, &options);
  const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), file.constData(), title.constData(), count, options);
  cupsFreeOptions(count, options);
  if (job <= 0) return {Status::kPrinterFailed, QString::fromUtf8(cupsLastErrorString()), 0};
  return {drawn.cancelled ? Status::kCancelled : Status::kPrinted, {}, drawn.sides};
}
#else
QPrinter::DuplexMode QtDuplex(Duplex duplex) {
  switch (duplex) {
    case Duplex::dmVertical: return QPrinter::DuplexLongSide;
    case Duplex::dmHorizontal: return QPrinter::DuplexShortSide;
    case Duplex::dmSimplex: return QPrinter::DuplexNone;
    case Duplex::dmDefault: break;
  }
  return QPrinter::DuplexAuto;
}

PrintResult ToQueue(const std::vector<Side>& sides, const PrintPageSource& source, const PrintRequest& request,
                    const PrinterEntry& printer, Duplex duplex, PrintProgress* progress) {
  QPrinter device(QPrinterInfo::printerInfo(printer.name), QPrinter::HighResolution);
  device.setDocName(request.title);
  device.setFullPage(true);
  if (duplex != Duplex::dmDefault) device.setDuplex(QtDuplex(duplex));
  device.setPageLayout(sides.front().layout);
  const Drawn drawn = DrawSides(device, sides, source, progress);
  if (device.printerState() == QPrinter::Error) return {Status::kPrinterFailed, {}, 0};
  return {drawn.cancelled ? Status::kCancelled : Status::kPrinted, {}, drawn.sides};
}
#endif

}  // namespace

PrintResult PrintPreparedPages(const PrintPageSource& source, const PrintRequest& request, PrintProgress* progress) {
  const PrinterEntry& printer = request.printer;
  if (printer.isVirtual || printer.name.isEmpty()) return {Status::kNoPrinter, printer.name, 0};

  const PrintJobOptions& options = request.options;
  const int pageCount = source.PageCount();
  const PageSelection selection = ParsePageNumbers(options.PageNumbers, pageCount);
  if (selection.error) {
    return {selection.error->kind == PageNumbersError::Kind::kNotANumber ? Status::kBadPageNumbers
                                                                         : Status::kNothingToPrint,
            selection.error->text, 0};
  }
  std::vector<PagePaper> papers;
  papers.reserve(static_cast<size_t>(pageCount));
  for (int page = 0; page < pageCount; ++page) papers.push_back(source.PaperOf(page));

  const Duplex duplex = JobDuplex(options, papers.front());
  SequenceOptions order;
  order.Copies = options.Copies;
  order.Collate = options.Collate;
  order.Reverse = options.Reverse;
  order.PrintPages = options.PrintPages;
  order.TwoSided = duplex == Duplex::dmVertical || duplex == Duplex::dmHorizontal;
  const std::vector<int> sequence = PageSequence(selection.pages, order);
  if (sequence.empty()) return {Status::kNothingToPrint, options.PageNumbers, 0};

  SheetRules rules;
  rules.PrintMode = options.PrintMode;
  // Split uses the printer's own paper; join and scale the chosen one, or
  // the printer's when none is chosen.
  rules.sheetMm = printer.paper.sizeMm;
  if (options.PrintMode != PrintMode::pmSplit && options.PrintOnSheet != 0) {
    for (const PaperName& paper : printer.papers) {
      if (paper.code == options.PrintOnSheet) rules.sheetMm = paper.sizeMm;
    }
  }
  const std::vector<Side> sides = LayOutSides(sequence, papers, rules);

  if (!request.outputFile.isEmpty()) return ToFile(sides, source, request, printer, progress);
  return ToQueue(sides, source, request, printer, duplex, progress);
}

}  // namespace report
