#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// Comma-separated text as spreadsheets write it: fields may be quoted with
// '"', a quote inside a quoted field is doubled, a quoted field may span
// lines. Line ends are LF, CR LF or CR. Qt Core only.
namespace loads::csv {

struct Field {
  QString text;
  bool quoted = false;  // tells an empty text ("") from no value at all
};

struct Record {
  int line = 0;                // 1-based line the record starts on
  std::vector<Field> fields;
  QString problem;             // set when the record could not be read cleanly
  // A line with nothing on it but separators or blanks.
  bool IsEmpty() const;
};

struct Document {
  std::vector<Record> records;
  // The line where a quote was opened and never closed; what follows it
  // could not be split into records.
  std::optional<int> openQuoteLine;
};

Document Parse(QStringView text, QChar separator);

// The separator a header line uses: the most frequent of ';', ',' and tab
// outside quotes (',' when there is none).
QChar DetectSeparator(QStringView headerLine);

// `value` as one field: quoted when `always`, or when it would not survive
// unquoted (a separator, a quote, a line end, blanks at either end).
QString FieldText(const QString& value, QChar separator, bool always);

}  // namespace loads::csv
