#pragma once

#include <QByteArray>
#include <QDialog>

#include <vector>

#include "loads/load_table.h"
#include "loads/table_csv.h"
#include "regional/regional.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

namespace app {

class ImportPreviewModel;
class NumberFormChoice;

// Shows what an import would add to a table, and every line left out with
// its reason, before anything is written. The file is read again when the
// user picks the other number form.
class ImportPreviewDialog : public QDialog {
  Q_OBJECT

 public:
  ImportPreviewDialog(const QString& tableName, const QString& fileName, QByteArray bytes,
                      std::vector<loads::FieldDef> fields, const regional::Regional& user,
                      QWidget* parent = nullptr);
  ~ImportPreviewDialog() override;

  const loads::ImportPlan& Plan() const { return m_plan; }

 private:
  void Replan(loads::NumberForm form);

  QByteArray m_bytes;
  std::vector<loads::FieldDef> m_fields;
  regional::Regional m_user;
  loads::ImportPlan m_plan;

  NumberFormChoice* m_form;
  ImportPreviewModel* m_model;
  QTableView* m_rows;
  QListWidget* m_problems;
  QLabel* m_summary;
  QPushButton* m_import;
};

}  // namespace app
