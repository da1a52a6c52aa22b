#pragma once

#include <QObject>
#include <QPointer>

#include "loads/load_table.h"

namespace loads {

// The binding point between one table and what shows it: the grid, the
// navigator, the bound boxes and the report adapter all attach here and
// follow the table's current record through DataChanged. Qt Core only, so
// that the report engine can read a table without Widgets.
class DataSource : public QObject {
  Q_OBJECT

 public:
  explicit DataSource(LoadTable* table, QObject* parent = nullptr);

  LoadTable* DataSet() const { return m_table; }

  // With auto edit on (the default) typing into a bound control puts the
  // table into edit state by itself.
  bool AutoEdit() const { return m_autoEdit; }
  void SetAutoEdit(bool on) { m_autoEdit = on; }

  // What a bound control calls before it hands a typed text to the table.
  Status EditForTyping();

 signals:
  void DataChanged();
  void FieldChanged(int field);
  void StateChanged(loads::TableState state);

 private:
  QPointer<LoadTable> m_table;
  bool m_autoEdit = true;
};

}  // namespace loads
