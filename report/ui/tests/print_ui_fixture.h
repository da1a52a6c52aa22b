#pragma once

#include <QPageSize>

#include "report/print/printer_list.h"

namespace report::testing {

inline PaperName Paper(QPageSize::PageSizeId id) {
  const QPageSize size(id);
  return PaperName{size.name(), size.windowsId(), size.size(QPageSize::Millimeter)};
}

// Two printers that need no print system: an office laser and the default
// one in the cellar.
inline QList<PrinterEntry> TwoPrinters() {
  PrinterEntry office;
  office.name = QStringLiteral("Ufficio");
  office.port = QStringLiteral("ipp://ufficio.local/ipp/print");
  office.papers = {Paper(QPageSize::A4), Paper(QPageSize::Letter), Paper(QPageSize::A5)};
  office.paper = office.papers[0];
  PrinterEntry cellar = office;
  cellar.name = QStringLiteral("Cantina");
  cellar.port = QStringLiteral("usb://Cantina/Laser");
  cellar.papers = {Paper(QPageSize::A4), Paper(QPageSize::A3)};
  return {office, cellar};
}

}  // namespace report::testing
