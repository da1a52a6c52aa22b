#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "report/expr/format_settings.h"
#include "report/expr/value.h"

// Arithmetic, comparison and conversion of values by operand kind. Every
// failure throws report::expr::Error with the run-time text the error list
// shows ("Floating point division by zero", ...).
//
// Kinds in arithmetic: empty counts as integer 0, a Boolean as -1 (true) or 0,
// text is read as a real in the user's form. Integer with integer stays
// integer (32-bit while the result fits, else 64-bit), a currency operand with
// integers keeps currency, a real operand gives a real, a date-time plus or
// minus a number stays a date-time. A null operand makes the result null.
namespace report::expr {

enum class BinaryOp { Add, Subtract, Multiply, Divide, IntDivide, Modulo, And, Or, Xor, Shl, Shr };
enum class Relation { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

Value Apply(BinaryOp op, const Value& left, const Value& right, const FormatSettings& settings);
Value Negate(const Value& operand, const FormatSettings& settings);
Value Not(const Value& operand, const FormatSettings& settings);

// Numbers compare as numbers, texts as texts (byte order), a text against a
// number is read as a number, a Boolean against anything else compares with
// "is not zero". Null equals only null and is neither less nor greater than
// anything.
bool Compare(Relation relation, const Value& left, const Value& right,
             const FormatSettings& settings);

// "Equals true" as IIF and the Boolean display format mean it; throws when
// the value cannot be read as a Boolean.
bool IsTrue(const Value& value, const FormatSettings& settings);

// The natural text form: empty and null give "", Booleans "True"/"False",
// numbers in the user's form without grouping, date-times with the short date
// and the long time.
std::string TextOf(const Value& value, const FormatSettings& settings);

// Conversions that do not throw: nothing when the value cannot convert.
std::optional<double> ToReal(const Value& value, const FormatSettings& settings);
// Reals are rounded to the nearest whole number, halves away from zero.
std::optional<std::int64_t> ToInt64(const Value& value, const FormatSettings& settings);

}  // namespace report::expr
