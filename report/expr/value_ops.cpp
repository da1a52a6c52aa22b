#include "report/expr/value_ops.h"

#include <cmath>
#include <limits>

#include "regional/regional.h"
#include "report/expr/date_time.h"
#include "report/expr/error.h"
#include "report/expr/same_text.h"
#include "value_ops_p.h"

namespace report::expr {

namespace {

using Int64 = std::int64_t;
// -Wpedantic accepts the 128-bit type only as an extension.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

constexpr Int64 kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr Int64 kInt32Max = std::numeric_limits<std::int32_t>::max();

// An operand of arithmetic, after empty, Boolean and text have been read as
// numbers. Whole kinds keep `whole` (currency: scaled by 10000), the others `real`.
enum class NumKind { Int32, Int64, Currency, DateTime, Real };
struct Number {
  NumKind kind = NumKind::Int32;
  Int64 whole = 0;
  double real = 0;

  double AsDouble() const {
    if (kind == NumKind::Currency) return static_cast<double>(whole) / Currency::kScale;
    if (kind == NumKind::Int32 || kind == NumKind::Int64) return static_cast<double>(whole);
    return real;
  }
};

[[noreturn]] void CannotConvert(ValueKind from, std::string_view to) {
  throw Error("Could not convert variant of type (" + std::string(KindName(from)) +
              ") into type (" + std::string(to) + ")");
}

Number ToNumber(const Value& v, const FormatSettings& s) {
  switch (v.Kind()) {
    case ValueKind::Empty: return {NumKind::Int32, 0, 0};
    case ValueKind::Boolean: return {NumKind::Int32, v.AsBoolean() ? -1 : 0, 0};
    case ValueKind::Integer: return {NumKind::Int32, v.AsInteger(), 0};
    case ValueKind::Int64: return {NumKind::Int64, v.AsInt64(), 0};
    case ValueKind::Real: return {NumKind::Real, 0, v.AsReal()};
    case ValueKind::Currency: return {NumKind::Currency, v.AsCurrency().scaled, 0};
    case ValueKind::DateTime: return {NumKind::DateTime, 0, v.AsDateTime().days};
    case ValueKind::Text: {
      const auto real = regional::ParseFloat(v.AsText(), s.numbers);
      if (!real) CannotConvert(ValueKind::Text, "Double");
      return {NumKind::Real, 0, *real};
    }
    case ValueKind::Null: break;
  }
  CannotConvert(v.Kind(), "Double");
}

Value Real(double r) {
  if (std::isnan(r)) throw Error(kInvalidOperation);
  if (!std::isfinite(r)) throw Error(kFloatOverflow);
  return Value(r);
}

Value Whole(Int128 r, bool bothInt32) {
  if (bothInt32 && r >= kInt32Min && r <= kInt32Max) return Value(static_cast<std::int32_t>(r));
  if (r < std::numeric_limits<Int64>::min() || r > std::numeric_limits<Int64>::max()) {
    throw Error(kIntegerOverflow);
  }
  return Value(static_cast<Int64>(r));
}

Value MoneyFromScaled(Int128 scaled) {
  if (scaled < std::numeric_limits<Int64>::min() || scaled > std::numeric_limits<Int64>::max()) {
    throw Error(kFloatOverflow);
  }
  return Value(Currency{static_cast<Int64>(scaled)});
}

// Division rounded halves away from zero.
Int128 DivideRounded(Int128 a, Int128 b) {
  const Int128 q = a / b;
  const Int128 r = a % b;
  const Int128 twice = (r < 0 ? -r : r) * 2;
  const Int128 magnitude = b < 0 ? -b : b;
  if (twice >= magnitude) return q + (((a < 0) != (b < 0)) ? -1 : 1);
  return q;
}

double Combine(BinaryOp op, double a, double b) {
  switch (op) {
    case BinaryOp::Add: return a + b;
    case BinaryOp::Subtract: return a - b;
    default: return a * b;
  }
}

Value Arithmetic(BinaryOp op, const Number& x, const Number& y) {
  if (x.kind == NumKind::Real || y.kind == NumKind::Real) {
    return Real(Combine(op, x.AsDouble(), y.AsDouble()));
  }
  if (x.kind == NumKind::DateTime || y.kind == NumKind::DateTime) {
    const double r = Combine(op, x.AsDouble(), y.AsDouble());
    const bool difference = op == BinaryOp::Subtract && x.kind == y.kind;
    if (op == BinaryOp::Multiply || difference) return Real(r);
    if (!std::isfinite(r)) throw Error(kFloatOverflow);
    return Value(DateTime{r});
  }
  if (x.kind == NumKind::Currency || y.kind == NumKind::Currency) {
    const Int128 a = x.whole;
    const Int128 b = y.whole;
    const Int128 scale = Currency::kScale;
    const Int128 sa = x.kind == NumKind::Currency ? a : a * scale;
    const Int128 sb = y.kind == NumKind::Currency ? b : b * scale;
    switch (op) {
      case BinaryOp::Add: return MoneyFromScaled(sa + sb);
      case BinaryOp::Subtract: return MoneyFromScaled(sa - sb);
      default:
        if (x.kind == NumKind::Currency && y.kind == NumKind::Currency) {
          return MoneyFromScaled(DivideRounded(a * b, scale));
        }
        return MoneyFromScaled(a * b);
    }
  }
  const bool bothInt32 = x.kind == NumKind::Int32 && y.kind == NumKind::Int32;
  const Int128 a = x.whole;
  const Int128 b = y.whole;
  switch (op) {
    case BinaryOp::Add: return Whole(a + b, bothInt32);
    case BinaryOp::Subtract: return Whole(a - b, bothInt32);
    default: return Whole(a * b, bothInt32);
  }
}

// Operands of DIV, MOD, the bit operators and shifts.
struct WholeOperand {
  Int64 value = 0;
  bool int32 = true;
};

WholeOperand ToWhole(const Value& v, const FormatSettings& s) {
  const Number n = ToNumber(v, s);
  if (n.kind == NumKind::Int32) return {n.whole, true};
  if (n.kind == NumKind::Int64) return {n.whole, false};
  const double r = std::round(n.AsDouble());
  if (!(r >= -9.2e18 && r <= 9.2e18)) throw Error(kIntegerOverflow);
  return {static_cast<Int64>(r), false};
}

Value Bits(BinaryOp op, const Value& left, const Value& right, const FormatSettings& s) {
  if (left.Kind() == ValueKind::Boolean && right.Kind() == ValueKind::Boolean) {
    const bool a = left.AsBoolean();
    const bool b = right.AsBoolean();
    if (op == BinaryOp::And) return Value(a && b);
    if (op == BinaryOp::Or) return Value(a || b);
    return Value(a != b);
  }
  const auto a = ToWhole(left, s);
  const auto b = ToWhole(right, s);
  const bool both = a.int32 && b.int32;
  Int64 r = 0;
  if (op == BinaryOp::And) r = a.value & b.value;
  if (op == BinaryOp::Or) r = a.value | b.value;
  if (op == BinaryOp::Xor) r = a.value ^ b.value;
  return Whole(r, both);
}

Value Shift(BinaryOp op, const Value& left, const Value& right, const FormatSettings& s) {
  const auto a = ToWhole(left, s);
  const auto b = ToWhole(right, s);
  if (a.int32) {
    // 32-bit operands shift as 32-bit words, the count taken modulo 32.
    const auto word = static_cast<std::uint32_t>(static_cast<std::int32_t>(a.value));
    const auto count = static_cast<unsigned>(b.value) & 31u;
    const std::uint32_t r = op == BinaryOp::Shl ? word << count : word >> count;
    return Value(static_cast<std::int32_t>(r));
  }
  const auto word = static_cast<std::uint64_t>(a.value);
  const auto count = static_cast<unsigned>(b.value) & 63u;
  const std::uint64_t r = op == BinaryOp::Shl ? word << count : word >> count;
  return Value(static_cast<Int64>(r));
}

Value Quotient(BinaryOp op, const Value& left, const Value& right, const FormatSettings& s) {
  const auto a = ToWhole(left, s);
  const auto b = ToWhole(right, s);
  if (b.value == 0) throw Error(kIntegerDivisionByZero);
  const Int128 x = a.value;
  const Int128 y = b.value;
  return Whole(op == BinaryOp::IntDivide ? x / y : x % y, a.int32 && b.int32);
}

bool ToBoolean(const Value& v, const FormatSettings& s) {
  switch (v.Kind()) {
    case ValueKind::Boolean: return v.AsBoolean();
    case ValueKind::Text: {
      if (SameText(v.AsText(), "True")) return true;
      if (SameText(v.AsText(), "False")) return false;
      const auto real = regional::ParseFloat(v.AsText(), s.numbers);
      if (!real) CannotConvert(ValueKind::Text, "Boolean");
      return *real != 0;
    }
    case ValueKind::Null: CannotConvert(ValueKind::Null, "Boolean");
    default: return ToNumber(v, s).AsDouble() != 0;
  }
}

bool Holds(Relation relation, int order) {
  switch (relation) {
    case Relation::Equal: return order == 0;
    case Relation::NotEqual: return order != 0;
    case Relation::Less: return order < 0;
    case Relation::LessEqual: return order <= 0;
    case Relation::Greater: return order > 0;
    case Relation::GreaterEqual: return order >= 0;
  }
  return false;
}

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int NumberOrder(const Number& x, const Number& y) {
  const bool xWhole = x.kind == NumKind::Int32 || x.kind == NumKind::Int64;
  const bool yWhole = y.kind == NumKind::Int32 || y.kind == NumKind::Int64;
  if (xWhole && yWhole) return Order(x.whole, y.whole);
  const bool xFixed = xWhole || x.kind == NumKind::Currency;
  const bool yFixed = yWhole || y.kind == NumKind::Currency;
  if (xFixed && yFixed) {
    const Int128 a = x.kind == NumKind::Currency ? Int128{x.whole} : Int128{x.whole} * Currency::kScale;
    const Int128 b = y.kind == NumKind::Currency ? Int128{y.whole} : Int128{y.whole} * Currency::kScale;
    return Order(a, b);
  }
  return Order(x.AsDouble(), y.AsDouble());
}

std::string CurrencyText(Currency c, const FormatSettings& s) {
  const bool negative = c.scaled < 0;
  const auto magnitude = negative ? -static_cast<UInt128>(c.scaled) : static_cast<UInt128>(c.scaled);
  const auto integer = static_cast<std::uint64_t>(magnitude / Currency::kScale);
  auto fraction = static_cast<unsigned>(magnitude % Currency::kScale);
  std::string text = (negative ? "-" : "") + std::to_string(integer);
  if (fraction == 0) return text;
  std::string digits = std::to_string(fraction + Currency::kScale).substr(1);
  while (digits.back() == '0') digits.pop_back();
  return text + s.numbers.decimalSeparator + digits;
}

}  // namespace

Value Apply(BinaryOp op, const Value& left, const Value& right, const FormatSettings& s) {
  if (op == BinaryOp::Add && left.IsText()) return Value(left.AsText() + TextOf(right, s));
  if (left.IsNull() || right.IsNull()) return Value::Null();
  switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
      return Arithmetic(op, ToNumber(left, s), ToNumber(right, s));
    case BinaryOp::Divide: {
      const double a = ToNumber(left, s).AsDouble();
      const double b = ToNumber(right, s).AsDouble();
      if (b == 0) throw Error(a == 0 ? kInvalidOperation : kFloatDivisionByZero);
      return Real(a / b);
    }
    case BinaryOp::IntDivide:
    case BinaryOp::Modulo:
      return Quotient(op, left, right, s);
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor:
      return Bits(op, left, right, s);
    case BinaryOp::Shl:
    case BinaryOp::Shr:
      return Shift(op, left, right, s);
  }
  throw Error(kInvalidVariantOperation);
}

