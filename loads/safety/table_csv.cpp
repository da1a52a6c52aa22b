#include "loads/table_csv.h"

#include <QStringDecoder>

#include <cmath>

#include "loads/csv.h"

namespace loads {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int kShownValueLength = 40;  // characters of a bad value quoted in a message

bool CommaDecimal(const regional::Regional& numbers) { return numbers.decimalSeparator == ","; }

QString Shortened(const QString& text) {
  if (text.size() <= kShownValueLength) return text;
  return text.left(kShownValueLength) + QStringLiteral("…");
}

QString ValueText(const FieldValue& value, const CsvLayout& layout) {
  if (value.IsNull()) return {};
  switch (value.kind) {
    case FieldKind::Text:
      // Always quoted: an empty text then stays apart from no value.
      return csv::FieldText(value.value.toString(), layout.separator, true);
    case FieldKind::Integer:
      return QString::number(value.value.toLongLong());
    case FieldKind::Real:
      return NumberText(value.value.toDouble(), layout.numbers);
    case FieldKind::Boolean:
      return value.value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  }
  return {};
}

QByteArray WithoutByteOrderMark(const QByteArray& bytes) {
  return bytes.startsWith(kByteOrderMark) ? bytes.mid(3) : bytes;
}

int LineOf(const QByteArray& bytes, qsizetype offset) {
  return static_cast<int>(bytes.left(offset).count('\n')) + 1;
}

// Control characters other than tab and line ends do not occur in text.
qsizetype FirstBinaryByte(const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') return i;
    if (c == 0x7F) return i;
  }
  return -1;
}

// The line of the first byte sequence that is not UTF-8, 0 when all is.
int FirstNonUtf8Line(const QByteArray& bytes) {
  int line = 1;
  for (qsizetype start = 0; start <= bytes.size(); ++line) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString decoded = decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
    if (decoder.hasError()) return line;
    start = end + 1;
  }
  return 0;
}

std::optional<ImportProblem> CheckText(const QByteArray& raw) {
  if (raw.size() > kMaxImportBytes) {
    return ImportProblem{0, QStringLiteral("Il file è troppo grande per essere importato (più di %1 MB).")
                                .arg(kMaxImportBytes / (1024 * 1024))};
  }
  if (raw.startsWith("\xFF\xFE") || raw.startsWith("\xFE\xFF")) {
    return ImportProblem{0, QStringLiteral("Il file è in codifica UTF-16: salvarlo con la codifica UTF-8 "
                                           "e riprovare.")};
  }
  const QByteArray bytes = WithoutByteOrderMark(raw);
  if (bytes.trimmed().isEmpty()) return ImportProblem{0, QStringLiteral("Il file è vuoto.")};
  if (const qsizetype binary = FirstBinaryByte(bytes); binary >= 0) {
    return ImportProblem{LineOf(bytes, binary),
                         QStringLiteral("il file non è un file di testo (contiene dati binari).")};
  }
  if (const int line = FirstNonUtf8Line(bytes); line > 0) {
    return ImportProblem{line, QStringLiteral("il file non è in codifica UTF-8. Salvarlo con la "
                                              "codifica UTF-8 e riprovare.")};
  }
  return std::nullopt;
}

QString QuotedList(const QStringList& names) {
  QStringList quoted;
  for (const QString& n : names) quoted << QLatin1Char('"') + n + QLatin1Char('"');
  return quoted.join(QStringLiteral(", "));
}

