#pragma once

#include <QDialog>

#include <functional>
#include <map>

#include "report/print/page_paper.h"
#include "report/print/printer_list.h"
#include "report/print/report_settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace report {

// The page settings dialog: paper, orientation and margins of a page, in
// centimetres or inches as the report's settings key says. Page() gives the
// page as changed on OK; ApplyToAll() says whether the change is meant for
// every page of the template (the preview then rebuilds the report) or only
// for the prepared page shown.
class PageSettingsForm : public QDialog {
  Q_OBJECT

 public:
  PageSettingsForm(const PrinterEntry& printer, const PagePaper& page, SizeUnits units, QWidget* parent = nullptr);

  PagePaper Page() const { return m_page; }
  bool ApplyToAll() const;

  // Shows an error over the dialog.
  std::function<void(QWidget*, const QString&)> ShowError;

  void accept() override;

  // The list's first entry, a size of the user's own.
  static QString CustomPaperName() { return QStringLiteral("Custom"); }

 private:
  void PaperChosen(int index);
  void OrientationChanged();
  void ShowMm(QLineEdit* edit, double mm);
  // The value of an edit in millimetres; nullopt (and the error shown) when
  // it is not a number.
  std::optional<double> Mm(QLineEdit* edit);

  PagePaper m_page;
  const SizeUnits m_units;
  QList<PaperName> m_papers;
  // What each edit was given, so that an untouched value keeps its exact
  // millimetres (inches shown to two places would move A4 by a fraction).
  std::map<QLineEdit*, std::pair<QString, double>> m_shown;

  QComboBox* m_paperCB = nullptr;
  QLineEdit* m_widthE = nullptr;
  QLineEdit* m_heightE = nullptr;
  QRadioButton* m_portraitRB = nullptr;
  QRadioButton* m_landscapeRB = nullptr;
  QLabel* m_orientationImage = nullptr;
  QLineEdit* m_leftE = nullptr;
  QLineEdit* m_topE = nullptr;
  QLineEdit* m_rightE = nullptr;
  QLineEdit* m_bottomE = nullptr;
  QRadioButton* m_currentRB = nullptr;
  QRadioButton* m_allRB = nullptr;
};

}  // namespace report
