#include "regional/format.h"

#include <cstdio>

namespace regional {

namespace {

struct Directive {
  int index = -1;  // explicit argument index, or -1 for the next one
  bool leftAlign = false;
  int width = -1;
  int precision = -1;
  char type = 0;  // lower case
};

// Reads the digits at `pos`; -1 when there are none.
int ReadNumber(std::string_view f, std::size_t& pos) {
  if (pos >= f.size() || f[pos] < '0' || f[pos] > '9') return -1;
  int n = 0;
  while (pos < f.size() && f[pos] >= '0' && f[pos] <= '9') {
    if (n > 100000) return -1;
    n = n * 10 + (f[pos++] - '0');
  }
  return n;
}

std::optional<Directive> ReadDirective(std::string_view f, std::size_t& pos) {
  Directive d;
  const auto start = pos;
  int n = ReadNumber(f, pos);
  if (n >= 0 && pos < f.size() && f[pos] == ':') {
    d.index = n;
    ++pos;
  } else {
    pos = start;
  }
  if (pos < f.size() && f[pos] == '-') {
    d.leftAlign = true;
    ++pos;
  }
  d.width = ReadNumber(f, pos);
  if (pos < f.size() && f[pos] == '.') {
    ++pos;
    d.precision = ReadNumber(f, pos);
    if (d.precision < 0) return std::nullopt;
  }
  if (pos >= f.size()) return std::nullopt;
  const char t = f[pos++];
  d.type = (t >= 'A' && t <= 'Z') ? static_cast<char>(t - 'A' + 'a') : t;
  return d;
}

std::size_t CodePoints(std::string_view s) {
  std::size_t n = 0;
  for (const char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::string Padded(std::string text, const Directive& d) {
  const auto length = CodePoints(text);
  if (d.width < 0 || length >= static_cast<std::size_t>(d.width)) return text;
  const std::string pad(static_cast<std::size_t>(d.width) - length, ' ');
  return d.leftAlign ? text + pad : pad + text;
}

std::string WholeNumber(std::int64_t value, int minDigits) {
  std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value)
                                                : static_cast<unsigned long long>(value));
  if (minDigits > 0 && digits.size() < static_cast<std::size_t>(minDigits)) {
    digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  }
  return value < 0 ? "-" + digits : digits;
}

std::optional<std::string> Convert(const Directive& d, const FormatArg& arg, const Regional& r) {
  const auto* whole = std::get_if<std::int64_t>(&arg);
  const auto* real = std::get_if<double>(&arg);
  const auto* text = std::get_if<std::string>(&arg);
  switch (d.type) {
    case 'd':
      if (whole == nullptr) return std::nullopt;
      return WholeNumber(*whole, d.precision);
    case 'u':
      if (whole == nullptr) return std::nullopt;
      return WholeNumber(*whole < 0 ? static_cast<std::int64_t>(static_cast<std::uint32_t>(*whole))
                                    : *whole,
                         d.precision);
    case 'x': {
      if (whole == nullptr) return std::nullopt;
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%0*llX", d.precision < 0 ? 0 : d.precision,
                    static_cast<unsigned long long>(*whole));
      return std::string(buffer);
    }
    case 'e':
      if (real == nullptr) return std::nullopt;
      return FormatScientific(*real, d.precision < 0 ? 15 : d.precision, r);
    case 'f':
      if (real == nullptr) return std::nullopt;
      return FormatFixed(*real, d.precision < 0 ? 2 : d.precision, r);
    case 'g':
      if (real == nullptr) return std::nullopt;
      return FormatGeneral(*real, r, d.precision < 0 ? 15 : d.precision);
    case 'n':
      if (real == nullptr) return std::nullopt;
      return FormatNumber(*real, d.precision < 0 ? 2 : d.precision, r);
    case 'm':
      if (real == nullptr) return std::nullopt;
      return FormatMoney(*real, r, d.precision);
    case 's': {
      if (text == nullptr) return std::nullopt;
      if (d.precision < 0 || CodePoints(*text) <= static_cast<std::size_t>(d.precision)) {
        return *text;
      }
      std::size_t bytes = 0;
      for (std::size_t kept = 0; bytes < text->size(); ++bytes) {
        const bool starts = (static_cast<unsigned char>((*text)[bytes]) & 0xC0) != 0x80;
        if (starts && kept++ == static_cast<std::size_t>(d.precision)) break;
      }
      return text->substr(0, bytes);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> Format(std::string_view format, std::span<const FormatArg> args,
                                  const Regional& regional) {
  std::string out;
  std::size_t next = 0;
  std::size_t pos = 0;
  while (pos < format.size()) {
    const char c = format[pos++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (pos < format.size() && format[pos] == '%') {
      out.push_back('%');
      ++pos;
      continue;
    }
    const auto directive = ReadDirective(format, pos);
    if (!directive) return std::nullopt;
    const std::size_t which =
        directive->index >= 0 ? static_cast<std::size_t>(directive->index) : next;
    if (which >= args.size()) return std::nullopt;
    next = which + 1;
    auto text = Convert(*directive, args[which], regional);
    if (!text) return std::nullopt;
    out += Padded(std::move(*text), *directive);
  }
  return out;
}

}  // namespace regional
