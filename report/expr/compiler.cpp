#include "compiler_p.h"

#include "lexer_p.h"
#include "report/expr/same_text.h"
#include "report/expr/value_ops.h"
#include "value_ops_p.h"

// Recursive descent over the grammar, loosest level first:
//
//   expression  = simple { (>= <> <= > < = IN IS) simple }
//   simple      = [-] term { (+ - OR XOR) term }
//   term        = factor { (* / DIV MOD AND SHL SHR) factor }
//   factor      = designator | number | string | ( expression ) | NOT factor
//               | [ set ] | < reference >
//   designator  = identifier { . identifier | [ list ] | ( list ) }
//
// Code is emitted in postfix order while parsing. Binary chains are loops,
// so only nesting (parentheses, NOT, arguments) deepens the recursion, and
// that is limited.
namespace report::expr {

namespace {

enum class Builtin { None, Get, Set, Iif, Sum, Avg, Min, Max, Count };

Builtin BuiltinOf(std::string_view name) {
  static constexpr std::pair<std::string_view, Builtin> kNames[] = {
      {"Get", Builtin::Get}, {"Set", Builtin::Set}, {"IIF", Builtin::Iif},
      {"SUM", Builtin::Sum}, {"AVG", Builtin::Avg}, {"MIN", Builtin::Min},
      {"MAX", Builtin::Max}, {"COUNT", Builtin::Count}};
  for (const auto& [word, builtin] : kNames) {
    if (SameText(name, word)) return builtin;
  }
  return Builtin::None;
}

std::string_view Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

class Parser {
 public:
  Parser(std::string_view source, Program& program, Scope* scope,
         std::vector<AggregateCall>* aggregates)
      : m_source(source), m_lexer(source), m_p(program), m_scope(scope), m_aggregates(aggregates) {}

  void CompileWhole() {
    Advance();
    if (Expression()) throw CompileError(kTypeMismatch);
    if (m_tok.kind != Tok::End) {
      std::string_view shown = m_tok.text.substr(0, 40);
      throw CompileError("Unexpected '" + std::string(shown) + "'");
    }
  }

 private:
  // Counts one level of nesting for as long as it lives.
  class Nest {
   public:
    explicit Nest(Parser& p) : m_p(p) {
      if (++m_p.m_depth > kMaxParseDepth) throw CompileError("Expression nested too deeply");
    }
    ~Nest() { --m_p.m_depth; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

   private:
    Parser& m_p;
  };

  void Advance() {
    m_prevEnd = m_tok.end;
    m_tok = m_lexer.Next();
  }

  void Expect(Tok kind, const char* message) {
    if (m_tok.kind != kind) throw CompileError(message);
    Advance();
  }

  std::uint32_t Emit(Op op, std::uint32_t a = 0, std::uint32_t b = 0) {
    m_p.code.push_back({op, a, b});
    return static_cast<std::uint32_t>(m_p.code.size() - 1);
  }
  void PatchToHere(std::uint32_t at) { m_p.code[at].a = static_cast<std::uint32_t>(m_p.code.size()); }

  template <typename T>
  static std::uint32_t Add(std::vector<T>& pool, T item) {
    pool.push_back(std::move(item));
    return static_cast<std::uint32_t>(pool.size() - 1);
  }

  static void NoSet(bool isSet) {
    if (isSet) throw CompileError(kTypeMismatch);
  }

  // Each level returns whether its operand is a set constructor, which only
  // the right side of IN may be.
  bool Expression() {
    const Nest nest(*this);
    bool isSet = SimpleExpression();
    for (;;) {
      const Tok op = m_tok.kind;
      Relation relation = Relation::Equal;
      switch (op) {
        case Tok::Equal: relation = Relation::Equal; break;
        case Tok::NotEqual: relation = Relation::NotEqual; break;
        case Tok::Less: relation = Relation::Less; break;
        case Tok::LessEqual: relation = Relation::LessEqual; break;
        case Tok::Greater: relation = Relation::Greater; break;
        case Tok::GreaterEqual: relation = Relation::GreaterEqual; break;
        case Tok::In:
        case Tok::Is: break;
        default: return isSet;
      }
      NoSet(isSet);
      Advance();
      if (op == Tok::Is) {
        if (m_tok.kind != Tok::Identifier) throw CompileError("Identifier expected");
        Emit(Op::Is, Add(m_p.names, std::string(m_tok.text)));
        Advance();
      } else if (op == Tok::In) {
        if (!SimpleExpression()) throw CompileError(kTypeMismatch);
        Emit(Op::InSet, m_lastSet);
      } else {
        NoSet(SimpleExpression());
        Emit(Op::Compare, static_cast<std::uint32_t>(relation));
      }
      isSet = false;
    }
  }

