#include "regional/regional.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace regional {

Regional Neutral() { return {}; }

namespace {

constexpr int kSignificantDigits = 15;

// The 15 significant digits of |value| and the decimal exponent of the first.
struct Significand {
  std::string digits;
  int exponent = 0;
};

void IncrementDecimal(std::string& digits);

// Digits beyond the 15th are noise of the binary form; fewer digits are rounded
// from those 15, halves up, like every other rounding here.
Significand SignificandOf(double magnitude, int precision) {
  char buffer[64];
  const int printed = precision > kSignificantDigits ? precision : kSignificantDigits;
  // to_chars gives the same correctly rounded digits as printf's %e, several
  // times faster; report memos format three amounts per row this way.
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, printed - 1);
  Significand s;
  const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
  const auto e = text.find('e');
  for (const char c : text.substr(0, e)) {
    if (c >= '0' && c <= '9') s.digits.push_back(c);
  }
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  s.exponent);
  if (precision < printed) {
    const bool up = s.digits[static_cast<std::size_t>(precision)] >= '5';
    s.digits.resize(static_cast<std::size_t>(precision));
    if (up) {
      IncrementDecimal(s.digits);
      if (s.digits.size() > static_cast<std::size_t>(precision)) {
        s.digits.pop_back();
        ++s.exponent;
      }
    }
  }
  return s;
}

void IncrementDecimal(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

std::string Grouped(const std::string& integer, const std::string& separator) {
  if (separator.empty()) return integer;
  std::string out;
  const auto n = integer.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i != 0 && (n - i) % 3 == 0) out += separator;
    out.push_back(integer[i]);
  }
  return out;
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string Joined(const DecimalDigits& d, const std::string& integer, const Regional& r) {
  return d.fraction.empty() ? integer : integer + r.decimalSeparator + d.fraction;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

DecimalDigits RoundToDecimals(double value, int decimals) {
  decimals = decimals < 0 ? 0 : (decimals > 18 ? 18 : decimals);
  const Significand s = SignificandOf(std::fabs(value), kSignificantDigits);
  const int cut = s.exponent + 1 + decimals;  // leading digits that stay
  std::string kept;
  bool roundUp = false;
  if (cut >= kSignificantDigits) {
    kept = s.digits + std::string(static_cast<std::size_t>(cut - kSignificantDigits), '0');
  } else if (cut >= 0) {
    kept = s.digits.substr(0, static_cast<std::size_t>(cut));
    roundUp = s.digits[static_cast<std::size_t>(cut)] >= '5';
  }
  if (roundUp) IncrementDecimal(kept);
  if (kept.size() < static_cast<std::size_t>(decimals) + 1) {
    kept.insert(0, static_cast<std::size_t>(decimals) + 1 - kept.size(), '0');
  }
  DecimalDigits d;
  const auto split = kept.size() - static_cast<std::size_t>(decimals);
  d.integer = kept.substr(0, split);
  d.fraction = kept.substr(split);
  const auto firstNonZero = d.integer.find_first_not_of('0');
  d.integer = firstNonZero == std::string::npos ? "0" : d.integer.substr(firstNonZero);
  d.negative = value < 0 && kept.find_first_not_of('0') != std::string::npos;
  return d;
}

std::string FormatMoney(double value, const Regional& r, int decimals) {
  if (!std::isfinite(value)) return NonFinite(value);
  const DecimalDigits d = RoundToDecimals(value, decimals < 0 ? r.currencyDecimals : decimals);
  const std::string body = Joined(d, Grouped(d.integer, r.thousandSeparator), r);
  return d.negative ? r.negativePrefix + body + r.negativeSuffix
                    : r.positivePrefix + body + r.positiveSuffix;
}

std::string FormatFixed(double value, int decimals, const Regional& r) {
  if (!std::isfinite(value)) return NonFinite(value);
  const DecimalDigits d = RoundToDecimals(value, decimals);
  return (d.negative ? "-" : "") + Joined(d, d.integer, r);
}

std::string FormatNumber(double value, int decimals, const Regional& r) {
  if (!std::isfinite(value)) return NonFinite(value);
  const DecimalDigits d = RoundToDecimals(value, decimals);
  return (d.negative ? "-" : "") + Joined(d, Grouped(d.integer, r.thousandSeparator), r);
}

std::string FormatGeneral(double value, const Regional& r, int precision) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (value == 0) return "0";
  precision = precision < 1 ? 1 : (precision > 17 ? 17 : precision);
  Significand s = SignificandOf(std::fabs(value), precision);
  while (s.digits.size() > 1 && s.digits.back() == '0') s.digits.pop_back();
  const std::string sign = value < 0 ? "-" : "";
  if (s.exponent >= precision || std::fabs(value) < 0.00001) {
    std::string mantissa = s.digits.substr(0, 1);
    if (s.digits.size() > 1) mantissa += r.decimalSeparator + s.digits.substr(1);
    return sign + mantissa + "E" + std::to_string(s.exponent);
  }
  std::string integer;
  std::string fraction;
  if (s.exponent < 0) {
    integer = "0";
    fraction = std::string(static_cast<std::size_t>(-s.exponent - 1), '0') + s.digits;
  } else {
    const auto intDigits = static_cast<std::size_t>(s.exponent) + 1;
    if (s.digits.size() < intDigits) s.digits.append(intDigits - s.digits.size(), '0');
    integer = s.digits.substr(0, intDigits);
    fraction = s.digits.substr(intDigits);
  }
  return sign + (fraction.empty() ? integer : integer + r.decimalSeparator + fraction);
}

std::string FormatScientific(double value, int precision, const Regional& r) {
  if (!std::isfinite(value)) return NonFinite(value);
  precision = precision < 1 ? 1 : (precision > 18 ? 18 : precision);
  const Significand s = SignificandOf(std::fabs(value), precision);
  const int exponent = value == 0 ? 0 : s.exponent;
  std::string out = value < 0 ? "-" : "";
  out += s.digits.substr(0, 1);
  if (s.digits.size() > 1) out += r.decimalSeparator + s.digits.substr(1);
  char exp[16];
  std::snprintf(exp, sizeof exp, "E%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return out + exp;
}

std::optional<double> ParseFloat(std::string_view text, const Regional& r) {
  text = Trimmed(text);
  std::string normal;
  std::size_t i = 0;
  auto digitsFrom = [&](std::size_t& pos) {
    const auto start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') normal.push_back(text[pos++]);
    return pos - start;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal.push_back('-');
    ++i;
  }
  std::size_t mantissaDigits = digitsFrom(i);
  const std::string_view sep = r.decimalSeparator;
  if (!sep.empty() && text.substr(i, sep.size()) == sep) {
    i += sep.size();
    normal.push_back('.');
    mantissaDigits += digitsFrom(i);
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal.push_back(text[i++]);
    if (digitsFrom(i) == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec != std::errc() || end != normal.data() + normal.size()) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max() ||
      value < std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace regional
