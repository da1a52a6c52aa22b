#pragma once

#include <QString>
#include <QVariant>

#include <filesystem>
#include <ostream>
#include <vector>

#include "loads/load_table.h"
#include "regional/regional.h"

QT_BEGIN_NAMESPACE
// Readable failure messages.
inline void PrintTo(const QVariant& v, std::ostream* os) {
  if (v.isNull()) {
    *os << "null";
    return;
  }
  *os << v.typeName() << ' ' << v.toString().toStdString();
}
QT_END_NAMESPACE

// What the backup and CSV tests share: load files made in a test's own
// folder and their contents read back without the program.
namespace loads::fixtures {

inline regional::Regional Italian() {
  regional::Regional r;
  r.decimalSeparator = ",";
  r.thousandSeparator = ".";
  return r;
}

inline QString PathIn(const std::filesystem::path& dir, const char* name) {
  return QString::fromStdString((dir / name).string());
}

using Rows = std::vector<std::vector<QVariant>>;

// Every record as stored, in table order.
inline Rows ValuesOf(const LoadTable& table) {
  Rows rows;
  for (int r = 0; r < table.RecordCount(); ++r) {
    std::vector<QVariant> values;
    for (int f = 0; f < static_cast<int>(table.Fields().size()); ++f) values.push_back(table.Value(r, f).value);
    rows.push_back(std::move(values));
  }
  return rows;
}

// The records of a load file, read through a table of its own; empty when
// the file cannot be opened.
inline Rows StoredRows(const QString& file) {
  LoadTable table(file, SampleSet::None);
  if (!table.Open().ok()) return {};
  return ValuesOf(table);
}

}  // namespace loads::fixtures
