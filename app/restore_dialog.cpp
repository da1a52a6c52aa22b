#include "restore_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace app {

QString BackupTimeText(const loads::BackupFile& backup) {
  return backup.taken.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

RestoreDialog::RestoreDialog(const std::vector<Entry>& entries, QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)), m_restore(nullptr) {
  setObjectName(QStringLiteral("RestoreDialog"));
  setWindowTitle(QStringLiteral("Ripristina Copia di Sicurezza"));
  resize(520, 360);  // pixels

  auto* intro = new QLabel(
      QStringLiteral("Le copie di sicurezza si fanno all'uscita dal programma, quando i dati sono "
                     "cambiati. Scegliere la copia da ripristinare: i dati attuali di quella tabella "
                     "saranno prima salvati in una nuova copia."),
      this);
  intro->setWordWrap(true);

  m_list->setObjectName(QStringLiteral("lvCopie"));
  m_list->setRootIsDecorated(false);
  m_list->setHeaderLabels({QStringLiteral("Tabella"), QStringLiteral("Copia del"), QStringLiteral("Record")});
  for (const Entry& entry : entries) {
    auto* item = new QTreeWidgetItem(m_list);
    item->setText(0, entry.tableName);
    item->setText(1, BackupTimeText(entry.backup));
    item->setText(2, entry.records ? QString::number(*entry.records) : QStringLiteral("illeggibile"));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

  auto* buttons = new QDialogButtonBox(this);
  m_restore = buttons->addButton(QStringLiteral("&Ripristina..."), QDialogButtonBox::AcceptRole);
  m_restore->setObjectName(QStringLiteral("btnRipristina"));
  m_restore->setEnabled(false);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btnAnnulla"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this,
          [this] { m_restore->setEnabled(Chosen() >= 0); });
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(m_list);
  layout->addWidget(buttons);
}

int RestoreDialog::Chosen() const {
  const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
  if (selected.isEmpty()) return -1;
  return m_list->indexOfTopLevelItem(selected.front());
}

}  // namespace app