  bool SimpleExpression() {
    const bool negative = m_tok.kind == Tok::Minus;
    if (negative) Advance();
    bool isSet = Term();
    if (negative) {
      NoSet(isSet);
      Emit(Op::Negate);
    }
    for (;;) {
      BinaryOp op = BinaryOp::Add;
      switch (m_tok.kind) {
        case Tok::Plus: op = BinaryOp::Add; break;
        case Tok::Minus: op = BinaryOp::Subtract; break;
        case Tok::Or: op = BinaryOp::Or; break;
        case Tok::Xor: op = BinaryOp::Xor; break;
        default: return isSet;
      }
      NoSet(isSet);
      Advance();
      const auto jump = op == BinaryOp::Or ? Emit(Op::JumpIfTrue) : 0;
      NoSet(Term());
      Emit(Op::Binary, static_cast<std::uint32_t>(op));
      if (op == BinaryOp::Or) PatchToHere(jump);
      isSet = false;
    }
  }

  bool Term() {
    bool isSet = Factor();
    for (;;) {
      BinaryOp op = BinaryOp::Multiply;
      switch (m_tok.kind) {
        case Tok::Star: op = BinaryOp::Multiply; break;
        case Tok::Slash: op = BinaryOp::Divide; break;
        case Tok::Div: op = BinaryOp::IntDivide; break;
        case Tok::Mod: op = BinaryOp::Modulo; break;
        case Tok::And: op = BinaryOp::And; break;
        case Tok::Shl: op = BinaryOp::Shl; break;
        case Tok::Shr: op = BinaryOp::Shr; break;
        default: return isSet;
      }
      NoSet(isSet);
      Advance();
      const auto jump = op == BinaryOp::And ? Emit(Op::JumpIfFalse) : 0;
      NoSet(Factor());
      Emit(Op::Binary, static_cast<std::uint32_t>(op));
      if (op == BinaryOp::And) PatchToHere(jump);
      isSet = false;
    }
  }

  bool Factor() {
    const Nest nest(*this);
    switch (m_tok.kind) {
      case Tok::Number:
      case Tok::String:
        Emit(Op::PushConst, Add(m_p.constants, m_tok.literal));
        Advance();
        return false;
      case Tok::LParen: {
        Advance();
        const bool isSet = Expression();
        Expect(Tok::RParen, "')' expected");
        return isSet;
      }
      case Tok::Not:
        Advance();
        NoSet(Factor());
        Emit(Op::Not);
        return false;
      case Tok::LBracket:
        SetConstructor();
        return true;
      case Tok::Less:
      case Tok::LessEqual:
      case Tok::NotEqual:
        Reference();
        return false;
      case Tok::Identifier:
        Designator();
        return false;
      default:
        throw CompileError("Expression expected");
    }
  }

  // `<text>` means Get('text').
  void Reference() {
    const auto [text, end] = m_lexer.ScanReference(m_tok.start + 1);
    EmitGet(text);
    m_lexer.Reset(end);
    m_tok.end = end;
    Advance();
  }

