// Random input to the compiler and the memo expander: each call must return
// (a value, a text or report::expr::Error), never crash or hang. The
// sanitizer build turns any memory fault into a failure here.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "fake_scope.h"
#include "report/expr/evaluator.h"
#include "report/expr/memo.h"

namespace report::expr {
namespace {

using testing::FakeDataSet;
using testing::FakeObject;
using testing::FakeScope;

class Fuzz : public ::testing::Test {
 protected:
  Fuzz() {
    data.AddRow({Value(3), Value("x")});
    scope.dataSets.push_back(&data);
    memo.members["Text"] = Member(Value("t"));
    memo.members["Self"] = Member(&memo);
    scope.objects.push_back({"Memo1", &memo});
    scope.aggregate = [](const AggregateCall& call, Evaluator& e) { return e.Calc(call.expression); };
    // Variables that use each other, some in circles.
    scope.variables.Add("a", Value("<b> + 1"));
    scope.variables.Add("b", Value("<c> * 2"));
    scope.variables.Add("c", Value("<a>"));
    scope.variables.Add("d", Value("IIF(<e> > 0, <d>, 1)"));
    scope.variables.Add("e", Value("<ds.\"n\"> / 0"));
    scope.currentObject = "Memo1";
    evaluator.BeginBuild();
  }

  void Evaluate(const std::string& text) {
    try {
      evaluator.Calc(text);
    } catch (const Error&) {
    }
    MemoData m;
    m.text = text;
    m.hideZeros = text.size() % 2 == 0;
    m.displayFormat = {static_cast<FormatKind>(text.size() % 4), text.substr(0, 6), ","};
    try {
      ExpandMemoText(m, evaluator);
    } catch (const Error&) {
    }
    for (const auto& call : FindAggregateCalls(text)) EXPECT_FALSE(call.text.empty());
    FormatValue(Value(static_cast<double>(text.size()) - 7.5),
                {static_cast<FormatKind>(text.size() % 4), text, text.substr(0, 1)},
                scope.settings);
  }

  FakeDataSet data{"ds", {{"n", FieldType::fftNumeric}, {"s", FieldType::fftString}}};
  FakeObject memo{{"TRepMemoView"}};
  FakeScope scope;
  Evaluator evaluator{scope};
};

TEST_F(Fuzz, RandomBytesAlwaysReturn) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> length(0, 80);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < 8000; ++i) {
    std::string text(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : text) c = static_cast<char>(byte(random));
    Evaluate(text);
  }
}

TEST_F(Fuzz, RandomPiecesOfTheGrammarAlwaysReturn) {
  // Pieces that the grammar knows, so that the parser gets deep and the
  // evaluator runs, not only the lexer's first error.
  static const char* const kPieces[] = {
      "(", ")", "[", "]", "<", ">", "<a>", "<b>", "<d>", "<ds.\"n\">", "<ds.\"s\">", "<Page#>",
      "<SUM(<a>)>", "'", "'t'", "\"", "#65", "$F", "1", "0", "2.5", "1e3", "+", "-", "*", "/",
      " div ", " mod ", " and ", " or ", " xor ", " not ", " shl ", " shr ", " in ", " is ",
      "=", "<>", "<=", ">=", ",", ".", "..", "Memo1", "Memo1.Text", "Memo1.Self", "Value",
      "Get(", "Set(", "IIF(", "SUM(", "COUNT(", "True", "False", " #N", " #D", " #B", "%2.2m",
      "a", "c", "e", " ", "\r\n", "TotalPages#", "CopyName#",
  };
  constexpr auto kCount = sizeof kPieces / sizeof kPieces[0];
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> piece(0, kCount - 1);
  std::uniform_int_distribution<int> length(1, 40);
  for (int i = 0; i < 8000; ++i) {
    std::string text;
    const int n = length(random);
    for (int k = 0; k < n; ++k) text += kPieces[piece(random)];
    Evaluate(text);
    Evaluate("[" + text + "]");
  }
  // The build's error list holds each text once, however often it was met.
  const auto& texts = scope.errors.Texts();
  EXPECT_TRUE(std::is_sorted(texts.begin(), texts.end()));
  EXPECT_EQ(std::adjacent_find(texts.begin(), texts.end()), texts.end());
}

}  // namespace
}  // namespace report::expr
