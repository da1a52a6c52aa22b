#include <optional>

#include "regional/format.h"
#include "report/expr/date_time.h"
#include "report/expr/display_format.h"
#include "report/expr/error.h"
#include "report/expr/picture_format.h"
#include "report/expr/value_ops.h"

namespace report::expr {

namespace {

std::size_t CodePoints(std::string_view s) {
  std::size_t n = 0;
  for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::string ReplacedAll(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::optional<std::string> Numeric(const Value& value, const DisplayFormat& f,
                                   const FormatSettings& s) {
  // An empty format would show nothing at all; the number itself is better.
  if (f.formatStr.empty()) return std::nullopt;
  std::optional<std::string> text;
  if (f.formatStr.find('#') != std::string::npos) {
    const auto real = ToReal(value, s);
    if (real) text = FormatFloat(f.formatStr, *real, s.numbers);
  } else if (f.formatStr.find('d') != std::string::npos) {
    const auto whole = ToInt64(value, s);
    if (whole) {
      const regional::FormatArg arg{*whole};
      text = regional::Format(f.formatStr, {&arg, 1}, s.numbers);
    }
  } else {
    const auto real = ToReal(value, s);
    if (real) {
      const regional::FormatArg arg{*real};
      text = regional::Format(f.formatStr, {&arg, 1}, s.numbers);
    }
  }
  if (!text) return std::nullopt;
  if (CodePoints(f.decimalSeparator) == 1 && f.decimalSeparator != s.numbers.decimalSeparator) {
    return ReplacedAll(std::move(*text), s.numbers.decimalSeparator, f.decimalSeparator);
  }
  return text;
}

std::optional<std::string> Dated(const Value& value, const DisplayFormat& f,
                                 const FormatSettings& s) {
  DateTime when;
  if (value.Kind() == ValueKind::DateTime) {
    when = value.AsDateTime();
  } else if (value.Kind() == ValueKind::Boolean) {
    return std::nullopt;
  } else {
    const auto days = ToReal(value, s);
    if (!days) return std::nullopt;
    when.days = *days;
  }
  return FormatDateTime(f.formatStr, when, s.dates);
}

std::string Boolean(const Value& value, const DisplayFormat& f, const FormatSettings& s) {
  bool yes = false;
  try {
    yes = IsTrue(value, s);
  } catch (const Error&) {
    // Not readable as a Boolean: "any other value".
  }
  const auto comma = f.formatStr.find(',');
  if (comma == std::string::npos) return yes ? f.formatStr : std::string();
  return yes ? f.formatStr.substr(0, comma) : f.formatStr.substr(comma + 1);
}

}  // namespace

std::string FormatValue(const Value& value, const DisplayFormat& format,
                        const FormatSettings& settings) {
  if (value.IsNull()) return {};
  std::optional<std::string> text;
  switch (format.kind) {
    case FormatKind::fkText: break;
    case FormatKind::fkNumeric: text = Numeric(value, format, settings); break;
    case FormatKind::fkDateTime: text = Dated(value, format, settings); break;
    case FormatKind::fkBoolean: return Boolean(value, format, settings);
  }
  return text ? std::move(*text) : TextOf(value, settings);
}

}  // namespace report::expr
