#include "report/lists/load_table_rows.h"

#include "loads/load_table.h"

namespace report::lists {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

expr::Value ToValue(const loads::FieldValue& field) {
  if (field.IsNull()) return expr::Value::Null();
  switch (field.kind) {
    case loads::FieldKind::Text:
      return expr::Value(field.value.toString().toStdString());
    case loads::FieldKind::Integer: {
      const qint64 v = field.value.toLongLong();
      if (v >= INT32_MIN && v <= INT32_MAX) return expr::Value(static_cast<std::int32_t>(v));
      return expr::Value(static_cast<std::int64_t>(v));
    }
    case loads::FieldKind::Real:
      return expr::Value(field.value.toDouble());
    case loads::FieldKind::Boolean:
      return expr::Value(field.value.toBool());
  }
  return expr::Value::Null();
}

}  // namespace

LoadTableRows::LoadTableRows(std::string userName, loads::DataSource* source)
    : m_userName(std::move(userName)), m_source(source) {}

loads::LoadTable* LoadTableRows::Table() const {
  return m_source ? m_source->DataSet() : nullptr;
}

loads::Status LoadTableRows::Open() {
  loads::LoadTable* table = Table();
  if (table == nullptr) {
    return loads::Status::Failed(
        QStringLiteral("DataSet %1 is not connected to data").arg(FromUtf8(m_userName)));
  }
  return table->Open();
}

loads::Status LoadTableRows::First() {
  if (loads::Status opened = Open(); !opened) return opened;
  m_recNo = 0;
  return Table()->First();
}

loads::Status LoadTableRows::Next() {
  if (loads::Status opened = Open(); !opened) return opened;
  loads::Status moved = Table()->Next();
  if (moved) ++m_recNo;
  return moved;
}

bool LoadTableRows::Eof() const {
  const loads::LoadTable* table = Table();
  return table == nullptr || !table->Active() || table->Eof();
}

std::vector<std::string> LoadTableRows::FieldNames() const {
  std::vector<std::string> names;
  if (const loads::LoadTable* table = Table()) {
    for (const loads::FieldDef& field : table->Fields()) names.push_back(field.name.toStdString());
  }
  return names;
}

int LoadTableRows::FieldIndex(std::string_view field) const {
  const loads::LoadTable* table = Table();
  return table == nullptr ? -1 : table->FieldIndex(FromUtf8(field));
}

std::optional<expr::Value> LoadTableRows::FieldValue(std::string_view field) {
  const int index = FieldIndex(field);
  if (index < 0) return std::nullopt;
  const loads::LoadTable* table = Table();
  // Past the last row (or on an empty table) there is no record: every field reads null.
  if (table->RecNo() < 0) return expr::Value::Null();
  return ToValue(table->Value(FromUtf8(field)));
}

std::optional<std::string> LoadTableRows::FieldDisplayText(std::string_view field) {
  const int index = FieldIndex(field);
  if (index < 0) return std::nullopt;
  const loads::LoadTable* table = Table();
  if (table->RecNo() < 0) return std::string();
  return table->FieldText(index).toStdString();
}

expr::FieldType LoadTableRows::FieldKind(std::string_view field) {
  const int index = FieldIndex(field);
  if (index < 0) return expr::FieldType::fftNumeric;
  switch (Table()->Fields()[static_cast<std::size_t>(index)].kind) {
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
