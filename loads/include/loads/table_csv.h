#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

#include "loads/load_table.h"
#include "regional/regional.h"

// A load table as a CSV file a spreadsheet opens (UTF-8 with a byte-order
// mark, so that the spreadsheet recognises the encoding; a header row with
// the field names; one record per row), and such a file read back.
namespace loads {

enum class NumberForm {
  Local,  // the user's decimal separator; fields separated by ';' when that is ','
  Plain,  // "1.5", fields separated by ','
};

struct CsvLayout {
  QChar separator = u',';
  regional::Regional numbers;  // only the decimal separator is used
};

CsvLayout LayoutFor(NumberForm form, const regional::Regional& user);

// Every record of `table` as stored (a change still being edited is not
// included); numbers with as many digits as they need to read back equal.
QByteArray ExportCsv(const LoadTable& table, const CsvLayout& layout);

inline constexpr qint64 kMaxImportBytes = 64LL * 1024 * 1024;

struct ImportProblem {
  int line = 0;  // 1-based; 0 for the file as a whole
  QString message;
  QString Text() const;  // "Riga 4: ..."
};

struct ImportRow {
  int line = 0;
  std::vector<QVariant> values;  // in the table's field order; null for no value
};

struct ImportPlan {
  // Set when nothing of the file can be imported (not text, not UTF-8, a
  // header that does not name the table's fields...).
  std::optional<ImportProblem> refused;
  QChar separator = u',';
  std::vector<ImportRow> rows;          // what would be added, in file order
  std::vector<ImportProblem> problems;  // rows left out, in line order
  int emptyLines = 0;                   // skipped, not problems
};

// Reads `bytes` as a CSV file for a table with `fields`; numbers are read
// with the decimal separator of `numbers`. The header names every field
// once, in any order and without regard to case. Nothing is written.
ImportPlan PlanImport(const QByteArray& bytes, const std::vector<FieldDef>& fields,
                      const regional::Regional& numbers);

// The number form a file most likely has: what an export in the user's form
// would have written with the separator the file uses.
NumberForm GuessNumberForm(const QByteArray& bytes, const regional::Regional& user);

// A number as short as it can be written and still read back equal.
QString NumberText(double value, const regional::Regional& numbers);

}  // namespace loads