// The field of the table each column fills; nothing when the header does
// not name every field exactly once.
std::optional<std::vector<int>> MatchHeader(const csv::Record& header, const std::vector<FieldDef>& fields,
                                            QString& why) {
  std::vector<int> columns;
  std::vector<bool> seen(fields.size(), false);
  QStringList unknown;
  QStringList twice;
  for (const csv::Field& f : header.fields) {
    const QString name = f.text.trimmed();
    int match = -1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) match = static_cast<int>(i);
    }
    if (match < 0) {
      unknown << name;
    } else if (seen[static_cast<std::size_t>(match)]) {
      twice << fields[static_cast<std::size_t>(match)].name;
    } else {
      seen[static_cast<std::size_t>(match)] = true;
    }
    columns.push_back(match);
  }
  QStringList missing;
  QStringList expected;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    expected << fields[i].name;
    if (!seen[i]) missing << fields[i].name;
  }
  if (missing.isEmpty() && unknown.isEmpty() && twice.isEmpty()) return columns;

  QStringList parts;
  if (missing.size() == 1) parts << QStringLiteral("manca il campo %1").arg(QuotedList(missing));
  if (missing.size() > 1) parts << QStringLiteral("mancano i campi %1").arg(QuotedList(missing));
  if (unknown.size() == 1) parts << QStringLiteral("campo sconosciuto %1").arg(QuotedList(unknown));
  if (unknown.size() > 1) parts << QStringLiteral("campi sconosciuti %1").arg(QuotedList(unknown));
  if (!twice.isEmpty()) parts << QStringLiteral("ripetuti %1").arg(QuotedList(twice));
  why = QStringLiteral("l'intestazione non corrisponde ai campi della tabella: %1. La prima riga deve "
                       "contenere i nomi dei campi: %2.")
            .arg(parts.join(QStringLiteral("; ")), expected.join(QStringLiteral(", ")));
  return std::nullopt;
}

std::optional<QVariant> Converted(const FieldDef& field, const csv::Field& cell,
                                  const regional::Regional& numbers, QString& why) {
  if (field.kind == FieldKind::Text) {
    if (cell.text.isEmpty() && !cell.quoted) return QVariant();
    // A null string would be stored as no value: "" is an empty text.
    return QVariant(cell.text.isNull() ? QString::fromLatin1("", 0) : cell.text);
  }
  const QString text = cell.text.trimmed();
  if (text.isEmpty()) return QVariant();
  const std::string utf8 = text.toStdString();
  switch (field.kind) {
    case FieldKind::Integer:
      if (const auto value = regional::ParseInteger(utf8)) return QVariant(qint64{*value});
      why = QStringLiteral("%1: \"%2\" non è un numero intero").arg(field.name, Shortened(text));
      return std::nullopt;
    case FieldKind::Real:
      if (const auto value = regional::ParseFloat(utf8, numbers); value && std::isfinite(*value)) {
        return QVariant(*value);
      }
      why = QStringLiteral("%1: \"%2\" non è un numero (separatore decimale \"%3\")")
                .arg(field.name, Shortened(text), QString::fromStdString(numbers.decimalSeparator));
      return std::nullopt;
    case FieldKind::Boolean: {
      const QString t = text.toLower();
      if (t == QLatin1String("true") || t == QLatin1String("1")) return QVariant(true);
      if (t == QLatin1String("false") || t == QLatin1String("0")) return QVariant(false);
      why = QStringLiteral("%1: \"%2\" non è vero o falso").arg(field.name, Shortened(text));
      return std::nullopt;
    }
    case FieldKind::Text:
      break;
  }
  return QVariant(cell.text);
}

QStringView FirstLine(QStringView text) {
  qsizetype end = 0;
  while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') ++end;
  return text.left(end);
}

}  // namespace

CsvLayout LayoutFor(NumberForm form, const regional::Regional& user) {
  if (form == NumberForm::Plain) return {u',', regional::Neutral()};
  regional::Regional numbers = regional::Neutral();
  numbers.decimalSeparator = user.decimalSeparator;
  // A comma between fields would split every number in two.
  return {CommaDecimal(user) ? u';' : u',', numbers};
}

QString NumberText(double value, const regional::Regional& numbers) {
  for (int precision = 15; precision < 17; ++precision) {
    const std::string text = regional::FormatGeneral(value, numbers, precision);
    if (regional::ParseFloat(text, numbers) == value) return QString::fromStdString(text);
  }
  return QString::fromStdString(regional::FormatGeneral(value, numbers, 17));
}

