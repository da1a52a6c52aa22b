#include "import_preview_dialog.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "number_form_choice.h"

namespace app {

// The rows of a plan as the table would show them; the line each comes from
// is its row title.
class ImportPreviewModel : public QAbstractTableModel {
 public:
  ImportPreviewModel(const std::vector<loads::FieldDef>& fields, const regional::Regional& user, QObject* parent)
      : QAbstractTableModel(parent), m_fields(fields), m_user(user) {}

  void SetRows(const std::vector<loads::ImportRow>* rows) {
    beginResetModel();
    m_rows = rows;
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || m_rows == nullptr ? 0 : static_cast<int>(m_rows->size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(m_fields.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || m_rows == nullptr) return {};
    const QVariant& value = (*m_rows)[static_cast<std::size_t>(index.row())].values[static_cast<std::size_t>(index.column())];
    if (value.isNull()) return QString();
    switch (m_fields[static_cast<std::size_t>(index.column())].kind) {
      case loads::FieldKind::Real:
        return QString::fromStdString(regional::FormatGeneral(value.toDouble(), m_user));
      case loads::FieldKind::Integer:
        return QString::number(value.toLongLong());
      case loads::FieldKind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
      case loads::FieldKind::Text:
        break;
    }
    return value.toString();
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return m_fields[static_cast<std::size_t>(section)].name;
    if (m_rows == nullptr) return {};
    return QStringLiteral("Riga %1").arg((*m_rows)[static_cast<std::size_t>(section)].line);
  }

 private:
  const std::vector<loads::FieldDef>& m_fields;
  const regional::Regional& m_user;
  const std::vector<loads::ImportRow>* m_rows = nullptr;
};

ImportPreviewDialog::ImportPreviewDialog(const QString& tableName, const QString& fileName, QByteArray bytes,
                                         std::vector<loads::FieldDef> fields, const regional::Regional& user,
                                         QWidget* parent)
    : QDialog(parent),
      m_bytes(std::move(bytes)),
      m_fields(std::move(fields)),
      m_user(user),
      m_form(new NumberFormChoice(m_user, loads::GuessNumberForm(m_bytes, m_user), this)),
      m_model(new ImportPreviewModel(m_fields, m_user, this)),
      m_rows(new QTableView(this)),
      m_problems(new QListWidget(this)),
      m_summary(new QLabel(this)),
      m_import(nullptr) {
  setObjectName(QStringLiteral("ImportPreviewDialog"));
  setWindowTitle(QStringLiteral("Importa nella Tabella %1").arg(tableName));
  resize(760, 520);  // pixels

  auto* file = new QLabel(QStringLiteral("File: %1").arg(fileName), this);
  file->setObjectName(QStringLiteral("lblFile"));
  m_rows->setObjectName(QStringLiteral("tvAnteprima"));
  m_rows->setModel(m_model);
  m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_rows->setWordWrap(false);
  m_problems->setObjectName(QStringLiteral("lbScartate"));
  m_problems->setWordWrap(true);  // a line with several bad values says them all
  m_summary->setObjectName(QStringLiteral("lblRiepilogo"));
  m_summary->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(this);
  m_import = buttons->addButton(QStringLiteral("&Importa"), QDialogButtonBox::AcceptRole);
  m_import->setObjectName(QStringLiteral("btnImporta"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("btnAnnulla"));
  cancel->setDefault(true);  // Enter alone never writes
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_form, &NumberFormChoice::FormChanged, this, &ImportPreviewDialog::Replan);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(file);
  layout->addWidget(m_form);
  layout->addWidget(new QLabel(QStringLiteral("Record che saranno aggiunti:"), this));
  layout->addWidget(m_rows, 3);
  layout->addWidget(new QLabel(QStringLiteral("Righe scartate:"), this));
  layout->addWidget(m_problems, 2);
  layout->addWidget(m_summary);
  layout->addWidget(buttons);

  Replan(m_form->Form());
}

ImportPreviewDialog::~ImportPreviewDialog() = default;

void ImportPreviewDialog::Replan(loads::NumberForm form) {
  m_model->SetRows(nullptr);
  m_plan = loads::PlanImport(m_bytes, m_fields, loads::LayoutFor(form, m_user).numbers);
  m_model->SetRows(&m_plan.rows);
  m_problems->clear();
  for (const loads::ImportProblem& problem : m_plan.problems) m_problems->addItem(problem.Text());

  if (m_plan.refused) {
    m_summary->setText(QStringLiteral("Il file non può essere importato. %1").arg(m_plan.refused->Text()));
  } else {
    QString text = QStringLiteral("%1 record da aggiungere, %2 righe scartate")
                       .arg(m_plan.rows.size())
                       .arg(m_plan.problems.size());
    if (m_plan.emptyLines > 0) text += QStringLiteral(", %1 righe vuote ignorate").arg(m_plan.emptyLines);
    m_summary->setText(text + QStringLiteral(". Niente sarà scritto finché non si preme Importa."));
  }
  m_import->setEnabled(!m_plan.refused && !m_plan.rows.empty());
}

}  // namespace app
