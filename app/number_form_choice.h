#pragma once

#include <QGroupBox>

#include "loads/table_csv.h"
#include "regional/regional.h"

class QRadioButton;

namespace app {

// "Formato dei numeri": the user's own form or plain C form, each with an
// example, as the export and the import preview both offer it.
class NumberFormChoice : public QGroupBox {
  Q_OBJECT

 public:
  NumberFormChoice(const regional::Regional& user, loads::NumberForm initial, QWidget* parent = nullptr);

  loads::NumberForm Form() const;

 signals:
  void FormChanged(loads::NumberForm form);

 private:
  QRadioButton* m_local;
  QRadioButton* m_plain;
};

}  // namespace app
