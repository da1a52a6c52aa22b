#include "report/lists/load_data_set.h"

#include "loads/load_table.h"
#include "report/expr/error.h"

namespace report::lists {

namespace {

// A move posts a change the user is still editing; when that fails, or the
// file cannot be read, the build stops with the table's own message.
void Check(const loads::Status& status) {
  if (!status) throw expr::Error(status.Message().toStdString());
}

}  // namespace

LoadDataSet::LoadDataSet(QString userName, loads::DataSource* source)
    : DataSet(std::move(userName)), m_source(source) {}

loads::LoadTable& LoadDataSet::Table() const {
  if (!m_source || m_source->DataSet() == nullptr) {
    throw expr::Error(QStringLiteral("DataSet %1 is not connected to data")
                          .arg(UserNameText())
                          .toStdString());
  }
  return *m_source->DataSet();
}

void LoadDataSet::Initialize() {
  (void)Table();
  DataSet::Initialize();
}

void LoadDataSet::TableOpen() { Check(Table().Open()); }

void LoadDataSet::TableClose() { Table().Close(); }

void LoadDataSet::TableFirst() { Check(Table().First()); }

void LoadDataSet::TableNext() { Check(Table().Next()); }

bool LoadDataSet::TableEof() const {
  const loads::LoadTable& table = Table();
  return !table.Active() || table.Eof();
}

int LoadDataSet::TableRow() const { return Table().RecNo(); }

void LoadDataSet::TableGoTo(int row) { Check(Table().MoveTo(row)); }

std::vector<std::string> LoadDataSet::TableFieldNames() const {
  std::vector<std::string> names;
  for (const loads::FieldDef& field : Table().Fields()) names.push_back(field.name.toStdString());
  return names;
}

expr::Value LoadDataSet::TableValue(int field) const {
  const loads::LoadTable& table = Table();
  // An empty table has no record: every field reads null.
  if (table.RecNo() < 0) return expr::Value::Null();
  const loads::FieldValue value = table.Value(table.Fields()[static_cast<std::size_t>(field)].name);
  if (value.IsNull()) return expr::Value::Null();
  switch (value.kind) {
    case loads::FieldKind::Text:
      return expr::Value(value.value.toString().toStdString());
    case loads::FieldKind::Integer: {
      const qint64 v = value.value.toLongLong();
      if (v >= INT32_MIN && v <= INT32_MAX) return expr::Value(static_cast<std::int32_t>(v));
      return expr::Value(static_cast<std::int64_t>(v));
    }
    case loads::FieldKind::Real:
      return expr::Value(value.value.toDouble());
    case loads::FieldKind::Boolean:
      return expr::Value(value.value.toBool());
  }
  return expr::Value::Null();
}

std::string LoadDataSet::TableDisplayText(int field) const {
  return Table().FieldText(field).toStdString();
}

expr::FieldType LoadDataSet::TableFieldKind(int field) const {
  switch (Table().Fields()[static_cast<std::size_t>(field)].kind) {
    case loads::FieldKind::Text:
      return expr::FieldType::fftString;
    case loads::FieldKind::Boolean:
      return expr::FieldType::fftBoolean;
    case loads::FieldKind::Integer:
    case loads::FieldKind::Real:
      break;
  }
  return expr::FieldType::fftNumeric;
}

}  // namespace report::lists
