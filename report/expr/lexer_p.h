#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "report/expr/value.h"

namespace report::expr {

// A compile error with the compiler's message ("')' expected", ...).
class CompileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Tok {
  End, Number, String, Identifier,
  Plus, Minus, Star, Slash,
  Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
  LParen, RParen, LBracket, RBracket, Comma, Dot, DotDot,
  And, Or, Xor, Not, Div, Mod, Shl, Shr, In, Is,
  Other,
};

struct Token {
  Tok kind = Tok::End;
  std::size_t start = 0;  // byte offsets into the source, end exclusive
  std::size_t end = 0;
  Value literal;          // Number and String
  std::string_view text;  // the token as written
};

// Splits an expression into tokens on demand. `<` is an operator here; the
// parser asks for a reference with ScanReference where a factor may start.
class Lexer {
 public:
  explicit Lexer(std::string_view source) : m_source(source) {}

  Token Next();
  // From just after a `<`: the reference text up to its matching `>` and the
  // offset after that `>`. Throws "'>' expected".
  std::pair<std::string_view, std::size_t> ScanReference(std::size_t afterLess) const;
  void Reset(std::size_t position) { m_pos = position; }

 private:
  Token Make(Tok kind, std::size_t start, std::size_t length);
  Token NumberToken(std::size_t start);
  Token HexToken(std::size_t start);
  Token StringToken(std::size_t start);

  std::string_view m_source;
  std::size_t m_pos = 0;
};

}  // namespace report::expr
