#pragma once

#include <QPointer>
#include <QString>

#include <string>
#include <vector>

#include "loads/data_source.h"
#include "report/model/dataset.h"

// A report dataset (`TRepDBDataset`) over one load table, read through the
// table's data source: every move the build makes is followed by the
// window's bound controls, as when the user browses. Nothing is copied or
// cached; the table is opened when the build first needs it and left open.
namespace report::lists {

class LoadDataSet final : public DataSet {
 public:
  // `userName` is the name the template's expressions use ("repDBDataset1").
  LoadDataSet(QString userName, loads::DataSource* source);

  loads::DataSource* Source() const { return m_source; }

  // Raises "DataSet <name> is not connected to data" without a data source.
  void Initialize() override;

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
};

}  // namespace report::lists
