#include "report/ui/search_dialog.h"

#include "report/ui/rep_resources.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace report {

namespace {

QString& LastText() {
  static QString text;
  return text;
}

}  // namespace

SearchDialog::SearchDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RepSearchDialog"));
  setWindowTitle(RepResources::Text(150));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(RepResources::Text(151), this);
  m_text = new QLineEdit(this);
  m_text->setObjectName(QStringLiteral("TextE"));
  label->setBuddy(m_text);
  m_fromBeginning = new QCheckBox(RepResources::Text(152), this);
  m_fromBeginning->setObjectName(QStringLiteral("TopCB"));
  m_case = new QCheckBox(RepResources::Text(153), this);
  m_case->setObjectName(QStringLiteral("CaseCB"));
  auto* buttons = new QDialogButtonBox(this);
  m_ok = buttons->addButton(RepResources::Text(154), QDialogButtonBox::AcceptRole);
  m_ok->setObjectName(QStringLiteral("OkB"));
  m_ok->setDefault(true);
  buttons->addButton(RepResources::Text(155), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("CancelB"));
  connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SearchDialog::reject);
  layout->addWidget(label);
  layout->addWidget(m_text);
  layout->addWidget(m_fromBeginning);
  layout->addWidget(m_case);
  layout->addWidget(buttons);

  m_text->setText(LastText());
  m_text->selectAll();
  m_text->setFocus();
}

QString SearchDialog::Text() const { return m_text->text(); }
bool SearchDialog::FromBeginning() const { return m_fromBeginning->isChecked(); }
bool SearchDialog::CaseSensitive() const { return m_case->isChecked(); }

void SearchDialog::accept() {
  LastText() = m_text->text();
  QDialog::accept();
}

}  // namespace report
