#include "export_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "number_form_choice.h"

namespace app {

ExportDialog::ExportDialog(const QString& tableName, int recordCount, const regional::Regional& user,
                           QWidget* parent)
    : QDialog(parent), m_form(new NumberFormChoice(user, loads::NumberForm::Local, this)) {
  setObjectName(QStringLiteral("ExportDialog"));
  setWindowTitle(QStringLiteral("Esporta Tabella %1").arg(tableName));
  auto* intro = new QLabel(
      QStringLiteral("La tabella %1 (%2 record) sarà scritta in un file CSV in codifica UTF-8, con i "
                     "nomi dei campi nella prima riga.\nIl file si apre con un foglio di calcolo: "
                     "scegliere il formato che il foglio di calcolo legge come numeri.")
          .arg(tableName)
          .arg(recordCount),
      this);
  intro->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&Esporta..."), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("btnEsporta"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btnAnnulla"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(m_form);
  layout->addWidget(buttons);
}

loads::NumberForm ExportDialog::Form() const { return m_form->Form(); }

}  // namespace app
