#include "loads/csv.h"

#include <array>

namespace loads::csv {

namespace {

constexpr QChar kQuote = u'"';

bool IsLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

// Reads one record at a time; `pos` stays on the first character not read.
class Parser {
 public:
  Parser(QStringView text, QChar separator) : m_text(text), m_separator(separator) {}

  Document Run() {
    Document document;
    while (m_pos < m_text.size()) {
      Record record;
      record.line = m_line;
      if (!ReadRecord(record)) {
        document.openQuoteLine = m_openQuoteLine;
        break;
      }
      document.records.push_back(std::move(record));
    }
    return document;
  }

 private:
  // False when the text ends inside a quoted field.
  bool ReadRecord(Record& record) {
    for (;;) {
      Field field;
      if (!ReadField(field, record)) return false;
      record.fields.push_back(std::move(field));
      if (m_pos >= m_text.size()) return true;
      const QChar c = m_text[m_pos];
      if (c == m_separator) {
        ++m_pos;
        if (m_pos >= m_text.size()) {  // a separator ends the text: one more empty field
          record.fields.emplace_back();
          return true;
        }
        continue;
      }
      SkipLineEnd();
      return true;
    }
  }

  bool ReadField(Field& field, Record& record) {
    if (m_pos < m_text.size() && m_text[m_pos] == kQuote) return ReadQuoted(field, record);
    while (m_pos < m_text.size()) {
      const QChar c = m_text[m_pos];
      if (c == m_separator || IsLineEnd(c)) break;
      field.text += c;  // a stray quote here is taken as it is, as spreadsheets do
      ++m_pos;
    }
    return true;
  }

  bool ReadQuoted(Field& field, Record& record) {
    field.quoted = true;
    m_openQuoteLine = m_line;
    ++m_pos;
    for (;;) {
      if (m_pos >= m_text.size()) return false;
      const QChar c = m_text[m_pos];
      if (c == kQuote) {
        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == kQuote) {
          field.text += kQuote;
          m_pos += 2;
          continue;
        }
        ++m_pos;
        break;
      }
      field.text += c;
      ++m_pos;
      if (c == u'\n' || (c == u'\r' && (m_pos >= m_text.size() || m_text[m_pos] != u'\n'))) ++m_line;
    }
    // Text between the closing quote and the end of the field.
    bool trailing = false;
    while (m_pos < m_text.size() && m_text[m_pos] != m_separator && !IsLineEnd(m_text[m_pos])) {
      trailing = trailing || !m_text[m_pos].isSpace();
      ++m_pos;
    }
    if (trailing && record.problem.isEmpty()) {
      record.problem = QStringLiteral("testo dopo le virgolette di chiusura del valore %1")
                           .arg(record.fields.size() + 1);
    }
    return true;
  }

  void SkipLineEnd() {
    if (m_pos < m_text.size() && m_text[m_pos] == u'\r') ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == u'\n') ++m_pos;
    ++m_line;
  }

  QStringView m_text;
  QChar m_separator;
  qsizetype m_pos = 0;
  int m_line = 1;
  int m_openQuoteLine = 0;
};

}  // namespace

bool Record::IsEmpty() const {
  for (const Field& field : fields) {
    if (field.quoted || !field.text.trimmed().isEmpty()) return false;
  }
  return problem.isEmpty();
}

Document Parse(QStringView text, QChar separator) { return Parser(text, separator).Run(); }

QChar DetectSeparator(QStringView headerLine) {
  constexpr std::array<QChar, 3> kCandidates{u';', u',', u'\t'};
  std::array<int, 3> counts{};
  bool quoted = false;
  for (const QChar c : headerLine) {
    if (c == kQuote) quoted = !quoted;
    if (quoted) continue;
    for (std::size_t i = 0; i < kCandidates.size(); ++i) counts[i] += c == kCandidates[i] ? 1 : 0;
  }
  std::size_t best = 1;  // ','
  for (std::size_t i = 0; i < kCandidates.size(); ++i) {
    if (counts[i] > counts[best]) best = i;
  }
  return kCandidates[best];
}

QString FieldText(const QString& value, QChar separator, bool always) {
  const bool needed = value.contains(separator) || value.contains(kQuote) || value.contains(u'\n') ||
                      value.contains(u'\r') ||
                      (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
  if (!always && !needed) return value;
  QString inner = value;
  inner.replace(kQuote, QStringLiteral("\"\""));
  return kQuote + inner + kQuote;
}

}  // namespace loads::csv
