#pragma once

#include <QDialog>

#include "loads/table_csv.h"
#include "regional/regional.h"

namespace app {

class NumberFormChoice;

// Asks how the numbers of the exported table are to be written.
class ExportDialog : public QDialog {
  Q_OBJECT

 public:
  ExportDialog(const QString& tableName, int recordCount, const regional::Regional& user,
               QWidget* parent = nullptr);

  loads::NumberForm Form() const;

 private:
  NumberFormChoice* m_form;
};

}  // namespace app
