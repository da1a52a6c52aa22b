#include "report/expr/value_ops.h"

#include <gtest/gtest.h>

#include <limits>

#include "test_settings.h"
#include "report/expr/date_time.h"
#include "report/expr/error.h"

namespace report::expr {
namespace {

using testing::English;
using testing::Italian;

std::string Describe(const Value& v) {
  return std::string(KindName(v.Kind())) + " " + TextOf(v, English());
}

struct ArithmeticCase {
  const char* name;
  BinaryOp op;
  Value left;
  Value right;
  Value expected;
};

TEST(ValueOps, ArithmeticFollowsTheOperandKinds) {
  const std::int32_t max32 = std::numeric_limits<std::int32_t>::max();
  const ArithmeticCase cases[] = {
      {"int + int stays 32-bit", BinaryOp::Add, Value(2), Value(3), Value(5)},
      {"32-bit overflow widens", BinaryOp::Add, Value(max32), Value(1),
       Value(std::int64_t{max32} + 1)},
      {"int64 operand gives int64", BinaryOp::Multiply, Value(std::int64_t{2}), Value(3),
       Value(std::int64_t{6})},
      {"real operand gives real", BinaryOp::Subtract, Value(1), Value(0.25), Value(0.75)},
      {"slash is real division", BinaryOp::Divide, Value(7), Value(2), Value(3.5)},
      {"currency with int keeps currency", BinaryOp::Multiply, Value(Currency{15000}), Value(3),
       Value(Currency{45000})},
      {"currency times currency rounds to 4 decimals", BinaryOp::Multiply, Value(Currency{12345}),
       Value(Currency{5}), Value(Currency{6})},  // 1.2345 * 0.0005 = 0.00061725
      {"currency with real gives real", BinaryOp::Add, Value(Currency{10000}), Value(0.5),
       Value(1.5)},
      {"text on the left joins", BinaryOp::Add, Value("n. "), Value(0.5), Value("n. 0.5")},
      {"text on the right is read as a number", BinaryOp::Add, Value(1), Value("2.5"), Value(3.5)},
      {"empty counts as zero", BinaryOp::Add, Value(), Value(4), Value(4)},
      {"null makes null", BinaryOp::Multiply, Value::Null(), Value(4), Value::Null()},
      {"date plus days stays a date", BinaryOp::Add, Value(DateTime{10.5}), Value(2),
       Value(DateTime{12.5})},
      {"date minus date is a real", BinaryOp::Subtract, Value(DateTime{10.5}),
       Value(DateTime{2.25}), Value(8.25)},
      {"DIV", BinaryOp::IntDivide, Value(-7), Value(2), Value(-3)},
      {"MOD", BinaryOp::Modulo, Value(-7), Value(2), Value(-1)},
      {"MOD rounds reals", BinaryOp::Modulo, Value(7.6), Value(3), Value(std::int64_t{2})},
      {"AND of Booleans", BinaryOp::And, Value(true), Value(false), Value(false)},
      {"OR of integers is bitwise", BinaryOp::Or, Value(12), Value(3), Value(15)},
      {"XOR with true as -1", BinaryOp::Xor, Value(true), Value(1), Value(-2)},
      {"SHL in 32 bits", BinaryOp::Shl, Value(1), Value(31), Value(std::numeric_limits<std::int32_t>::min())},
      {"SHR is logical", BinaryOp::Shr, Value(-1), Value(28), Value(15)},
  };
  for (const auto& c : cases) {
    const Value got = Apply(c.op, c.left, c.right, English());
    EXPECT_EQ(got, c.expected) << c.name << ": got " << Describe(got);
  }
}

TEST(ValueOps, FailuresCarryTheRunTimeTexts) {
  struct Case {
    BinaryOp op;
    Value left;
    Value right;
    const char* text;
  } const cases[] = {
      {BinaryOp::Divide, Value(1), Value(0), "Floating point division by zero"},
      {BinaryOp::Divide, Value(0.0), Value(), "Invalid floating point operation"},
      {BinaryOp::Divide, Value(0), Value(0), "Invalid floating point operation"},
      {BinaryOp::Multiply, Value(1e308), Value(10), "Floating point overflow"},
      {BinaryOp::IntDivide, Value(1), Value(0), "Division by zero"},
      {BinaryOp::Modulo, Value(1), Value(0), "Division by zero"},
      {BinaryOp::Add, Value(std::numeric_limits<std::int64_t>::max()), Value(1),
       "Integer overflow"},
      {BinaryOp::Subtract, Value(1), Value("abc"),
       "Could not convert variant of type (String) into type (Double)"},
  };
  for (const auto& c : cases) {
    try {
      Apply(c.op, c.left, c.right, English());
      ADD_FAILURE() << c.text << ": no error";
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
  }
}

TEST(ValueOps, TextIsReadInTheUsersForm) {
  EXPECT_EQ(Apply(BinaryOp::Multiply, Value("1,5"), Value(2), Italian()), Value(3.0));
  EXPECT_THROW(Apply(BinaryOp::Multiply, Value("1,5"), Value(2), English()), Error);
}

TEST(ValueOps, UnaryOperators) {
  EXPECT_EQ(Negate(Value(std::numeric_limits<std::int32_t>::min()), English()),
            Value(std::int64_t{2147483648}));
  EXPECT_EQ(Negate(Value(Currency{5}), English()), Value(Currency{-5}));
  EXPECT_EQ(Negate(Value(), English()), Value(0));
  EXPECT_EQ(Not(Value(true), English()), Value(false));
  EXPECT_EQ(Not(Value(0), English()), Value(-1));
  EXPECT_EQ(Not(Value::Null(), English()), Value::Null());
}

TEST(ValueOps, ComparisonsByKind) {
  struct Case {
    Relation relation;
    Value left;
    Value right;
    bool holds;
  } const cases[] = {
      {Relation::Equal, Value(1), Value(1.0), true},
      {Relation::Less, Value(std::int64_t{9007199254740993}), Value(std::int64_t{9007199254740994}),
       true},  // beyond what a double tells apart
      {Relation::Equal, Value(Currency{10000}), Value(1), true},
      {Relation::Equal, Value("10"), Value(10), true},
      {Relation::Less, Value("abc"), Value("abd"), true},
      {Relation::Equal, Value("a"), Value("A"), false},
      {Relation::Equal, Value(true), Value(1), true},
      {Relation::Equal, Value(false), Value(0), true},
      {Relation::Less, Value(false), Value(true), true},
      {Relation::Equal, Value("True"), Value(true), true},
      {Relation::Equal, Value(), Value(0), true},
      {Relation::Equal, Value(), Value(""), true},
      {Relation::Equal, Value::Null(), Value::Null(), true},
      {Relation::Equal, Value::Null(), Value(0), false},
      {Relation::NotEqual, Value::Null(), Value(0), true},
      {Relation::Less, Value::Null(), Value(1), false},
      {Relation::GreaterEqual, Value::Null(), Value(1), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Compare(c.relation, c.left, c.right, English()), c.holds)
        << Describe(c.left) << " vs " << Describe(c.right);
  }
  EXPECT_THROW(Compare(Relation::Equal, Value("x"), Value(true), English()), Error);
}

TEST(ValueOps, NaturalTextFormInBothLocales) {
  const auto dt = EncodeDateTime(2010, 12, 13, 22, 45, 7);
  ASSERT_TRUE(dt);
  struct Case {
    Value value;
    const char* english;
    const char* italian;
  } const cases[] = {
      {Value(), "", ""},
      {Value::Null(), "", ""},
      {Value(true), "True", "True"},
      {Value(-42), "-42", "-42"},
      {Value(std::int64_t{1} << 40), "1099511627776", "1099511627776"},
      {Value(0.1), "0.1", "0,1"},
      {Value(1234.5), "1234.5", "1234,5"},
      {Value(1.0 / 3), "0.333333333333333", "0,333333333333333"},
      {Value(1e20), "1E20", "1E20"},
      {Value(Currency{-12345}), "-1.2345", "-1,2345"},
      {Value(Currency{20000}), "2", "2"},
      {Value(*dt), "12/13/2010 10:45:07 PM", "13/12/2010 22:45:07"},
      {Value(DateTime{40525.0}), "12/13/2010", "13/12/2010"},
      {Value(DateTime{0.5}), "12:00:00 PM", "12:00:00"},
      {Value("testo"), "testo", "testo"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextOf(c.value, English()), c.english);
    EXPECT_EQ(TextOf(c.value, Italian()), c.italian);
  }
}

TEST(DateTime, EncodeAndDecodeAroundTheEpoch) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 30)->days, 0);
  EXPECT_EQ(EncodeDateTime(2010, 12, 13)->days, 40525);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6)->days, -1.25);
  EXPECT_FALSE(EncodeDateTime(2011, 2, 29));
  EXPECT_TRUE(EncodeDateTime(2012, 2, 29));
  const auto t = DecodeDateTime(DateTime{-1.25});
  ASSERT_TRUE(t);
  EXPECT_EQ(t->day, 29);
  EXPECT_EQ(t->hour, 6);
  EXPECT_EQ(DecodeDateTime(DateTime{40525.9485128241})->minute, 45);
  EXPECT_EQ(DecodeDateTime(DateTime{40525})->dayOfWeek, 1);  // a Monday
  EXPECT_FALSE(DecodeDateTime(DateTime{1e300}));
}

}  // namespace
}  // namespace report::expr