  void EmitGet(std::string_view name) {
    GetSite site;
    site.name = std::string(name);
    const NameSplit split = SplitName(name);
    site.fieldReference = split.found;
    site.dataSetName = std::string(split.dataSet);
    site.fieldName = std::string(split.field);
    Emit(Op::GetName, Add(m_p.gets, std::move(site)));
    if (m_aggregates != nullptr && IsAggregateCall(name) && m_depth < kMaxParseDepth) {
      // `<SUM(...)>` reaches Calc through Get; its calls count as well.
      Parser inner(name, m_scratch, nullptr, m_aggregates);
      inner.m_depth = m_depth + 1;
      try {
        inner.CompileWhole();
      } catch (const CompileError&) {
        // Reported when the call itself is compiled.
      }
    }
  }

  void SetConstructor() {
    Advance();
    std::vector<bool> ranges;
    if (m_tok.kind != Tok::RBracket) {
      for (;;) {
        NoSet(Expression());
        const bool range = m_tok.kind == Tok::DotDot;
        if (range) {
          Advance();
          NoSet(Expression());
        }
        ranges.push_back(range);
        if (m_tok.kind != Tok::Comma) break;
        Advance();
      }
    }
    Expect(Tok::RBracket, "']' expected");
    m_lastSet = Add(m_p.sets, std::move(ranges));
  }

  // Arguments in ( ) or [ ]; the opening token is current.
  std::uint32_t ArgumentList(Tok close, const char* message) {
    Advance();
    std::uint32_t count = 0;
    if (m_tok.kind != close) {
      for (;;) {
        NoSet(Expression());
        ++count;
        if (m_tok.kind != Tok::Comma) break;
        Advance();
      }
    }
    Expect(close, message);
    return count;
  }

  // A macro's arguments are kept as source text; they are parsed here only
  // to find where each ends and to report bad syntax early.
  std::vector<std::string> MacroArguments() {
    std::vector<std::string> texts;
    if (m_tok.kind != Tok::LParen) return texts;
    Advance();
    if (m_tok.kind == Tok::RParen) {
      Advance();
      return texts;
    }
    for (;;) {
      const std::size_t start = m_tok.start;
      const std::size_t mark = m_p.code.size();
      ++m_macroDepth;
      NoSet(Expression());
      --m_macroDepth;
      m_p.code.resize(mark);
      texts.emplace_back(Trimmed(m_source.substr(start, m_prevEnd - start)));
      if (m_tok.kind != Tok::Comma) break;
      Advance();
    }
    Expect(Tok::RParen, "')' expected");
    return texts;
  }

  void Designator() {
    const std::string_view name = m_tok.text;
    const std::size_t start = m_tok.start;
    Advance();
    const Builtin builtin = BuiltinOf(name);
    switch (builtin) {
      case Builtin::Get: {
        const std::size_t mark = m_p.code.size();
        const auto count = m_tok.kind == Tok::LParen ? ArgumentList(Tok::RParen, "')' expected") : 0;
        if (count != 1) throw CompileError("Invalid number of parameters");
        if (m_p.code.size() == mark + 1 && m_p.code[mark].op == Op::PushConst &&
            m_p.constants[m_p.code[mark].a].IsText()) {
          const std::string text = m_p.constants[m_p.code[mark].a].AsText();
          m_p.code.resize(mark);
          EmitGet(text);
        } else {
          Emit(Op::GetDynamic);
        }
        break;
      }
      case Builtin::Set: {
        const auto count = m_tok.kind == Tok::LParen ? ArgumentList(Tok::RParen, "')' expected") : 0;
        if (count != 2) throw CompileError("Invalid number of parameters");
        Emit(Op::CallSet);
        break;
      }
      case Builtin::Iif: {
        MacroSite site;
        site.kind = MacroKind::Iif;
        site.args = MacroArguments();
        if (site.args.size() != 3) throw CompileError("Invalid number of parameters");
        Emit(Op::Macro, Add(m_p.macros, std::move(site)));
        break;
      }
      case Builtin::Sum:
      case Builtin::Avg:
      case Builtin::Min:
      case Builtin::Max:
      case Builtin::Count:
        Aggregate(builtin, start);
        break;
      case Builtin::None:
        if (SameText(name, "True") || SameText(name, "False")) {
          m_p.constants.emplace_back(SameText(name, "True"));
          Emit(Op::PushConst, static_cast<std::uint32_t>(m_p.constants.size() - 1));
        } else if (SameText(name, "Value")) {
          Emit(Op::LoadScriptValue);
        } else {
          if (m_scope != nullptr && m_macroDepth == 0 && m_scope->FindObject(name) == nullptr) {
            throw CompileError("Unknown identifier '" + std::string(name) + "'");
          }
          Emit(Op::LoadObject, Add(m_p.names, std::string(name)));
        }
        break;
    }
    Selectors();
  }

