#include "report/print/printer_list.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#if VERSANTO_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace report {

namespace {

PaperName PaperOf(const QPageSize& size) {
  const QSizeF mm = size.size(QPageSize::Millimeter);
  return PaperName{size.name(), size.windowsId(), QSizeF(std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height()))};
}

QString PortOf(const QPrinterInfo& info) {
#if VERSANTO_HAVE_CUPS
  // Qt does not tell where a queue sends its jobs; the print system does.
  const QByteArray queue = info.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
  if (dest != nullptr) {
    const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options);
    const QString port = uri != nullptr ? QString::fromUtf8(uri) : QString();
    cupsFreeDests(1, dest);
    if (!port.isEmpty()) return port;
  }
#endif
  return info.location();
}

PrinterEntry EntryOf(const QPrinterInfo& info) {
  PrinterEntry entry;
  entry.name = info.printerName();
  entry.port = PortOf(info);
  for (const QPageSize& size : info.supportedPageSizes()) entry.papers.append(PaperOf(size));
  const QPrinter printer(info, QPrinter::HighResolution);
  entry.dpi = QPoint(printer.logicalDpiX(), printer.logicalDpiY());
  const QPageLayout layout = printer.pageLayout();
  // Qt gives the margins in the layout's own unit.
  const QMarginsF margins = layout.minimumMargins();
  const double toMm = layout.fullRect(QPageLayout::Millimeter).width() / layout.fullRect().width();
  entry.unprintableMm = QMarginsF(margins.left() * toMm, margins.top() * toMm, margins.right() * toMm,
                                  margins.bottom() * toMm);
  const QPageSize current = info.defaultPageSize().isValid() ? info.defaultPageSize() : QPageSize(QPageSize::A4);
  entry.paper = PaperOf(current);
  if (entry.papers.isEmpty()) entry.papers.append(entry.paper);
  entry.orientation = PaperOrientation::poPortrait;
  return entry;
}

}  // namespace

PrinterEntry PrinterList::VirtualPrinter() {
  PrinterEntry entry;
  entry.name = QStringLiteral("Virtual");
  entry.isVirtual = true;
  entry.dpi = QPoint(600, 600);
  // Without a printer the page settings still offer the usual sizes.
  for (const QPageSize::PageSizeId id :
       {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B4, QPageSize::B5, QPageSize::Letter,
        QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid, QPageSize::Envelope10, QPageSize::EnvelopeDL}) {
    entry.papers.append(PaperOf(QPageSize(id)));
  }
  entry.paper = PaperOf(QPageSize(QPageSize::A4));
  return entry;
}

PrinterList& PrinterList::Instance() {
  static PrinterList list;
  return list;
}

PrinterList::PrinterList() { Refresh(); }

PrinterList::PrinterList(QList<PrinterEntry> printers, int current) : m_printers(std::move(printers)) {
  m_physical = !m_printers.isEmpty();
  if (!m_physical) m_printers.append(VirtualPrinter());
  m_current = current >= 0 && current < m_printers.size() ? current : 0;
}

void PrinterList::Refresh() {
  m_printers.clear();
  const QString defaultName = QPrinterInfo::defaultPrinterName();
  m_current = 0;
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
    if (info.printerName() == defaultName) m_current = static_cast<int>(m_printers.size());
    m_printers.append(EntryOf(info));
  }
  m_physical = !m_printers.isEmpty();
  if (!m_physical) m_printers.append(VirtualPrinter());
}

void PrinterList::SetPrinterIndex(int index) {
  if (index >= 0 && index < m_printers.size()) m_current = index;
}

void PrinterList::SetEntry(int index, const PrinterEntry& entry) {
  if (index >= 0 && index < m_printers.size()) m_printers[index] = entry;
}

int PrinterList::IndexOf(const QString& name) const {
  for (int i = 0; i < m_printers.size(); ++i) {
    if (m_printers[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

bool PrinterList::SelectByName(const QString& name) {
  const int index = IndexOf(name);
  if (index < 0) return false;
  m_current = index;
  return true;
}

std::optional<PaperName> PrinterList::StandardPaper(int code) {
  const QPageSize::PageSizeId id = QPageSize::id(code);
  if (code <= 0 || code == kPaperCustom || (id == QPageSize::Custom)) return std::nullopt;
  return PaperOf(QPageSize(id));
}

std::optional<PaperName> PrinterList::PaperOfCode(int code) const {
  for (const PaperName& paper : Current().papers) {
    if (paper.code == code && code != kPaperCustom) return paper;
  }
  return StandardPaper(code);
}

}  // namespace report
