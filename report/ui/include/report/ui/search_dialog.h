#pragma once

// "Find Text": the text to find and two options; remembers the last text
// for the next time it opens.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace report {

class SearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SearchDialog(QWidget* parent = nullptr);

  QString Text() const;
  bool FromBeginning() const;
  bool CaseSensitive() const;

  QLineEdit* TextE() const { return m_text; }
  QCheckBox* TopCB() const { return m_fromBeginning; }
  QCheckBox* CaseCB() const { return m_case; }
  QPushButton* OkB() const { return m_ok; }

  void accept() override;

 private:
  QLineEdit* m_text;
  QCheckBox* m_fromBeginning;
  QCheckBox* m_case;
  QPushButton* m_ok;
};

}  // namespace report