QByteArray ExportCsv(const LoadTable& table, const CsvLayout& layout) {
  const QString lineEnd = QStringLiteral("\r\n");
  const auto fieldCount = static_cast<int>(table.Fields().size());
  QStringList header;
  for (const FieldDef& f : table.Fields()) header << csv::FieldText(f.name, layout.separator, false);
  QString out = header.join(layout.separator) + lineEnd;
  for (int row = 0; row < table.RecordCount(); ++row) {
    QStringList cells;
    for (int field = 0; field < fieldCount; ++field) cells << ValueText(table.Value(row, field), layout);
    out += cells.join(layout.separator) + lineEnd;
  }
  return QByteArray(kByteOrderMark) + out.toUtf8();
}

QString ImportProblem::Text() const {
  if (line <= 0) return message;
  return QStringLiteral("Riga %1: %2").arg(line).arg(message);
}

NumberForm GuessNumberForm(const QByteArray& bytes, const regional::Regional& user) {
  const QString text = QString::fromUtf8(WithoutByteOrderMark(bytes).left(4096));
  const QChar separator = csv::DetectSeparator(FirstLine(QStringView(text).trimmed()));
  return LayoutFor(NumberForm::Local, user).separator == separator ? NumberForm::Local : NumberForm::Plain;
}

ImportPlan PlanImport(const QByteArray& raw, const std::vector<FieldDef>& fields,
                      const regional::Regional& numbers) {
  ImportPlan plan;
  if ((plan.refused = CheckText(raw))) return plan;

  const QString text = QString::fromUtf8(WithoutByteOrderMark(raw));
  // The header is the first line with anything on it.
  qsizetype start = 0;
  while (start < text.size() && text[start].isSpace()) ++start;
  plan.separator = csv::DetectSeparator(FirstLine(QStringView(text).mid(start)));
  const csv::Document document = csv::Parse(text, plan.separator);

  std::size_t next = 0;
  while (next < document.records.size() && document.records[next].IsEmpty()) ++next;
  if (next == document.records.size()) {
    const int line = document.openQuoteLine.value_or(0);
    plan.refused = ImportProblem{line, line > 0 ? QStringLiteral("virgolette aperte e mai chiuse nell'intestazione.")
                                                : QStringLiteral("Il file è vuoto.")};
    return plan;
  }
  const csv::Record& header = document.records[next++];
  QString why;
  const auto columns = MatchHeader(header, fields, why);
  if (!columns) {
    plan.refused = ImportProblem{header.line, why};
    return plan;
  }

  for (; next < document.records.size(); ++next) {
    const csv::Record& record = document.records[next];
    if (record.IsEmpty()) {
      ++plan.emptyLines;
      continue;
    }
    if (!record.problem.isEmpty()) {
      plan.problems.push_back({record.line, record.problem});
      continue;
    }
    if (record.fields.size() != columns->size()) {
      plan.problems.push_back({record.line, QStringLiteral("%1 valori invece di %2")
                                                .arg(record.fields.size())
                                                .arg(columns->size())});
      continue;
    }
    ImportRow row{record.line, std::vector<QVariant>(fields.size())};
    QStringList errors;
    for (std::size_t c = 0; c < columns->size(); ++c) {
      const auto field = static_cast<std::size_t>((*columns)[c]);
      QString error;
      if (auto value = Converted(fields[field], record.fields[c], numbers, error)) {
        row.values[field] = std::move(*value);
      } else {
        errors << error;
      }
    }
    if (!errors.isEmpty()) {
      plan.problems.push_back({record.line, errors.join(QStringLiteral("; "))});
      continue;
    }
    plan.rows.push_back(std::move(row));
  }
  if (document.openQuoteLine) {
    plan.problems.push_back({*document.openQuoteLine,
                             QStringLiteral("virgolette aperte e mai chiuse: da questa riga in poi il "
                                            "file non è stato letto")});
  }
  return plan;
}

}  // namespace loads
