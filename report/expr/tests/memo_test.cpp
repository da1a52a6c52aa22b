// Memo text in, expanded text out: brackets, quotes, delimiters, inline
// formats, placeholders and memos bound to a field.
#include "report/expr/memo.h"

#include <gtest/gtest.h>

#include "fake_scope.h"
#include "report/expr/date_time.h"
#include "report/expr/evaluator.h"

namespace report::expr {
namespace {

using testing::English;
using testing::FakeDataSet;
using testing::FakeScope;

class Memos : public ::testing::Test {
 protected:
  Memos() {
    pistol.AddRow({Value("Wadcutter"), Value(0), Value("riga 1\nriga 2")});
    rifle.AddRow({Value("Spitzer"), Value(2.5), Value()});
    scope.dataSets = {&pistol, &rifle};
    scope.system[SystemVariable::PageNo] = Value(2);
    scope.variables.Add("Totale", Value("1234.5"));
    scope.variables.Add("Zero", Value("0"));
    scope.variables.Add("x", Value("1"));
    scope.variables.Add("Vero", Value("1 < 2"));
    scope.variables.Add("Adesso", Value("<Data>"));
    scope.globals.Add("Data", Value(*EncodeDateTime(2010, 12, 13, 22, 45)));
    scope.currentObject = "Memo1";
    evaluator.BeginBuild();
  }

  std::string Expand(std::string text, MemoData memo = {}) {
    memo.text = std::move(text);
    ExpandMemoText(memo, evaluator);
    return memo.text;
  }

  FakeDataSet pistol{"repDBDataset1",
                     {{"tipologia", FieldType::fftString},
                      {"Palle", FieldType::fftNumeric},
                      {"Note", FieldType::fftString, true}}};
  FakeDataSet rifle{"repDBDataset2",
                    {{"tipologia", FieldType::fftString},
                     {"Palle", FieldType::fftNumeric},
                     {"Note", FieldType::fftString, true}}};
  FakeScope scope;
  Evaluator evaluator{scope};
};

struct Case {
  const char* memo;
  const char* expanded;
};

TEST_F(Memos, BracketedExpressionsAreReplacedOnce) {
  const Case cases[] = {
      {"Costi", "Costi"},
      {"", ""},
      {"[Page#]", "2"},
      {"Pagina [Page#] di [totalpages#]", "Pagina 2 di [TotalPages#]"},
      {"[COPYNAME#]", "[CopyName#]"},
      {"[repDBDataset2.\"tipologia\"]", "Spitzer"},
      {"[1 + 1] e [2 * 3].", "2 e 6."},
      {"[x][x]", "11"},
      {"riga 1\n[x]\nriga 3", "riga 1\n1\nriga 3"},
      // An opening bracket never closed leaves the tail as it is.
      {"a [1] b [2", "a 1 b [2"},
      {"[1 + [2]", "[1 + [2]"},
      {"[", "["},
      {"fine [", "fine ["},
      {"]", "]"},
      // Quotes hide brackets; inserted text is not scanned again.
      {"[IIF(<x> > 0, '[si]', 'no')]", "[si]"},
      {"['a]b']", "a]b"},
      {"[IIF(1 > 0, 'ok', <repDBDataset2.\"a]\">)]", "ok"},  // as in <ds."field">
      {"[3 in [1, 2..4]]", "True"},
      {"l'arma [1]", "l'arma 1"},
      {"[1] l'arma [2]", "1 l'arma 2"},
      // Inline formats follow a blank and '#'.
      {"[<Totale> #N%2,2m]", "1.234,50 €"},
      {"[Totale #n%,1f]", "1234,5"},
      {"[Totale #n%.1f]", "1234.5"},  // the '.' written is the separator shown
      {"[<Vero> #BSì,No]", "Sì"},
      {"[<Adesso> #Ddd/mm/yyyy]", "13/12/2010"},
      {"[<Adesso> #thh:nn]", "22:45"},
      {"[<x> #]", "1"},
      {"[<x> #Xqualcosa]", "1"},
      {"[IIF(<x> > 0, 'a #1', 'b')]", "a #1"},  // ')' after " #": no inline format
      {"[Page#]", "2"},                          // no blank before '#'
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Expand(c.memo), c.expanded) << c.memo;
  }
  EXPECT_TRUE(scope.errors.Empty()) << scope.errors.Joined();
}

TEST_F(Memos, InlineNumericFormatsTakeTheirSeparatorAsTheDecimalSeparator) {
  scope.settings = English();
  EXPECT_EQ(Expand("[<Totale> #N%2,2m]"), "$1,234,50");
  EXPECT_EQ(Expand("[<Totale> #N%2.2m]"), "$1,234.50");
  EXPECT_EQ(Expand("[<Totale> #N%2-2m]"), "$1,234-50");
}

TEST_F(Memos, DelimitersAndTheSwitch) {
  MemoData custom;
  custom.expressionDelimiters = "<%,%>";
  EXPECT_EQ(Expand("Tot <%1 + 1%> [x]", custom), "Tot 2 [x]");
  custom.expressionDelimiters = "{{,}}";
  EXPECT_EQ(Expand("{{<x> + 1}} e {{x}}", custom), "2 e 1");
  custom.expressionDelimiters = "|,|";
  EXPECT_EQ(Expand("a |1 + 1| b |x|", custom), "a 2 b 1");
  custom.expressionDelimiters = "[";
  EXPECT_EQ(Expand("[x]", custom), "[x]");
  custom.expressionDelimiters = "[,";
  EXPECT_EQ(Expand("[x]", custom), "[x]");
  MemoData off;
  off.allowExpressions = false;
  EXPECT_EQ(Expand("[x]", off), "[x]");
}

TEST_F(Memos, NestedSpansAreFoundWithTheirDepth) {
  const auto found = FindBracketedExpression("ab [1 [2] '3]' \"]\"] c", "[", "]", 0);
  ASSERT_TRUE(found.found);
  EXPECT_EQ(found.start, 3u);
  EXPECT_EQ(found.end, 19u);
  EXPECT_EQ(found.inner, "1 [2] '3]' \"]\"");
  EXPECT_FALSE(FindBracketedExpression("[1 [2]", "[", "]", 0).found);
  EXPECT_EQ(FindBracketedExpression("{{a {{b}} c}} {{d}}", "{{", "}}", 0).inner, "a {{b}} c");
  EXPECT_FALSE(FindBracketedExpression("niente", "[", "]", 0).found);
  EXPECT_FALSE(FindBracketedExpression("[1]", "[", "]", 10).found);
  EXPECT_EQ(SplitDelimiters("<%,%>").open, "<%");
  EXPECT_EQ(SplitDelimiters("<%,%>").close, "%>");
  EXPECT_EQ(SplitDelimiters("a,b,c").close, "b,c");
}

TEST_F(Memos, HideZerosAndZeroAmounts) {
  MemoData hidden;
  hidden.hideZeros = true;
  EXPECT_EQ(Expand("[<Zero>]", hidden), "");
  EXPECT_EQ(Expand("[<Zero> #N%2,2m] / [x]", hidden), " / 1");
  EXPECT_EQ(Expand("['0']", hidden), "0");  // texts are never hidden
  EXPECT_EQ(Expand("[1 > 2]", hidden), "");  // false equals 0

  MemoData money;
  money.displayFormat = {FormatKind::fkNumeric, "%2.2m", ","};
  EXPECT_EQ(Expand("[<Nessuno>]", money), "0,00 €");
  EXPECT_EQ(scope.errors.Joined(), "Unknown variable or datafield: Nessuno");
  hidden.displayFormat = money.displayFormat;
  EXPECT_EQ(Expand("[<Nessuno>]", hidden), "");
}

TEST_F(Memos, TheLastValueReachesTheMemoAndTheScript) {
  MemoData memo;
  memo.text = "[1 + 1] e [2.5]";
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.value, Value(2.5));
  EXPECT_EQ(evaluator.ScriptValue(), Value(2.5));
  MemoData plain;
  plain.text = "niente";
  ExpandMemoText(plain, evaluator);
  EXPECT_EQ(evaluator.ScriptValue(), Value(2.5));  // no expression, no new value
  EXPECT_EQ(Expand("[Value * 2]"), "5");
}

