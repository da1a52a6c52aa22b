#include <charconv>
#include <cstdint>
#include <limits>

#include "lexer_p.h"
#include "report/expr/same_text.h"

namespace report::expr {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentPart(char c) { return IsIdentStart(c) || IsDigit(c); }
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

Value WholeLiteral(std::uint64_t value) {
  if (value <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    return Value(static_cast<std::int32_t>(value));
  }
  if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    throw CompileError("Invalid number");
  }
  return Value(static_cast<std::int64_t>(value));
}

struct Keyword {
  std::string_view word;
  Tok kind;
};
constexpr Keyword kKeywords[] = {{"and", Tok::And}, {"or", Tok::Or},   {"xor", Tok::Xor},
                                 {"not", Tok::Not}, {"div", Tok::Div}, {"mod", Tok::Mod},
                                 {"shl", Tok::Shl}, {"shr", Tok::Shr}, {"in", Tok::In},
                                 {"is", Tok::Is}};

}  // namespace

Token Lexer::Make(Tok kind, std::size_t start, std::size_t length) {
  m_pos = start + length;
  Token t;
  t.kind = kind;
  t.start = start;
  t.end = m_pos;
  t.text = m_source.substr(start, length);
  return t;
}

Token Lexer::Next() {
  while (m_pos < m_source.size() && IsBlank(m_source[m_pos])) ++m_pos;
  const std::size_t start = m_pos;
  if (start >= m_source.size()) return Make(Tok::End, start, 0);
  const char c = m_source[start];
  const char next = start + 1 < m_source.size() ? m_source[start + 1] : '\0';
  if (IsDigit(c)) return NumberToken(start);
  if (c == '$') return HexToken(start);
  if (c == '\'' || (c == '#' && IsDigit(next))) return StringToken(start);
  if (IsIdentStart(c)) {
    std::size_t end = start + 1;
    while (end < m_source.size() && IsIdentPart(m_source[end])) ++end;
    const std::string_view word = m_source.substr(start, end - start);
    for (const auto& k : kKeywords) {
      if (SameText(word, k.word)) return Make(k.kind, start, end - start);
    }
    return Make(Tok::Identifier, start, end - start);
  }
  switch (c) {
    case '+': return Make(Tok::Plus, start, 1);
    case '-': return Make(Tok::Minus, start, 1);
    case '*': return Make(Tok::Star, start, 1);
    case '/': return Make(Tok::Slash, start, 1);
    case '=': return Make(Tok::Equal, start, 1);
    case '(': return Make(Tok::LParen, start, 1);
    case ')': return Make(Tok::RParen, start, 1);
    case '[': return Make(Tok::LBracket, start, 1);
    case ']': return Make(Tok::RBracket, start, 1);
    case ',': return Make(Tok::Comma, start, 1);
    case '.': return next == '.' ? Make(Tok::DotDot, start, 2) : Make(Tok::Dot, start, 1);
    case '<':
      if (next == '=') return Make(Tok::LessEqual, start, 2);
      if (next == '>') return Make(Tok::NotEqual, start, 2);
      return Make(Tok::Less, start, 1);
    case '>': return next == '=' ? Make(Tok::GreaterEqual, start, 2) : Make(Tok::Greater, start, 1);
    default: break;
  }
  // Anything else is one character (a whole UTF-8 sequence) that no rule takes.
  std::size_t length = 1;
  while (start + length < m_source.size() &&
         (static_cast<unsigned char>(m_source[start + length]) & 0xC0) == 0x80 && length < 4) {
    ++length;
  }
  return Make(Tok::Other, start, length);
}

Token Lexer::NumberToken(std::size_t start) {
  std::size_t end = start;
  const auto digits = [&] {
    while (end < m_source.size() && IsDigit(m_source[end])) ++end;
  };
  digits();
  bool real = false;
  if (end + 1 < m_source.size() && m_source[end] == '.' && IsDigit(m_source[end + 1])) {
    real = true;
    ++end;
    digits();
  }
  if (end < m_source.size() && (m_source[end] == 'e' || m_source[end] == 'E')) {
    std::size_t e = end + 1;
    if (e < m_source.size() && (m_source[e] == '+' || m_source[e] == '-')) ++e;
    if (e < m_source.size() && IsDigit(m_source[e])) {
      real = true;
      end = e;
      digits();
    }
  }
  const std::string_view text = m_source.substr(start, end - start);
  Token t = Make(Tok::Number, start, end - start);
  if (real) {
    // The source always writes the decimal point as ".", whatever the region.
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) throw CompileError("Invalid number");
    t.literal = Value(value);
    return t;
  }
  std::uint64_t value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) throw CompileError("Invalid number");
  t.literal = WholeLiteral(value);
  return t;
}

Token Lexer::HexToken(std::size_t start) {
  std::size_t end = start + 1;
  while (end < m_source.size() && IsHexDigit(m_source[end])) ++end;
  if (end == start + 1) throw CompileError("Invalid number");
  std::uint64_t value = 0;
  const char* first = m_source.data() + start + 1;
  const char* last = m_source.data() + end;
  const auto [ptr, ec] = std::from_chars(first, last, value, 16);
  if (ec != std::errc() || ptr != last) throw CompileError("Invalid number");
  Token t = Make(Tok::Number, start, end - start);
  t.literal = WholeLiteral(value);
  return t;
}

// 'quoted' pieces and #code pieces, directly adjacent, make one text.
Token Lexer::StringToken(std::size_t start) {
  std::string text;
  std::size_t i = start;
  while (i < m_source.size()) {
    if (m_source[i] == '\'') {
      ++i;
      for (;;) {
        if (i >= m_source.size() || m_source[i] == '\r' || m_source[i] == '\n') {
          throw CompileError("Unterminated string");
        }
        if (m_source[i] == '\'') {
          if (i + 1 < m_source.size() && m_source[i + 1] == '\'') {
            text.push_back('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text.push_back(m_source[i++]);
      }
    } else if (m_source[i] == '#' && i + 1 < m_source.size() && IsDigit(m_source[i + 1])) {
      std::uint32_t code = 0;
      ++i;
      while (i < m_source.size() && IsDigit(m_source[i])) {
        code = code * 10 + static_cast<std::uint32_t>(m_source[i++] - '0');
        if (code > 0x10FFFF) throw CompileError("Invalid character code");
      }
      if (code >= 0xD800 && code <= 0xDFFF) throw CompileError("Invalid character code");
      AppendUtf8(text, code);
    } else {
      break;
    }
  }
  Token t = Make(Tok::String, start, i - start);
  t.literal = Value(std::move(text));
  return t;
}

std::pair<std::string_view, std::size_t> Lexer::ScanReference(std::size_t afterLess) const {
  int depth = 1;
  bool doubleQuoted = false;
  bool singleQuoted = false;
  for (std::size_t i = afterLess; i < m_source.size(); ++i) {
    const char c = m_source[i];
    if (c == '"' && !singleQuoted) {
      doubleQuoted = !doubleQuoted;
    } else if (c == '\'' && !doubleQuoted) {
      singleQuoted = !singleQuoted;
    } else if (!doubleQuoted && !singleQuoted) {
      if (c == '<' || c == '[') ++depth;
      if (c == '>' || c == ']') --depth;
      if (depth == 0) {
        if (c != '>') break;
        return {m_source.substr(afterLess, i - afterLess), i + 1};
      }
    }
  }
  throw CompileError("'>' expected");
}

}  // namespace report::expr
