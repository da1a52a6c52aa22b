// Name resolution, variables, Get, the error list and the expression cache.
#include "report/expr/evaluator.h"

#include <gtest/gtest.h>

#include "fake_scope.h"

namespace report::expr {
namespace {

using testing::FakeDataSet;
using testing::FakeObject;
using testing::FakeScope;

class Evaluation : public ::testing::Test {
 protected:
  Evaluation() {
    data.AddRow({Value(3), Value("Wadcutter"), Value::Null(), Value::Null(), Value::Null()});
    scope.dataSets.push_back(&data);
    evaluator.BeginBuild();
  }

  std::string ErrorOf(std::string_view text) {
    try {
      evaluator.Calc(text);
    } catch (const Error& e) {
      return e.what();
    }
    return "(no error)";
  }

  FakeDataSet data{"repDBDataset1",
                   {{"Palle", FieldType::fftNumeric},
                    {"tipologia", FieldType::fftString},
                    {"Vuoto", FieldType::fftNumeric},
                    {"Nota", FieldType::fftString},
                    {"Attivo", FieldType::fftBoolean}}};
  FakeScope scope;
  Evaluator evaluator{scope};
};

TEST_F(Evaluation, NamesResolveInTheirOrderFirstMatchWinning) {
  scope.system[SystemVariable::PageNo] = Value(2);
  scope.system[SystemVariable::Line] = Value(7);
  scope.variables.Add(" Spese", Value::Null());
  scope.variables.Add("Page#", Value("100"));  // hidden by the system variable
  scope.variables.Add("repDBDataset1.\"Palle\"", Value("100"));  // hidden by the field
  scope.variables.Add("Totale", Value("1 + 1"));
  scope.variables.Add("TOTALE", Value("99"));  // the first match wins
  scope.variables.Add("Fisso", Value(std::int64_t{5}));
  scope.variables.Add("Righe", Value("riga 1\r\nriga 2"));
  scope.globals.Add("Totale", Value(50));  // hidden by the report variable
  scope.globals.Add("Globale", Value("non valutato"));
  scope.globals.Add("CopyName0", Value("Copia"));
  evaluator.SetScriptValue(Value(1.5));

  struct Case {
    const char* name;
    std::optional<Value> value;
  } const cases[] = {
      {"repDBDataset1.\"Palle\"", Value(3)},
      {"REPDBDATASET1.\"palle\"", Value(3)},
      {"page#", Value(2)},
      {"Line", Value(7)},
      {"CopyName#", Value("Copia")},
      {"totale", Value(2)},  // its text is an expression, evaluated
      {"Fisso", Value(std::int64_t{5})},  // not text: as it stands
      {"Righe", Value("riga 1\r\nriga 2")},  // a text with line breaks stays text
      {"Globale", Value("non valutato")},  // global values are never evaluated
      {"Value", Value(1.5)},
      {" Spese", std::nullopt},  // category headers are never found
      {"Spese", std::nullopt},
      {"altroDataset.\"Palle\"", std::nullopt},
      {"Sconosciuto", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(evaluator.ResolveName(c.name), c.value) << c.name;
  }
  EXPECT_TRUE(scope.errors.Empty()) << scope.errors.Joined();
}

TEST_F(Evaluation, FieldReferencesSplitAtTheFirstDotQuote) {
  const FieldReference r = evaluator.SplitFieldReference("repdbdataset1.\"CoPalle\"");
  EXPECT_EQ(r.dataSet, &data);
  EXPECT_EQ(r.fieldName, "CoPalle");
  EXPECT_EQ(evaluator.SplitFieldReference("altro.\"x\"").dataSet, nullptr);
  EXPECT_EQ(evaluator.SplitFieldReference("altro.\"x\"").fieldName, "x");
  EXPECT_EQ(evaluator.SplitFieldReference("senzaCampo").fieldName, "");
  EXPECT_EQ(evaluator.SplitFieldReference("ds.\"").fieldName, "");
  EXPECT_EQ(evaluator.SplitFieldReference("ds.\"à").fieldName, "");  // a whole character goes
}

TEST_F(Evaluation, NullFieldsConvertByTheirKind) {
  EXPECT_EQ(evaluator.Calc("repDBDataset1.\"Vuoto\""), Value(0));
  EXPECT_EQ(evaluator.Calc("repDBDataset1.\"Nota\""), Value(""));
  EXPECT_EQ(evaluator.Calc("repDBDataset1.\"Attivo\""), Value(false));
  scope.convertNulls = false;
  EXPECT_EQ(evaluator.Calc("repDBDataset1.\"Vuoto\""), Value::Null());
}

TEST_F(Evaluation, MissingFieldsAndUnknownNamesAreRecordedNotRaised) {
  scope.currentObject = "Memo2";
  EXPECT_EQ(evaluator.Calc("repDBDataset1.\"Manca\""), Value::Null());
  EXPECT_EQ(evaluator.Calc("<Nessuno> + 1"), Value(1));  // empty counts as 0
  EXPECT_EQ(evaluator.Calc("<Nessuno>"), Value());
  EXPECT_EQ(scope.errors.Texts(),
            (std::vector<std::string>{"Memo2: Field not found: repDBDataset1.\"Manca\"",
                                      "Unknown variable or datafield: Nessuno"}));
}

TEST_F(Evaluation, ErrorsArePrefixedOncePerLevelAndRaised) {
  scope.variables.Add("A", Value("<B> * 2"));
  scope.variables.Add("B", Value("<repDBDataset1.\"Palle\"> / 0"));
  scope.currentObject = "Memo12";
  EXPECT_EQ(ErrorOf("<A> + 1"), "Memo12: Memo12: Memo12: Floating point division by zero");
  EXPECT_EQ(scope.errors.Texts(),
            (std::vector<std::string>{"Memo12: Floating point division by zero",
                                      "Memo12: Memo12: Floating point division by zero",
                                      "Memo12: Memo12: Memo12: Floating point division by zero"}));

  scope.errors.Clear();
  EXPECT_EQ(ErrorOf("1 +"), "Memo12: Error in expression '1 +': Expression expected");
  EXPECT_EQ(scope.errors.Joined(), "Memo12: Error in expression '1 +': Expression expected");
  scope.currentObject.clear();
  EXPECT_EQ(ErrorOf("1 +"), "Error in expression '1 +': Expression expected");
}

TEST_F(Evaluation, VariablesReferringToThemselvesAreReported) {
  scope.variables.Add("Io", Value("Io"));
  scope.variables.Add("Primo", Value("<Secondo> + 1"));
  scope.variables.Add("Secondo", Value("<Terzo>"));
  scope.variables.Add("Terzo", Value("<PRIMO> * 2"));
  EXPECT_EQ(ErrorOf("Io"), "Circular reference in variable: Io");
  const std::string error = ErrorOf("Primo");
  EXPECT_EQ(error, "Circular reference in variable: Primo") << scope.errors.Joined();
  EXPECT_TRUE(scope.errors.Contains("Circular reference in variable: Primo"));

  // The same variable twice side by side is no cycle.
  scope.variables.Add("Uno", Value("1"));
  EXPECT_EQ(evaluator.Calc("<Uno> + <Uno>"), Value(2));
}

TEST_F(Evaluation, NestingDeeperThanTheLimitIsReported) {
  for (int i = 0; i < 200; ++i) {
    scope.variables.Add("v" + std::to_string(i), Value("<v" + std::to_string(i + 1) + ">"));
  }
  scope.variables.Add("v200", Value("42"));
  EXPECT_NE(ErrorOf("v0").find("Expression nested too deeply"), std::string::npos);
  EXPECT_EQ(evaluator.Calc("v180"), Value(42));
}

TEST_F(Evaluation, SetAssignsOrAppendsAReportVariable) {
  scope.variables.Add("Conto", Value("1"));
  EXPECT_EQ(evaluator.Calc("Set('conto', 5)"), Value());
  EXPECT_EQ(evaluator.Calc("Set('Nuovo', 'testo' + #13#10)"), Value());
  EXPECT_EQ(scope.variables.Size(), 2u);
  EXPECT_EQ(evaluator.Calc("<Conto> + 1"), Value(6));
  EXPECT_EQ(evaluator.Calc("Nuovo"), Value("testo\r\n"));
}

TEST_F(Evaluation, AggregatesReachTheEngineWithTheirSourceText) {
  scope.aggregate = [](const AggregateCall& call, Evaluator& e) {
    return call.kind == AggregateKind::Count ? Value(37) : e.Calc(call.expression);
  };
  EXPECT_EQ(evaluator.Calc("SUM(<repDBDataset1.\"Palle\"> * 2, MasterData1, 1) + 1"), Value(7));
  EXPECT_EQ(evaluator.Calc("<count(MasterData1)>"), Value(37));  // through Get
  ASSERT_EQ(scope.aggregateCalls.size(), 2u);
  EXPECT_EQ(scope.aggregateCalls[0].text, "SUM(<repDBDataset1.\"Palle\"> * 2, MasterData1, 1)");
  EXPECT_EQ(scope.aggregateCalls[0].expression, "<repDBDataset1.\"Palle\"> * 2");
  EXPECT_EQ(scope.aggregateCalls[0].band, "MasterData1");
  EXPECT_EQ(scope.aggregateCalls[0].flags, "1");
  EXPECT_EQ(scope.aggregateCalls[1].kind, AggregateKind::Count);
  EXPECT_EQ(scope.aggregateCalls[1].flags, "0");

  const auto found =
      FindAggregateCalls("IIF(<a> > 0, AVG(<b>), <MAX(<c>, Band2)>) + Memo1.Count + MIN(1)");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].kind, AggregateKind::Avg);
  EXPECT_EQ(found[1].kind, AggregateKind::Max);
  EXPECT_EQ(found[1].band, "Band2");
  EXPECT_EQ(found[2].kind, AggregateKind::Min);
  EXPECT_TRUE(FindAggregateCalls("1 +").empty());
}

TEST_F(Evaluation, EachTextIsCompiledOncePerBuild) {
  // Counts the report's object look-ups: one when compiling, one per run.
  struct CountingScope : FakeScope {
    int lookups = 0;
    ScriptObject* FindObject(std::string_view name) override {
      ++lookups;
      return FakeScope::FindObject(name);
    }
  } counting;
  FakeObject memo{{"TRepMemoView"}};
  memo.members["Text"] = Member(Value("x"));
  counting.objects.push_back({"Memo1", &memo});
  Evaluator e(counting);
  e.BeginBuild();

  for (int row = 0; row < 3; ++row) EXPECT_EQ(e.Calc("Memo1.Text"), Value("x"));
  EXPECT_EQ(counting.lookups, 4);
  EXPECT_EQ(e.Calc("1 + 1"), Value(2));
  EXPECT_EQ(e.Cache().Size(), 2u);
  EXPECT_EQ(e.Cache().FunctionNameOf("Memo1.Text"), "exprf0");
  EXPECT_EQ(e.Cache().FunctionNameOf("1 + 1"), "exprf1");

  // Bare names are resolved, never compiled; failures are not kept.
  counting.variables.Add("Due", Value(2));
  EXPECT_EQ(e.Calc("Due"), Value(2));
  EXPECT_THROW(e.Calc("1 +"), Error);
  EXPECT_THROW(e.Calc("1 +"), Error);
  EXPECT_EQ(e.Cache().Size(), 2u);
  EXPECT_EQ(counting.errors.Size(), 1u);

  // The next build starts empty and compiles again.
  e.BeginBuild();
  EXPECT_EQ(e.Cache().Size(), 0u);
  EXPECT_EQ(e.Calc("1 + 1"), Value(2));
  EXPECT_EQ(e.Cache().FunctionNameOf("1 + 1"), "exprf0");
  EXPECT_EQ(e.Calc("Memo1.Text"), Value("x"));
  EXPECT_EQ(counting.lookups, 6);

  e.BeginBuild("JScript");
  EXPECT_THROW(e.Calc("1 + 2"), Error);
  EXPECT_TRUE(counting.errors.Contains(
      "Error in expression '1 + 2': Unknown script language: JScript"));
}

TEST_F(Evaluation, ANewExpressionMayBeCompiledWhileAnotherRuns) {
  // Each level compiles its text while the level above is running; the
  // cache grows under the running code.
  for (int i = 0; i < 30; ++i) {
    scope.variables.Add("n" + std::to_string(i), Value("<n" + std::to_string(i + 1) + "> + 1"));
  }
  scope.variables.Add("n30", Value("0"));
  EXPECT_EQ(evaluator.Calc("<n0> * 1"), Value(30));
  EXPECT_EQ(evaluator.Cache().Size(), 32u);  // the outer text and each variable's
  EXPECT_EQ(evaluator.Calc("<n0> * 1"), Value(30));
}

}  // namespace
}  // namespace report::expr