  void Aggregate(Builtin builtin, std::size_t start) {
    MacroSite site;
    site.kind = MacroKind::Aggregate;
    auto args = MacroArguments();
    const bool count = builtin == Builtin::Count;
    const std::size_t minArgs = count ? 0 : 1;
    if (args.size() < minArgs || args.size() > minArgs + 2) {
      throw CompileError("Invalid number of parameters");
    }
    AggregateCall& call = site.aggregate;
    switch (builtin) {
      case Builtin::Sum: call.kind = AggregateKind::Sum; break;
      case Builtin::Avg: call.kind = AggregateKind::Avg; break;
      case Builtin::Min: call.kind = AggregateKind::Min; break;
      case Builtin::Max: call.kind = AggregateKind::Max; break;
      default: call.kind = AggregateKind::Count; break;
    }
    call.text = std::string(m_source.substr(start, m_prevEnd - start));
    std::size_t i = 0;
    if (!count) call.expression = args[i++];
    if (i < args.size()) call.band = args[i++];
    if (i < args.size()) call.flags = args[i++];
    if (m_aggregates != nullptr) m_aggregates->push_back(call);
    Emit(Op::Macro, Add(m_p.macros, std::move(site)));
  }

  void Selectors() {
    for (;;) {
      if (m_tok.kind == Tok::Dot) {
        Advance();
        if (m_tok.kind != Tok::Identifier) throw CompileError("Identifier expected");
        const auto member = Add(m_p.names, std::string(m_tok.text));
        Advance();
        std::uint32_t count = 0;
        if (m_tok.kind == Tok::LParen) count = ArgumentList(Tok::RParen, "')' expected");
        else if (m_tok.kind == Tok::LBracket) count = ArgumentList(Tok::RBracket, "']' expected");
        Emit(Op::Member, member, count);
      } else if (m_tok.kind == Tok::LBracket) {
        const auto count = ArgumentList(Tok::RBracket, "']' expected");
        Emit(Op::Member, Add(m_p.names, std::string()), count);
      } else {
        return;
      }
    }
  }

  std::string_view m_source;
  Lexer m_lexer;
  Token m_tok;
  std::size_t m_prevEnd = 0;
  Program& m_p;
  Scope* m_scope;
  std::vector<AggregateCall>* m_aggregates;
  Program m_scratch;
  int m_depth = 0;
  int m_macroDepth = 0;
  std::uint32_t m_lastSet = 0;
};

}  // namespace

CompileResult Compile(std::string_view expression, Scope* scope, std::string functionName,
                      std::vector<AggregateCall>* aggregates) {
  auto program = std::make_shared<Program>();
  program->functionName = std::move(functionName);
  try {
    Parser parser(expression, *program, scope, aggregates);
    parser.CompileWhole();
  } catch (const CompileError& e) {
    return {nullptr, e.what()};
  }
  return {std::move(program), {}};
}

NameSplit SplitName(std::string_view name) {
  const auto at = name.find(".\"");
  if (at == std::string_view::npos) return {};
  std::string_view field = name.substr(at + 2);
  // Drop the closing quote: the last character, whichever it is.
  if (!field.empty()) {
    std::size_t cut = field.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;
    field = field.substr(0, cut);
  }
  return {true, name.substr(0, at), field};
}

bool IsAggregateCall(std::string_view name) {
  const auto paren = name.find('(');
  if (paren == std::string_view::npos) return false;
  const std::string_view head = Trimmed(name.substr(0, paren));
  for (const std::string_view word : {"SUM", "MIN", "MAX", "AVG", "COUNT"}) {
    if (SameText(head, word)) return true;
  }
  return false;
}

}  // namespace report::expr
