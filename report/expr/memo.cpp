#include "report/expr/memo.h"

#include <algorithm>
#include <array>

#include "report/expr/evaluator.h"
#include "report/expr/same_text.h"
#include "report/expr/value_ops.h"

namespace report::expr {

namespace {

constexpr std::size_t kMaxDelimiter = 255;
constexpr std::size_t kMaxInlineFormat = 255;

std::string_view Prefix(std::string_view s, std::size_t codePoints) {
  std::size_t bytes = 0;
  for (std::size_t kept = 0; bytes < s.size(); ++bytes) {
    const bool starts = (static_cast<unsigned char>(s[bytes]) & 0xC0) != 0x80;
    if (starts && kept++ == codePoints) break;
  }
  return s.substr(0, bytes);
}

struct Split {
  std::string_view expression;
  bool hasFormat = false;
  DisplayFormat format;
};

// "expr #Fformat": the first blank followed by '#' ends the expression,
// unless what follows contains ')' (then '#' belongs to the expression).
Split SplitInlineFormat(std::string_view text) {
  const auto at = text.find(" #");
  if (at == std::string_view::npos) return {text, false, {}};
  const std::string_view after = text.substr(at + 2);
  if (after.find(')') != std::string_view::npos) return {text, false, {}};
  Split s{text.substr(0, at), true, {}};
  if (after.empty()) return s;
  const std::string_view rest = Prefix(after.substr(1), kMaxInlineFormat);
  s.format.formatStr = std::string(rest);
  switch (after.front()) {
    case 'B':
    case 'b': s.format.kind = FormatKind::fkBoolean; break;
    case 'D':
    case 'T':
    case 'd':
    case 't': s.format.kind = FormatKind::fkDateTime; break;
    case 'N':
    case 'n':
      s.format.kind = FormatKind::fkNumeric;
      for (char& c : s.format.formatStr) {
        if (c == ',' || c == '-' || c == '.') {
          s.format.decimalSeparator = std::string(1, c);
          c = '.';
        }
      }
      break;
    default: break;
  }
  return s;
}

// Called for every character of a memo: the first byte decides most calls.
bool StartsAt(std::string_view text, std::size_t at, std::string_view what) {
  return text[at] == what.front() && text.size() - at >= what.size() &&
         text.compare(at, what.size(), what) == 0;
}

// From `position`, the next bracketed expression: skip to the next opening
// delimiter (or the last character) and walk from there.
BracketedExpression NextBracket(std::string_view text, const Delimiters& d, std::size_t position) {
  if (position + 1 < text.size()) {
    position = std::min(text.find(d.open, position), text.size() - 1);
  }
  return FindBracketedExpression(text, d.open, d.close, position);
}

bool HiddenZero(const MemoData& memo, const Value& value, const FormatSettings& settings) {
  if (!memo.hideZeros || value.IsText()) return false;
  try {
    return Compare(Relation::Equal, value, Value(std::int32_t{0}), settings);
  } catch (const Error&) {
    return false;
  }
}

void ShowField(MemoData& memo, Evaluator& evaluator) {
  FieldSource& dataSet = *memo.dataSet;
  const FormatSettings& settings = evaluator.GetScope().Settings();
  if (dataSet.IsBlobField(memo.dataField)) {
    auto text = dataSet.FieldDisplayText(memo.dataField);
    memo.text = text ? std::move(*text) : evaluator.RecordFieldNotFound(dataSet, memo.dataField);
    return;
  }
  auto value = dataSet.FieldValue(memo.dataField);
  if (!value) {
    memo.value = Value::Null();
    memo.text = evaluator.RecordFieldNotFound(dataSet, memo.dataField);
    return;
  }
  memo.value = std::move(*value);
  if (memo.displayFormat.kind != FormatKind::fkText) {
    memo.text = FormatValue(memo.value, memo.displayFormat, settings);
  } else {
    auto text = dataSet.FieldDisplayText(memo.dataField);
    memo.text = text ? std::move(*text) : evaluator.RecordFieldNotFound(dataSet, memo.dataField);
  }
  if (HiddenZero(memo, memo.value, settings)) memo.text.clear();
}

}  // namespace

Delimiters SplitDelimiters(std::string_view expressionDelimiters) {
  const auto comma = expressionDelimiters.find(',');
  if (comma == std::string_view::npos) return {{}, std::string(Prefix(expressionDelimiters, kMaxDelimiter))};
  return {std::string(expressionDelimiters.substr(0, comma)),
          std::string(Prefix(expressionDelimiters.substr(comma + 1), kMaxDelimiter))};
}

BracketedExpression FindBracketedExpression(std::string_view text, std::string_view open,
                                            std::string_view close, std::size_t position) {
  if (open.empty() || close.empty()) return {};
  // Most characters are none of the four that matter; one table look-up
  // passes them.
  std::array<bool, 256> special{};
  for (const char c : {'"', '\'', open.front(), close.front()}) {
    special[static_cast<unsigned char>(c)] = true;
  }
  // With equal delimiters a match inside an expression can only close it.
  const bool same = open == close;
  int depth = 0;
  bool doubleQuoted = false;
  bool singleQuoted = false;
  std::size_t start = 0;
  for (std::size_t i = position; i < text.size(); ++i) {
    const char c = text[i];
    if (!special[static_cast<unsigned char>(c)]) continue;
    if (c == '"' && !singleQuoted) {
      doubleQuoted = !doubleQuoted;
      continue;
    }
    if (c == '\'' && !doubleQuoted) {
      singleQuoted = !singleQuoted;
      continue;
    }
    if (doubleQuoted || singleQuoted) continue;
    if (StartsAt(text, i, open) && !(same && depth > 0)) {
      if (depth == 0) start = i;
      ++depth;
      i += open.size() - 1;
    } else if (depth > 0 && StartsAt(text, i, close)) {
      if (--depth == 0) {
        const std::size_t innerStart = start + open.size();
        return {true, start, i + close.size(), text.substr(innerStart, i - innerStart)};
      }
      i += close.size() - 1;
    }
  }
  return {};
}

void ExpandMemoText(MemoData& memo, Evaluator& evaluator) {
  if (memo.IsBoundToField()) {
    ShowField(memo, evaluator);
    return;
  }
  if (!memo.allowExpressions) return;
  const Delimiters d = SplitDelimiters(memo.expressionDelimiters);
  if (d.open.empty() || d.close.empty()) return;
  const std::string_view text = memo.text;
  if (text.find(d.open) == std::string_view::npos) return;

  // Built as a new text so that a long memo costs one pass, not one copy
  // per expression; inserted text is never scanned again either way.
  std::string out;
  out.reserve(text.size());
  std::size_t copied = 0;
  std::size_t position = 0;
  for (;;) {
    const BracketedExpression found = NextBracket(text, d, position);
    if (!found.found) break;
    out.append(text, copied, found.start - copied);
    out += EvaluateAndFormat(memo, found.inner, evaluator);
    copied = position = found.end;
  }
  out.append(text, copied);
  memo.text = std::move(out);
  evaluator.SetScriptValue(memo.value);
}

std::string EvaluateAndFormat(MemoData& memo, std::string_view text, Evaluator& evaluator) {
  const Split split = SplitInlineFormat(text);
  Value value;
  if (SameText(split.expression, "TOTALPAGES#")) {
    value = Value("[TotalPages#]");
  } else if (SameText(split.expression, "COPYNAME#")) {
    value = Value("[CopyName#]");
  } else {
    value = evaluator.Calc(split.expression);
  }
  memo.value = value;
  const FormatSettings& settings = evaluator.GetScope().Settings();
  if (HiddenZero(memo, value, settings)) return {};
  return FormatValue(value, split.hasFormat ? split.format : memo.displayFormat, settings);
}

std::vector<std::string> MemoExpressions(const MemoData& memo) {
  std::vector<std::string> expressions;
  if (memo.IsBoundToField() || !memo.allowExpressions) return expressions;
  const Delimiters d = SplitDelimiters(memo.expressionDelimiters);
  std::size_t position = 0;
  for (;;) {
    const auto found = NextBracket(memo.text, d, position);
    if (!found.found) break;
    expressions.emplace_back(SplitInlineFormat(found.inner).expression);
    position = found.end;
  }
  return expressions;
}

}  // namespace report::expr
