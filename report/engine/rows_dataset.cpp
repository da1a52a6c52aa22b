#include "report/engine/rows_dataset.h"

#include "report/expr/value_ops.h"

namespace report {

RowsDataSet::RowsDataSet(QString userName, std::vector<Field> fields)
    : DataSet(std::move(userName)), m_fields(std::move(fields)) {}

void RowsDataSet::AddRow(std::vector<expr::Value> row) {
  row.resize(m_fields.size());
  m_rows.push_back(std::move(row));
}

void RowsDataSet::TableOpen() {
  if (m_open) return;
  m_open = true;
  ++m_openCount;
  m_row = m_rows.empty() ? -1 : 0;
  m_eof = m_rows.empty();
}

void RowsDataSet::TableClose() { m_open = false; }

void RowsDataSet::TableFirst() {
  m_row = m_rows.empty() ? -1 : 0;
  m_eof = m_rows.empty();
}

// Like a table cursor: Next on the last row stays there and sets the end.
void RowsDataSet::TableNext() {
  if (m_row + 1 < static_cast<int>(m_rows.size())) {
    ++m_row;
  } else {
    m_eof = true;
  }
}

bool RowsDataSet::TableEof() const { return m_eof; }

void RowsDataSet::TableGoTo(int row) {
  if (row >= 0 && row < static_cast<int>(m_rows.size())) {
    m_row = row;
    m_eof = false;
  }
}

std::vector<std::string> RowsDataSet::TableFieldNames() const {
  std::vector<std::string> names;
  for (const auto& f : m_fields) names.push_back(f.name);
  return names;
}

expr::Value RowsDataSet::TableValue(int field) const {
  if (m_row < 0 || m_row >= static_cast<int>(m_rows.size())) return expr::Value::Null();
  return m_rows[std::size_t(m_row)][std::size_t(field)];
}

std::string RowsDataSet::TableDisplayText(int field) const {
  return expr::TextOf(TableValue(field), m_display);
}

expr::FieldType RowsDataSet::TableFieldKind(int field) const { return m_fields[std::size_t(field)].type; }

bool RowsDataSet::TableIsBlob(int field) const { return m_fields[std::size_t(field)].blob; }

}  // namespace report
