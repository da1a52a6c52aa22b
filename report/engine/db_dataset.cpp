#include "report/engine/db_dataset.h"

#include <QObject>

#include "loads/data_source.h"
#include "loads/load_table.h"
#include "report/expr/error.h"

namespace report {
namespace {

void Check(const loads::Status& status) {
  if (!status) throw expr::Error(status.Message().toStdString());
}

}  // namespace

DBDataset::DBDataset(QString userName) : DataSet(std::move(userName)) {}

DBDataset::~DBDataset() { QObject::disconnect(m_stateHook); }

void DBDataset::SetDataSource(loads::DataSource* source) { m_source = source; }
void DBDataset::SetDataSet(loads::LoadTable* table) { m_directTable = table; }

void DBDataset::Initialize() {
  DataSet::Initialize();
  m_table = m_source && m_source->DataSet() ? m_source->DataSet() : m_directTable.data();
  if (!m_table) {
    throw expr::Error("DataSet " + UserNameText().toStdString() + " is not connected to data");
  }
  // The field list follows the table: rebuilt when it opens, dropped (with
  // the bookmark) when it closes behind the report's back.
  QObject::disconnect(m_stateHook);
  m_stateHook = QObject::connect(m_table, &loads::LoadTable::StateChanged, m_table,
                                 [this](loads::TableState state) {
                                   if (state == loads::TableState::Inactive) TableClosing();
                                 });
}

void DBDataset::Finalize() {
  if (m_table) DataSet::Finalize();
  QObject::disconnect(m_stateHook);
}

loads::LoadTable& DBDataset::Table() const {
  if (!m_table) {
    throw expr::Error("DataSet " + UserNameText().toStdString() + " is not connected to data");
  }
  return *m_table;
}

void DBDataset::TableOpen() {
  if (!Table().Active()) Check(Table().Open());
}

void DBDataset::TableClose() { Table().Close(); }
void DBDataset::TableFirst() { Check(Table().First()); }
void DBDataset::TableNext() { Check(Table().Next()); }
bool DBDataset::TableEof() const { return Table().Eof(); }
int DBDataset::TableRow() const { return Table().RecNo(); }
void DBDataset::TableGoTo(int row) {
  if (row >= 0 && row < Table().RecordCount()) Check(Table().MoveTo(row));
}

std::vector<std::string> DBDataset::TableFieldNames() const {
  std::vector<std::string> names;
  for (const auto& f : Table().Fields()) names.push_back(f.name.toStdString());
  return names;
}

expr::Value DBDataset::TableValue(int field) const {
  const loads::LoadTable& table = Table();
  const int row = table.RecNo();
  if (row < 0) return expr::Value::Null();
  const loads::FieldValue v = table.Value(row, field);
  if (v.IsNull()) return expr::Value::Null();
  switch (v.kind) {
    case loads::FieldKind::Integer: {
      const qlonglong n = v.value.toLongLong();
      if (n >= INT32_MIN && n <= INT32_MAX) return expr::Value(static_cast<std::int32_t>(n));
      return expr::Value(static_cast<std::int64_t>(n));
    }
    case loads::FieldKind::Real: return expr::Value(v.value.toDouble());
    case loads::FieldKind::Boolean: return expr::Value(v.value.toBool());
    case loads::FieldKind::Text: break;
  }
  return expr::Value(v.value.toString().toStdString());
}

std::string DBDataset::TableDisplayText(int field) const {
  const loads::LoadTable& table = Table();
  if (table.RecNo() < 0) return {};
  return table.FieldText(table.RecNo(), field).toStdString();
}

expr::FieldType DBDataset::TableFieldKind(int field) const {
  switch (Table().Fields()[std::size_t(field)].kind) {
    case loads::FieldKind::Text: return expr::FieldType::fftString;
    case loads::FieldKind::Boolean: return expr::FieldType::fftBoolean;
    default: return expr::FieldType::fftNumeric;
  }
}

}  // namespace report