Value Negate(const Value& v, const FormatSettings& s) {
  if (v.IsNull()) return v;
  const Number n = ToNumber(v, s);
  switch (n.kind) {
    case NumKind::Int32: return Whole(-Int128{n.whole}, true);
    case NumKind::Int64: return Whole(-Int128{n.whole}, false);
    case NumKind::Currency: return MoneyFromScaled(-Int128{n.whole});
    case NumKind::DateTime: return Value(DateTime{-n.real});
    case NumKind::Real: return Value(-n.real);
  }
  throw Error(kInvalidVariantOperation);
}

Value Not(const Value& v, const FormatSettings& s) {
  if (v.IsNull()) return v;
  if (v.Kind() == ValueKind::Boolean) return Value(!v.AsBoolean());
  if (v.IsText()) {
    if (SameText(v.AsText(), "True")) return Value(false);
    if (SameText(v.AsText(), "False")) return Value(true);
  }
  const auto w = ToWhole(v, s);
  return Whole(~w.value, w.int32);
}

bool Compare(Relation relation, const Value& left, const Value& right, const FormatSettings& s) {
  if (left.IsNull() || right.IsNull()) {
    const bool both = left.IsNull() && right.IsNull();
    if (relation == Relation::Equal) return both;
    if (relation == Relation::NotEqual) return !both;
    return false;
  }
  const auto textOrder = [&](const std::string& a, const std::string& b) {
    return Holds(relation, a.compare(b) < 0 ? -1 : (a == b ? 0 : 1));
  };
  if (left.IsText() && right.IsText()) return textOrder(left.AsText(), right.AsText());
  if (left.Kind() == ValueKind::Boolean || right.Kind() == ValueKind::Boolean) {
    return Holds(relation, Order(ToBoolean(left, s), ToBoolean(right, s)));
  }
  // Empty shows as empty text, so against a text it is the empty text.
  if (left.IsEmpty() && right.IsText()) return textOrder(std::string(), right.AsText());
  if (left.IsText() && right.IsEmpty()) return textOrder(left.AsText(), std::string());
  return Holds(relation, NumberOrder(ToNumber(left, s), ToNumber(right, s)));
}

