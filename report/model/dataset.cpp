#include "report/model/dataset.h"

#include <algorithm>
#include <mutex>

#include "report/expr/error.h"
#include "report/expr/same_text.h"

namespace report {
namespace {

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}
std::vector<DataSet*>& Registry() {
  static std::vector<DataSet*> list;
  return list;
}

}  // namespace

DataSet::DataSet(QString userName) {
  SetUserName(std::move(userName));
  const std::lock_guard guard(RegistryLock());
  Registry().push_back(this);
}

DataSet::~DataSet() {
  const std::lock_guard guard(RegistryLock());
  auto& list = Registry();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void DataSet::SetUserName(QString name) {
  m_userName = std::move(name);
  m_userNameUtf8 = m_userName.toStdString();
}

void DataSet::Initialize() {
  m_opened = false;
  m_endReached = false;
  m_recNo = 0;
  m_bookmark.reset();
  m_fields.clear();
}

void DataSet::Finalize() {
  if (m_bookmark) TableGoTo(*m_bookmark);
  if (m_closeDataSource) {
    TableClosing();
    TableClose();
  }
  m_opened = false;
}

void DataSet::Open() {
  if (m_opened) return;
  TableOpen();
  m_opened = true;
  TableOpened();
  if (m_rangeBegin == RangeBegin::rbCurrent || m_rangeEnd == RangeEnd::reCurrent) {
    m_bookmark = TableRow();
  }
}

void DataSet::TableOpened() {
  m_fields.clear();
  const std::vector<std::string> names = TableFieldNames();
  auto indexOf = [&](std::string_view n) -> int {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (expr::SameText(names[i], n)) return static_cast<int>(i);
    }
    return -1;
  };
  if (m_fieldAliases.isEmpty()) {
    for (std::size_t i = 0; i < names.size(); ++i) m_fields.push_back({names[i], static_cast<int>(i)});
    return;
  }
  for (const QString& line : m_fieldAliases) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    const std::string alias = (eq < 0 ? line : line.left(eq)).trimmed().toStdString();
    const std::string field = (eq < 0 ? line : line.mid(eq + 1)).trimmed().toStdString();
    const int index = indexOf(field);
    if (index >= 0 && !alias.empty()) m_fields.push_back({alias, index});
  }
}

void DataSet::TableClosing() {
  m_bookmark.reset();
  m_fields.clear();
  m_opened = false;
}

void DataSet::First() {
  Open();
  if (m_rangeBegin == RangeBegin::rbCurrent && m_bookmark) {
    TableGoTo(*m_bookmark);
  } else {
    TableFirst();
  }
  m_recNo = 0;
  m_endReached = false;
  if (m_rangeEnd == RangeEnd::reCount && m_rangeEndCount <= 0) m_endReached = true;
}

void DataSet::Next() {
  Open();
  if (m_rangeEnd == RangeEnd::reCurrent && m_bookmark && TableRow() == *m_bookmark) {
    m_endReached = true;
    return;
  }
  TableNext();
  ++m_recNo;
  if (m_rangeEnd == RangeEnd::reCount && m_recNo >= m_rangeEndCount) m_endReached = true;
}

bool DataSet::Eof() {
  Open();
  return m_endReached || TableEof();
}

std::vector<std::string> DataSet::FieldNames() {
  Open();
  std::vector<std::string> names;
  for (const auto& f : m_fields) names.push_back(f.name);
  return names;
}

int DataSet::FieldIndex(std::string_view field) {
  if (!m_opened) Open();
  for (const auto& f : m_fields) {
    if (expr::SameText(f.name, field)) return f.tableField;
  }
  return -1;
}

std::optional<expr::Value> DataSet::FieldValue(std::string_view field) {
  const int i = FieldIndex(field);
  if (i < 0) return std::nullopt;
  return TableValue(i);
}

std::optional<std::string> DataSet::FieldDisplayText(std::string_view field) {
  const int i = FieldIndex(field);
  if (i < 0) return std::nullopt;
  return TableDisplayText(i);
}

expr::FieldType DataSet::FieldKind(std::string_view field) {
  const int i = FieldIndex(field);
  return i < 0 ? expr::FieldType::fftNumeric : TableFieldKind(i);
}

bool DataSet::IsBlobField(std::string_view field) {
  const int i = FieldIndex(field);
  return i >= 0 && TableIsBlob(i);
}

namespace DataSetRegistry {

DataSet* Find(const QString& userName) {
  const std::lock_guard guard(RegistryLock());
  for (DataSet* d : Registry()) {
    if (d->UserNameText().compare(userName, Qt::CaseInsensitive) == 0) return d;
  }
  return nullptr;
}

std::vector<DataSet*> All() {
  const std::lock_guard guard(RegistryLock());
  return Registry();
}

}  // namespace DataSetRegistry

}  // namespace report
