#include "window_print.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#if VERSANTO_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace app {

namespace {

bool DrawPage(QPrinter& printer, const QImage& image, QSizeF screenDpi) {
  if (image.isNull() || screenDpi.width() <= 0 || screenDpi.height() <= 0) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // printer pixels
  QSizeF size(image.width() * printer.logicalDpiX() / screenDpi.width(),
              image.height() * printer.logicalDpiY() / screenDpi.height());
  const QSizeF page = painter.viewport().size();  // the printable area, printer pixels
  if (size.width() > page.width() || size.height() > page.height()) {
    size.scale(page, Qt::KeepAspectRatio);
  }
  painter.drawImage(QRectF(QPointF(0, 0), size), image);
  return painter.end();
}

#if VERSANTO_HAVE_CUPS
// The print system's own submission, because Qt's does not say whether the
// queue took the job.
bool SubmitToQueue(const QString& printerName, const QString& file, const QString& title) {
  // A printer name may carry an instance after a slash; jobs go to the queue.
  const QByteArray queue = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
  const QByteArray path = file.toLocal8Bit();
  const QByteArray name = title.toUtf8();
  const int job =
      cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), path.constData(), name.constData(), 0, nullptr);
  return job > 0;
}
#endif

}  // namespace

bool PrintWindowImage(const QImage& image, QSizeF screenDpi, const QString& title) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return false;
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setDocName(title);
#if VERSANTO_HAVE_CUPS
  // Drawn into a PDF laid out for the printer's page, then handed to its queue.
  const QTemporaryDir folder;
  if (!folder.isValid()) return false;
  const QPageLayout layout = printer.pageLayout();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(folder.filePath(QStringLiteral("schermata.pdf")));
  printer.setPageLayout(layout);
  if (!DrawPage(printer, image, screenDpi)) return false;
  return SubmitToQueue(info.printerName(), printer.outputFileName(), title);
#else
  return DrawPage(printer, image, screenDpi) && printer.printerState() != QPrinter::Error;
#endif
}

}  // namespace app
