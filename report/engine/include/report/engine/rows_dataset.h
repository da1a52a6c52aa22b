#pragma once

// A report dataset over rows held in memory: for tests, tools and any caller
// that has its rows already.

#include <QString>

#include <string>
#include <vector>

#include "report/expr/format_settings.h"
#include "report/model/dataset.h"

namespace report {

class RowsDataSet : public DataSet {
 public:
  struct Field {
    std::string name;
    expr::FieldType type = expr::FieldType::fftNumeric;
    bool blob = false;
  };

  RowsDataSet(QString userName, std::vector<Field> fields);

  void AddRow(std::vector<expr::Value> row);  // values in field order
  void ClearRows() { m_rows.clear(); }
  std::size_t RowCount() const { return m_rows.size(); }
  // How display texts write numbers.
  void SetDisplaySettings(expr::FormatSettings settings) { m_display = std::move(settings); }
  // The row the dataset stands on (-1 when the table is empty).
  int CurrentRow() const { return m_row; }
  bool IsOpen() const { return m_open; }
  int OpenCount() const { return m_openCount; }

 protected:
  void TableOpen() override;
  void TableClose() override;
  void TableFirst() override;
  void TableNext() override;
  bool TableEof() const override;
  int TableRow() const override { return m_row; }
  void TableGoTo(int row) override;
  std::vector<std::string> TableFieldNames() const override;
  expr::Value TableValue(int field) const override;
  std::string TableDisplayText(int field) const override;
  expr::FieldType TableFieldKind(int field) const override;
  bool TableIsBlob(int field) const override;

 private:
  std::vector<Field> m_fields;
  std::vector<std::vector<expr::Value>> m_rows;
  expr::FormatSettings m_display;
  int m_row = 0;
  bool m_eof = false;
  bool m_open = false;
  int m_openCount = 0;
};

}  // namespace report