bool IsTrue(const Value& value, const FormatSettings& s) {
  return !value.IsNull() && ToBoolean(value, s);
}

std::string TextOf(const Value& v, const FormatSettings& s) {
  switch (v.Kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: return {};
    case ValueKind::Boolean: return v.AsBoolean() ? "True" : "False";
    case ValueKind::Integer: return std::to_string(v.AsInteger());
    case ValueKind::Int64: return std::to_string(v.AsInt64());
    case ValueKind::Real: return regional::FormatGeneral(v.AsReal(), s.numbers, 15);
    case ValueKind::Currency: return CurrencyText(v.AsCurrency(), s);
    case ValueKind::DateTime: {
      auto text = FormatDateTime("c", v.AsDateTime(), s.dates);
      return text ? *text : regional::FormatGeneral(v.AsDateTime().days, s.numbers, 15);
    }
    case ValueKind::Text: return v.AsText();
  }
  return {};
}

std::optional<double> ToReal(const Value& value, const FormatSettings& s) {
  if (value.IsNull()) return std::nullopt;
  try {
    return ToNumber(value, s).AsDouble();
  } catch (const Error&) {
    return std::nullopt;
  }
}

std::optional<std::int64_t> ToInt64(const Value& value, const FormatSettings& s) {
  if (value.IsNull()) return std::nullopt;
  try {
    return ToWhole(value, s).value;
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace report::expr