TEST_F(Memos, AnErrorLeavesTheTextAsItWas) {
  MemoData memo;
  memo.text = "[x] e [1 / 0]";
  EXPECT_THROW(ExpandMemoText(memo, evaluator), Error);
  EXPECT_EQ(memo.text, "[x] e [1 / 0]");
  EXPECT_EQ(scope.errors.Joined(), "Memo1: Floating point division by zero");
  memo.text = "[costoPalla]";  // a bare unknown identifier does not compile
  EXPECT_THROW(ExpandMemoText(memo, evaluator), Error);
  EXPECT_TRUE(scope.errors.Contains(
      "Memo1: Error in expression 'costoPalla': Unknown identifier 'costoPalla'"));
}

TEST_F(Memos, AMemoBoundToAFieldShowsThatField) {
  MemoData memo;
  memo.text = "[ignorato]";
  memo.dataSet = &pistol;
  memo.dataField = "TIPOLOGIA";
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "Wadcutter");
  EXPECT_EQ(memo.value, Value("Wadcutter"));

  memo.dataSet = &rifle;
  memo.dataField = "Palle";
  memo.displayFormat = {FormatKind::fkNumeric, "%2.2m", ","};
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "2,50 €");
  memo.displayFormat = {};
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "2,5");  // the dataset's display text

  memo.dataSet = &pistol;
  memo.hideZeros = true;
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "");

  memo.dataField = "Note";
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "riga 1\nriga 2");

  memo.dataField = "Manca";
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "Field not found: repDBDataset1.\"Manca\"");
  EXPECT_EQ(scope.errors.Joined(), "Memo1: Field not found: repDBDataset1.\"Manca\"");
}

TEST_F(Memos, ADataSetWithoutAFieldStillExpandsTheText) {
  // As the rifle list stores it: the pistol dataset named, no field, and
  // a text that reads the rifle dataset.
  MemoData memo;
  memo.dataSet = &pistol;
  memo.text = "[repDBDataset2.\"tipologia\"]";
  ExpandMemoText(memo, evaluator);
  EXPECT_EQ(memo.text, "Spitzer");
}

TEST_F(Memos, LongMemosExpandInOnePass) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "[x] ";
  const std::string expanded = Expand(text);
  EXPECT_EQ(expanded.size(), 20000u * 2);
  EXPECT_EQ(expanded.substr(0, 6), "1 1 1 ");
}

TEST_F(Memos, ExpressionsOfAMemoForTheEngine) {
  MemoData memo;
  memo.text = "[SUM(<a>)] x [<b> #N%2.2m] ['[c]'] [d";
  EXPECT_EQ(MemoExpressions(memo), (std::vector<std::string>{"SUM(<a>)", "<b>", "'[c]'"}));
}

}  // namespace
}  // namespace report::expr
