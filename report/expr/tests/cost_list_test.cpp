// The cost lists' variables and memos over a small table, filled the way the
// band engine fills a data band: each memo in order under its own name, the
// build ending at the first raised error.
#include <gtest/gtest.h>

#include <optional>

#include "fake_scope.h"
#include "report/expr/evaluator.h"
#include "report/expr/memo.h"

namespace report::expr {
namespace {

using testing::English;
using testing::FakeDataSet;
using testing::FakeScope;
using testing::Italian;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

struct Row {
  std::optional<double> coPalle, palle, coInn, inneschi, coPol, polvere, coBoss, bossoli;
};

Value Field(std::optional<double> v) { return v ? Value(*v) : Value::Null(); }

struct NamedMemo {
  std::string name;
  MemoData memo;
};

// One report: the pistol list (dataset 1) or the rifle list (dataset 2).
class CostList {
 public:
  explicit CostList(int which)
      : m_which(which), m_pistol("repDBDataset1", Fields()), m_rifle("repDBDataset2", Fields()) {
    m_scope.dataSets = {&m_pistol, &m_rifle};
    const std::string ds = "repDBDataset" + std::to_string(which);
    const std::pair<const char*, const char*> variables[] = {
        {"costoPalla", "<repDBDataset1.\"CoPalle\">/<repDBDataset1.\"Palle\">"},
        {"costoInnesco", "<repDBDataset1.\"CoInn\">/<repDBDataset1.\"Inneschi\">"},
        {"costoPolvere", "<costoGrano>*<repDBDataset1.\"Polvere\">"},
        {"costoBossolo", "<repDBDataset1.\"CoBoss\">/<repDBDataset1.\"Bossoli\">"},
        {"Totale", "<costoPalla>+<costoInnesco>+<costoPolvere>+<costoBossolo>"},
        {"costoGrano", "<repDBDataset1.\"CoPol\">/15432"},
    };
    m_scope.variables.Add(" Spese", Value::Null());
    for (const auto& [name, text] : variables) {
      m_scope.variables.Add(name, Value(Replaced(text, "repDBDataset1", ds)));
    }

    MemoData type;
    if (which == 1) {
      type.dataSet = &m_pistol;
      type.dataField = "tipologia";
    } else {
      type.dataSet = &m_pistol;  // as stored: the pistol dataset, no field
      type.text = "[repDBDataset2.\"tipologia\"]";
    }
    m_band.push_back({"Memo2", type});
    const DisplayFormat money{FormatKind::fkNumeric, "%2.2m", ","};
    for (const char* name : {"costoPalla", "costoInnesco", "costoPolvere", "costoBossolo", "Totale"}) {
      MemoData memo;
      memo.text = "[" + std::string(name) + "]";
      memo.displayFormat = money;
      m_band.push_back({name, memo});
    }
    MemoData box;
    box.text = "[<Totale>*50]";
    box.displayFormat = money;
    m_band.push_back({"Memo12", box});
  }

  FakeScope& Scope() { return m_scope; }
  Evaluator& GetEvaluator() { return m_evaluator; }
  FakeDataSet& Table() { return m_which == 1 ? m_pistol : m_rifle; }

  void SetRows(const std::vector<Row>& rows) {
    FakeDataSet& table = Table();
    for (const Row& r : rows) {
      table.AddRow({Value("tipo " + std::to_string(table.RowCount() + 1)), Field(r.coPalle),
                    Field(r.palle), Field(r.coInn), Field(r.inneschi), Field(r.coPol),
                    Field(r.polvere), Field(r.coBoss), Field(r.bossoli)});
    }
  }

  // Builds the data band for every row: the texts of each printed row; stops
  // at the first error as the build does, recording it once more.
  std::vector<std::vector<std::string>> Build() {
    m_scope.errors.Clear();
    m_evaluator.BeginBuild();
    std::vector<std::vector<std::string>> printed;
    for (std::size_t row = 0; row < Table().RowCount(); ++row) {
      Table().SetRow(row);
      std::vector<std::string> texts;
      for (const NamedMemo& view : m_band) {
        MemoData memo = view.memo;  // every row starts from the template
        m_scope.currentObject = view.name;
        try {
          ExpandMemoText(memo, m_evaluator);
        } catch (const Error& e) {
          m_scope.errors.Add(e.what());
          return printed;
        }
        texts.push_back(memo.text);
      }
      printed.push_back(texts);
    }
    return printed;
  }

 private:
  static std::vector<FakeDataSet::Field> Fields() {
    std::vector<FakeDataSet::Field> fields{{"tipologia", FieldType::fftString}};
    for (const char* name :
         {"CoPalle", "Palle", "CoInn", "Inneschi", "CoPol", "Polvere", "CoBoss", "Bossoli"}) {
      fields.push_back({name, FieldType::fftNumeric});
    }
    return fields;
  }

