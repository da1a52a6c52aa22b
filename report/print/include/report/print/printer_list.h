#pragma once

#include <QList>
#include <QMarginsF>
#include <QPoint>
#include <QSizeF>
#include <QString>

#include <optional>

#include "report/print/page_paper.h"

namespace report {

struct PaperName {
  QString name;
  int code = 0;      // platform paper code
  QSizeF sizeMm;     // portrait
};

struct PrinterEntry {
  QString name;
  QString port;                 // where the jobs go (the queue's device)
  QPoint dpi{600, 600};         // dots per inch, x and y
  QMarginsF unprintableMm;      // what the printer cannot reach, from the paper's edges
  QList<PaperName> papers;
  PaperName paper;              // the current paper
  PaperOrientation orientation = PaperOrientation::poPortrait;
  bool isVirtual = false;
};

// Every printer the print system reports, read once per process and again
// on Refresh(). With no printer at all the list holds one substitute,
// "Virtual" (600 dpi, A4 portrait), so that pages can still be laid out;
// HasPhysicalPrinter() then says false and nothing may be printed.
class PrinterList {
 public:
  // The process's list, read from the print system on first use.
  static PrinterList& Instance();
  // A list of given printers (an empty one gets the substitute), for
  // windows that are shown without the print system's.
  PrinterList(QList<PrinterEntry> printers, int current);
  static PrinterEntry VirtualPrinter();

  void Refresh();
  const QList<PrinterEntry>& Printers() const { return m_printers; }
  bool HasPhysicalPrinter() const { return m_physical; }

  int PrinterIndex() const { return m_current; }
  const PrinterEntry& Current() const { return m_printers[m_current]; }
  void SetPrinterIndex(int index);
  // What the printer's own settings dialog changed (its paper, orientation).
  void SetEntry(int index, const PrinterEntry& entry);
  // Case-insensitive; -1 when no printer has that name.
  int IndexOf(const QString& name) const;
  // Selects the printer of that name if there is one; false otherwise.
  bool SelectByName(const QString& name);

  // The paper of this code on the current printer, else from Qt's table of
  // standard sizes; nullopt for an unknown code.
  static std::optional<PaperName> StandardPaper(int code);
  std::optional<PaperName> PaperOfCode(int code) const;

 private:
  PrinterList();
  QList<PrinterEntry> m_printers;
  int m_current = 0;
  bool m_physical = false;
};

}  // namespace report
