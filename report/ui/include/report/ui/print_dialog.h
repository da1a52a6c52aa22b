#pragma once

#include <QDialog>

#include <functional>

#include "report/print/print_options.h"
#include "report/print/printer_list.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace report {

// The print dialog: printer, pages, copies, order and print mode for one
// job. It shows the options it is given and, on OK, gives them back changed
// in Options(); the printer chosen becomes the list's current one (Cancel
// selects the one that was current before).
class PrintDialog : public QDialog {
  Q_OBJECT

 public:
  // currentPage, pageCount: of the preview, pages from 1.
  PrintDialog(PrinterList& printers, const PrintJobOptions& options, int currentPage, int pageCount,
              QWidget* parent = nullptr);

  PrintJobOptions Options() const { return m_options; }
  // The ".prn" file chosen for "Print to file"; empty for a printer.
  QString OutputFile() const { return m_outputFile; }

  // Asks for the print-to-file name (caption, Qt filter); empty cancels.
  std::function<QString(QWidget*, const QString&, const QString&)> ChooseFile;
  // Shows an error over the dialog.
  std::function<void(QWidget*, const QString&)> ShowError;

  void accept() override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillPrinters();
  void PrinterChanged(int index);
  void ShowOptions();
  void UpdatePaperVisibility();

  PrinterList& m_printers;
  const int m_previousPrinter;
  PrintJobOptions m_options;
  const int m_currentPage;
  const int m_pageCount;
  QString m_outputFile;

  QComboBox* m_printersCB = nullptr;
  QLabel* m_whereL = nullptr;
  QCheckBox* m_fileCB = nullptr;
  QRadioButton* m_allRB = nullptr;
  QRadioButton* m_currentRB = nullptr;
  QRadioButton* m_pagesRB = nullptr;
  QLineEdit* m_pagesE = nullptr;
  QSpinBox* m_copiesE = nullptr;
  QCheckBox* m_collateCB = nullptr;
  QLabel* m_collateImage = nullptr;
  QComboBox* m_printPagesCB = nullptr;
  QComboBox* m_orderCB = nullptr;
  QComboBox* m_duplexCB = nullptr;
  QComboBox* m_modeCB = nullptr;
  QLabel* m_paperL = nullptr;
  QComboBox* m_paperCB = nullptr;
};

}  // namespace report
