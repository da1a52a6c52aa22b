#include "report/expr/picture_format.h"

#include <cmath>
#include <vector>

namespace report::expr {

namespace {

std::vector<std::string_view> Sections(std::string_view picture) {
  std::vector<std::string_view> sections;
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';' && sections.size() < 2) {
      sections.push_back(picture.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(picture.substr(start));
  return sections;
}

bool IsPlaceholder(char c) { return c == '#' || c == '0'; }

// What a section asks of the number.
struct Layout {
  int intPlaceholders = 0;
  int minIntDigits = 0;
  int minDecimals = 0;
  int maxDecimals = 0;
  bool grouping = false;
};

template <typename Visit>
void ForEachUnquoted(std::string_view section, Visit visit) {
  char quote = 0;
  for (const char c : section) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
      continue;
    }
    visit(c);
  }
}

Layout LayoutOf(std::string_view section) {
  Layout l;
  bool fraction = false;
  int firstZero = -1;
  ForEachUnquoted(section, [&](char c) {
    if (c == '.' && !fraction) {
      fraction = true;
    } else if (IsPlaceholder(c) && !fraction) {
      if (c == '0' && firstZero < 0) firstZero = l.intPlaceholders;
      ++l.intPlaceholders;
    } else if (IsPlaceholder(c)) {
      ++l.maxDecimals;
      if (c == '0') l.minDecimals = l.maxDecimals;
    } else if (c == ',' && !fraction) {
      l.grouping = true;
    }
  });
  l.minIntDigits = firstZero < 0 ? 0 : l.intPlaceholders - firstZero;
  return l;
}

std::string Write(std::string_view section, double magnitude, bool minus,
                  const regional::Regional& r) {
  const Layout l = LayoutOf(section);
  const regional::DecimalDigits d = regional::RoundToDecimals(magnitude, l.maxDecimals);
  std::string fraction = d.fraction;
  while (static_cast<int>(fraction.size()) > l.minDecimals && fraction.back() == '0') {
    fraction.pop_back();
  }
  std::string digits = d.integer == "0" && l.minIntDigits == 0 ? std::string() : d.integer;
  if (static_cast<int>(digits.size()) < l.minIntDigits) {
    digits.insert(0, static_cast<std::size_t>(l.minIntDigits) - digits.size(), '0');
  }
  const int length = static_cast<int>(digits.size());

  const bool nonZero = (d.integer + d.fraction).find_first_not_of('0') != std::string::npos;
  std::string out = minus && nonZero ? "-" : "";
  // Appends the digit `length - 1 - pos` places from the left, with the
  // grouping separator after it when thousands end there.
  const auto emitDigit = [&](int pos) {
    out.push_back(digits[static_cast<std::size_t>(length - 1 - pos)]);
    if (l.grouping && pos > 0 && pos % 3 == 0) out += r.thousandSeparator;
  };
  int placeholder = 0;  // integer placeholders met so far
  int decimals = 0;     // fraction placeholders met so far
  bool inFraction = false;
  char quote = 0;
  for (const char c : section) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      else out.push_back(c);
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '.' && !inFraction) {
      inFraction = true;
      if (l.intPlaceholders == 0) {
        for (int pos = length - 1; pos >= 0; --pos) emitDigit(pos);
      }
      if (!fraction.empty()) out += r.decimalSeparator;
    } else if (IsPlaceholder(c) && !inFraction) {
      const int pos = l.intPlaceholders - 1 - placeholder;
      if (placeholder == 0) {
        for (int extra = length - 1; extra > pos; --extra) emitDigit(extra);
      }
      if (pos < length) emitDigit(pos);
      ++placeholder;
    } else if (IsPlaceholder(c)) {
      if (decimals < static_cast<int>(fraction.size())) {
        out.push_back(fraction[static_cast<std::size_t>(decimals)]);
      }
      ++decimals;
    } else if (c == ',' || c == '.') {
      // Grouping is placed with the digits; a second point means nothing.
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> FormatFloat(std::string_view picture, double value,
                                       const regional::Regional& regional) {
  if (!std::isfinite(value)) return std::nullopt;
  const auto sections = Sections(picture);
  if (value < 0 && sections.size() > 1 && !sections[1].empty()) {
    return Write(sections[1], -value, false, regional);
  }
  if (value == 0 && sections.size() > 2 && !sections[2].empty()) {
    return Write(sections[2], 0, false, regional);
  }
  return Write(sections[0], std::fabs(value), value < 0, regional);
}

}  // namespace report::expr
