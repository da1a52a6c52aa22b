#pragma once

// The report dataset over a load table (`TRepDBDataset`): it walks the
// table of a loads::DataSource (or a table given directly) and reads the
// fields of its current record. The report moves the table, so controls bound
// to the same data source follow it; the table is opened when needed and, with
// CloseDataSource off, left open on its last record.

#include <QMetaObject>
#include <QPointer>
#include <QString>

#include "report/model/dataset.h"

namespace loads {
class DataSource;
class LoadTable;
}  // namespace loads

namespace report {

class DBDataset : public DataSet {
 public:
  explicit DBDataset(QString userName);
  ~DBDataset() override;

  // When both are given the data source's table is used.
  void SetDataSource(loads::DataSource* source);
  void SetDataSet(loads::LoadTable* table);

  void Initialize() override;
  void Finalize() override;

 protected:
  void TableOpen() override;
  void TableClose() override;
  void TableFirst() override;
  void TableNext() override;
  bool TableEof() const override;
  int TableRow() const override;
  void TableGoTo(int row) override;
  std::vector<std::string> TableFieldNames() const override;
  expr::Value TableValue(int field) const override;
  std::string TableDisplayText(int field) const override;
  expr::FieldType TableFieldKind(int field) const override;

 private:
  loads::LoadTable& Table() const;

  QPointer<loads::DataSource> m_source;
  QPointer<loads::LoadTable> m_directTable;
  QPointer<loads::LoadTable> m_table;  // resolved by Initialize
  QMetaObject::Connection m_stateHook;
};

}  // namespace report
