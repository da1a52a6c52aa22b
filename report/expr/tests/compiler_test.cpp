// Expression text in, value or error text out: the grammar, its literals and
// operators, and every compile and run-time message.
#include <gtest/gtest.h>

#include <string>

#include "fake_scope.h"
#include "report/expr/error.h"
#include "report/expr/evaluator.h"

namespace report::expr {
namespace {

using testing::FakeObject;
using testing::FakeScope;

struct Outcome {
  Value value;
  std::string error;
};

Outcome Evaluate(Evaluator& evaluator, const std::string& text) {
  try {
    return {evaluator.Calc(text), {}};
  } catch (const Error& e) {
    return {Value(), e.what()};
  }
}

class Expressions : public ::testing::Test {
 protected:
  Expressions() {
    memo.members["Text"] = Member(Value("ciao"));
    memo.members["Self"] = Member(&memo);
    scope.objects.push_back({"Memo1", &memo});
    evaluator.BeginBuild();
  }

  FakeObject memo{{"TRepMemoView", "TRepView"}};
  FakeScope scope;
  Evaluator evaluator{scope};
};

struct ValueCase {
  const char* text;
  Value expected;
};

TEST_F(Expressions, GrammarLiteralsAndPrecedence) {
  const ValueCase cases[] = {
      {"1 + 2 * 3", Value(7)},
      {"(1 + 2) * 3", Value(9)},
      {"-2 * 3", Value(-6)},
      {"2 * (-3)", Value(-6)},
      {"10 - 4 - 3", Value(3)},  // left-associative
      {"7 / 2", Value(3.5)},
      {"6 / 3", Value(2.0)},  // always a real
      {"7 div 2 + 7 MOD 2", Value(4)},
      {"1 shl 4 or 1", Value(17)},
      {"1 < 2", Value(true)},
      {"1 < 2 = True", Value(true)},
      {"2 <> 2", Value(false)},
      {"'b' >= 'a'", Value(true)},
      {"not True", Value(false)},
      {"NOT 0", Value(-1)},
      {"1 + 1 > 1 and 2 > 1", Value(false)},  // AND binds tighter: 1 + 1 > (1 and 2) > 1
      {"(1 + 1 > 1) and (2 > 1)", Value(true)},
      {"1.5e1", Value(15.0)},
      {"2.5E-1", Value(0.25)},
      {"2147483647", Value(2147483647)},
      {"2147483648", Value(std::int64_t{2147483648})},
      {"$FF", Value(255)},
      {"$100000000", Value(std::int64_t{4294967296})},
      {"'it''s'", Value("it's")},
      {"'a'#13#10'b'", Value("a\r\nb")},
      {"#65#66", Value("AB")},
      {"#224", Value("à")},
      {"'' + 'x'", Value("x")},
      {"'x' + 1.5", Value("x1,5")},  // the joined number in the user's form
      {"3 in [1, 2..4]", Value(true)},
      {"5 in [1, 2..4]", Value(false)},
      {"'b' in ['a', 'b']", Value(true)},
      {"1 in []", Value(false)},
      {"IIF(1 > 0, 'si', 'no')", Value("si")},
      {"iif(0 > 1, 1 / 0, 2)", Value(2)},  // only the chosen branch runs
      {"False and (1 / 0 > 0)", Value(false)},
      {"True or (1 / 0 > 0)", Value(true)},
      {"Memo1.Text", Value("ciao")},
      {"memo1.self.TEXT", Value("ciao")},
      {"Memo1.Add(2, 3)", Value(5)},
      {"Memo1 is TRepView", Value(true)},
      {"Memo1 IS TRepBand", Value(false)},
      {"Get('Memo' + '1')", Value()},  // Get reaches variables, not objects
      {"  1\r\n + 1  ", Value(2)},
  };
  for (const auto& c : cases) {
    const Outcome got = Evaluate(evaluator, c.text);
    EXPECT_EQ(got.error, "") << c.text;
    EXPECT_EQ(got.value, c.expected) << c.text;
  }
}

struct ErrorCase {
  const char* text;
  const char* error;
};

TEST_F(Expressions, CompileErrorsNameTheExpression) {
  const ErrorCase cases[] = {
      {"", "Expression expected"},
      {"2 * -3", "Expression expected"},  // unary minus only before the first term
      {"- -3", "Expression expected"},
      {"1 +", "Expression expected"},
      {"(1 + 2", "')' expected"},
      {"IIF(1, 2, 3", "')' expected"},
      {"1 + 2)", "Unexpected ')'"},
      {"1 2", "Unexpected '2'"},
      {"1 @ 2", "Unexpected '@'"},
      {"[1, 2", "']' expected"},
      {"[1, 2]", "Type mismatch"},
      {"1 in 2", "Type mismatch"},
      {"[1] + 1", "Type mismatch"},
      {"<costoPalla", "'>' expected"},
      {"<a]", "'>' expected"},
      {"Memo1.", "Identifier expected"},
      {"Memo1.3", "Identifier expected"},
      {"Memo1 is 3", "Identifier expected"},
      {"Memo2.Text", "Unknown identifier 'Memo2'"},
      {"costoPalla", "Unknown identifier 'costoPalla'"},
      {"Get()", "Invalid number of parameters"},
      {"Get('a', 'b')", "Invalid number of parameters"},
      {"Set('a')", "Invalid number of parameters"},
      {"IIF(1, 2)", "Invalid number of parameters"},
      {"SUM()", "Invalid number of parameters"},
      {"COUNT(1, 2, 3)", "Invalid number of parameters"},
      {"'open", "Unterminated string"},
      {"'two\nlines'", "Unterminated string"},
      {"$", "Invalid number"},
      {"99999999999999999999", "Invalid number"},
      {"#1114112", "Invalid character code"},
  };
  for (const auto& c : cases) {
    const Outcome got = Evaluate(evaluator, c.text);
    EXPECT_EQ(got.error, "Error in expression '" + std::string(c.text) + "': " + c.error)
        << c.text;
    EXPECT_TRUE(got.value.IsEmpty());
  }
}

TEST_F(Expressions, RunTimeErrorsCarryTheirOwnText) {
  const ErrorCase cases[] = {
      {"1 / 0", "Floating point division by zero"},
      {"0 / 0", "Invalid floating point operation"},
      {"1 div 0", "Division by zero"},
      {"'a' * 2", "Could not convert variant of type (String) into type (Double)"},
      {"IIF('forse', 1, 2)", "Could not convert variant of type (String) into type (Boolean)"},
      {"Memo1 + 1", "Type mismatch"},
      {"1 is TRepView", "Type mismatch"},
      {"Memo1.Missing", "Unknown identifier 'Missing'"},
      {"Memo1.Text.Length", "Type mismatch"},
      {"SUM(<x>)", "no aggregates here"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Evaluate(evaluator, c.text).error, c.error) << c.text;
  }
}

TEST_F(Expressions, NestingIsLimitedAndLengthIsNot) {
  const std::string deep = std::string(500, '(') + "1" + std::string(500, ')');
  EXPECT_EQ(Evaluate(evaluator, deep).error,
            "Error in expression '" + deep + "': Expression nested too deeply");
  std::string nots;
  for (int i = 0; i < 1000; ++i) nots += "not ";
  EXPECT_NE(Evaluate(evaluator, nots + "1").error.find("Expression nested too deeply"),
            std::string::npos);
  EXPECT_EQ(Evaluate(evaluator, std::string(60, '(') + "2" + std::string(60, ')')).value, Value(2));

  // A flat chain compiles to flat code: no recursion, whatever its length.
  std::string sum = "1";
  for (int i = 1; i < 100000; ++i) sum += "+1";
  EXPECT_EQ(Evaluate(evaluator, sum).value, Value(100000));
  std::string text(200000, 'x');
  EXPECT_EQ(Evaluate(evaluator, "'" + text + "'").value, Value(text));
}

TEST_F(Expressions, TheScriptVariableValue) {
  evaluator.SetScriptValue(Value(2.5));
  EXPECT_EQ(Evaluate(evaluator, "Value * 2").value, Value(5.0));
  EXPECT_EQ(Evaluate(evaluator, "Value").value, Value(2.5));  // bare: resolved as a name
}

}  // namespace
}  // namespace report::expr