  int m_which;
  FakeDataSet m_pistol;
  FakeDataSet m_rifle;
  FakeScope m_scope;
  Evaluator m_evaluator{m_scope};
  std::vector<NamedMemo> m_band;
};

const std::vector<Row> kRows = {
    {25, 100, 30, 1000, 154.32, 10, 0.5, 10},  // 0.25 0.03 0.10 0.05 = 0.43, box 21.50
    {2469, 2, 0, 1, 0, 0, 0, 1},               // 1234.50 alone, box 61,725.00
    {12.345, 100, 0, 1, 0, 0, 0, 1},           // 0.12345: 0.12, but the box 6.1725 -> 6.17
};

TEST(CostList, EveryAmountInBothRegions) {
  for (const int which : {1, 2}) {
    CostList list(which);
    list.SetRows(kRows);
    const auto italian = list.Build();
    ASSERT_TRUE(list.Scope().errors.Empty()) << list.Scope().errors.Joined();
    const std::vector<std::vector<std::string>> expected = {
        {"tipo 1", "0,25 €", "0,03 €", "0,10 €", "0,05 €", "0,43 €", "21,50 €"},
        {"tipo 2", "1.234,50 €", "0,00 €", "0,00 €", "0,00 €", "1.234,50 €", "61.725,00 €"},
        {"tipo 3", "0,12 €", "0,00 €", "0,00 €", "0,00 €", "0,12 €", "6,17 €"},
    };
    EXPECT_EQ(italian, expected) << "dataset " << which;

    list.Scope().settings = English();
    const auto english = list.Build();
    EXPECT_EQ(english[0], (std::vector<std::string>{"tipo 1", "$0,25", "$0,03", "$0,10", "$0,05",
                                                    "$0,43", "$21,50"}));
    EXPECT_EQ(english[1][6], "$61,725,00");
  }
}

TEST(CostList, ExpressionsAreCompiledOncePerBuild) {
  CostList list(1);
  list.SetRows(kRows);
  list.Build();
  const ExpressionCache& cache = list.GetEvaluator().Cache();
  // Six variables' texts and "<Totale>*50"; the bare names are never compiled.
  EXPECT_EQ(cache.Size(), 7u);
  EXPECT_EQ(cache.FunctionNameOf("costoPalla"), "");
  EXPECT_NE(cache.FunctionNameOf("<Totale>*50"), "");
  list.Build();
  EXPECT_EQ(cache.Size(), 7u);
}

struct FailingRow {
  const char* name;
  Row row;
  const char* error;
};

TEST(CostList, ADivisionByZeroStopsTheBuildAtItsRow) {
  const FailingRow cases[] = {
      {"Palle zero", {25, 0, 30, 1000, 154.32, 10, 0.5, 10},
       "costoPalla: Floating point division by zero"},
      {"Palle null counts as zero", {25, std::nullopt, 30, 1000, 154.32, 10, 0.5, 10},
       "costoPalla: Floating point division by zero"},
      {"zero divided by zero", {0, 0, 30, 1000, 154.32, 10, 0.5, 10},
       "costoPalla: Invalid floating point operation"},
      {"Bossoli zero", {25, 100, 30, 1000, 154.32, 10, 0.5, 0},
       "costoBossolo: Floating point division by zero"},
  };
  for (const auto& c : cases) {
    CostList list(1);
    list.SetRows({kRows[0], c.row, kRows[1]});
    const auto printed = list.Build();
    EXPECT_EQ(printed.size(), 1u) << c.name;  // the rows before stay printed
    EXPECT_EQ(list.Scope().errors.Joined(), c.error) << c.name;
  }
}

TEST(CostList, EachEnclosingExpressionAddsItsOwnPrefix) {
  CostList list(1);
  list.SetRows({{25, 0, 30, 1000, 154.32, 10, 0.5, 10}});
  FakeScope& scope = list.Scope();
  list.GetEvaluator().BeginBuild();
  scope.currentObject = "Memo12";
  MemoData box;
  box.text = "[<Totale>*50]";
  EXPECT_THROW(ExpandMemoText(box, list.GetEvaluator()), Error);
  EXPECT_EQ(scope.errors.Texts(),
            (std::vector<std::string>{"Memo12: Floating point division by zero",
                                      "Memo12: Memo12: Floating point division by zero",
                                      "Memo12: Memo12: Memo12: Floating point division by zero"}));
}

TEST(CostList, PageNumbersInTheFooter) {
  CostList list(1);
  list.GetEvaluator().BeginBuild();
  for (int page = 1; page <= 3; ++page) {
    list.Scope().system[SystemVariable::PageNo] = Value(page);
    MemoData footer;
    footer.text = "[Page#]";
    ExpandMemoText(footer, list.GetEvaluator());
    EXPECT_EQ(footer.text, std::to_string(page));
  }
}

}  // namespace
}  // namespace report::expr
