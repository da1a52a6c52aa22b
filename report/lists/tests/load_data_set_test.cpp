// The cost lists' rows through the load tables: the walk a build makes, what
// the window sees of it, and the template's variables evaluated over real
// table rows (nulls and zero pack sizes included).
#include "report/lists/load_data_set.h"

#include <QSignalSpy>

#include <fstream>

#include <gtest/gtest.h>

#include "fake_scope.h"
#include "load_fixtures.h"
#include "loads/data_source.h"
#include "report/expr/error.h"
#include "report/expr/evaluator.h"
#include "report/expr/display_format.h"

namespace report::lists {
namespace {

using testing::Load;
using testing::TableWith;

std::string TestName() {
  return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

TEST(LoadDataSetTest, WalkOpensTheTableAndEndsOnTheLastRowWithEofSet) {
  auto table = TableWith(TestName(), testing::NumberedLoads(3));
  loads::DataSource source(table.get());
  LoadDataSet rows(QStringLiteral("repDBDataset1"), &source);
  rows.Initialize();
  QSignalSpy moved(&source, &loads::DataSource::DataChanged);

  rows.First();
  EXPECT_TRUE(table->Active());
  std::vector<std::string> seen;
  while (!rows.Eof()) {
    seen.push_back(*rows.FieldDisplayText("tipologia"));
    rows.Next();
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Carica 1", "Carica 2", "Carica 3"}));
  EXPECT_EQ(rows.RecNo(), 3);  // one more Next than rows: the one that found the end
  // Left open, on the last row, at the end: what the window's controls then show.
  EXPECT_TRUE(table->Active());
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_GT(moved.count(), 0);
}

TEST(LoadDataSetTest, EmptyTableIsAtItsEndAtOnce) {
  auto table = TableWith(TestName(), {});
  loads::DataSource source(table.get());
  LoadDataSet rows(QStringLiteral("repDBDataset1"), &source);
  rows.Initialize();
  rows.First();
  EXPECT_TRUE(rows.Eof());
  EXPECT_TRUE(rows.FieldValue("Palle")->IsNull());
  EXPECT_EQ(rows.FieldDisplayText("tipologia"), std::string());
}

TEST(LoadDataSetTest, FieldsByNameWithoutRegardToCase) {
  auto table = TableWith(TestName(), {{"9x21", 16.5, 100}});
  loads::DataSource source(table.get());
  LoadDataSet rows(QStringLiteral("repDBDataset1"), &source);
  rows.Initialize();
  rows.First();

  EXPECT_EQ(rows.FieldKind("TIPOLOGIA"), expr::FieldType::fftString);
  EXPECT_EQ(rows.FieldKind("palle"), expr::FieldType::fftNumeric);
  EXPECT_EQ(rows.FieldKind("CoPalle"), expr::FieldType::fftNumeric);
  EXPECT_EQ(rows.FieldValue("CoPalle")->Kind(), expr::ValueKind::Real);
  EXPECT_EQ(rows.FieldValue("PALLE")->Kind(), expr::ValueKind::Integer);
  EXPECT_EQ(rows.FieldDisplayText("Tipologia"), std::string("9x21"));
  EXPECT_FALSE(rows.FieldValue("Calibro"));
  EXPECT_FALSE(rows.FieldDisplayText("Calibro"));
  EXPECT_FALSE(rows.IsBlobField("tipologia"));
  const auto names = rows.FieldNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "Bossoli"), names.end());
}

TEST(LoadDataSetTest, WithoutDataSourceTheBuildIsToldSo) {
  LoadDataSet rows(QStringLiteral("repDBDataset2"), nullptr);
  try {
    rows.Initialize();
    FAIL() << "no error";
  } catch (const expr::Error& error) {
    EXPECT_STREQ(error.what(), "DataSet repDBDataset2 is not connected to data");
  }
}

TEST(LoadDataSetTest, TableThatCannotBeOpenedGivesItsOwnMessage) {
  const std::filesystem::path dir = testing_support::FreshDir(TestName());
  const std::filesystem::path file = dir / "not_a_database.sqlite";
  {
    std::ofstream out(file);
    out << "this is not a load database";
  }
  loads::LoadTable table(QString::fromStdString(file.string()), loads::SampleSet::None);
  loads::DataSource source(&table);
  LoadDataSet rows(QStringLiteral("repDBDataset1"), &source);
  rows.Initialize();
  try {
    rows.First();
    FAIL() << "no error";
  } catch (const expr::Error& error) {
    EXPECT_EQ(error.what(), table.Open().Message().toStdString());
    EXPECT_FALSE(std::string(error.what()).empty());
  }
  EXPECT_FALSE(table.Active());
}

TEST(LoadDataSetTest, AnEditStillOpenIsPostedBeforeTheWalk) {
  auto table = TableWith(TestName(), testing::NumberedLoads(2));
  ASSERT_TRUE(table->Open().ok());
  ASSERT_TRUE(table->MoveTo(1).ok());
  ASSERT_TRUE(table->Edit().ok());
  ASSERT_TRUE(table->SetFieldText(u"tipologia", QStringLiteral("Cambiata")).ok());
  loads::DataSource source(table.get());
  LoadDataSet rows(QStringLiteral("repDBDataset1"), &source);
  rows.Initialize();
  rows.First();
  rows.Next();
  EXPECT_EQ(rows.FieldDisplayText("tipologia"), std::string("Cambiata"));
  EXPECT_FALSE(table->Editing());
}

// The template's variables, as the band engine evaluates them for one memo.
class CostVariablesTest : public ::testing::Test {
 protected:
  void Use(std::vector<Load> loads) {
    table = TableWith(TestName(), loads);
    source = std::make_unique<loads::DataSource>(table.get());
    rows = std::make_unique<LoadDataSet>(QStringLiteral("repDBDataset1"), source.get());
    rows->Initialize();
    scope = std::make_unique<expr::testing::FakeScope>();
    scope->dataSets = {rows.get()};
    scope->variables.Add(" Spese", expr::Value::Null());
    const std::pair<const char*, const char*> variables[] = {
        {"costoPalla", R"(<repDBDataset1."CoPalle">/<repDBDataset1."Palle">)"},
        {"costoInnesco", R"(<repDBDataset1."CoInn">/<repDBDataset1."Inneschi">)"},
        {"costoPolvere", R"(<costoGrano>*<repDBDataset1."Polvere">)"},
        {"costoBossolo", R"(<repDBDataset1."CoBoss">/<repDBDataset1."Bossoli">)"},
        {"Totale", "<costoPalla>+<costoInnesco>+<costoPolvere>+<costoBossolo>"},
        {"costoGrano", R"(<repDBDataset1."CoPol">/15432)"},
    };
    for (const auto& [name, text] : variables) scope->variables.Add(name, expr::Value(text));
    rows->First();
  }

  // The value a memo of that name shows, or the text of the error it raised.
  std::string Memo(const std::string& name) {
    scope->currentObject = name;
    expr::Evaluator evaluator(*scope);
    evaluator.BeginBuild();
    try {
      const expr::DisplayFormat money{expr::FormatKind::fkNumeric, "%2.2m", ","};
      return expr::FormatValue(evaluator.Calc(name), money, scope->settings);
    } catch (const expr::Error& error) {
      return error.what();
    }
  }

  std::unique_ptr<loads::LoadTable> table;
  std::unique_ptr<loads::DataSource> source;
  std::unique_ptr<LoadDataSet> rows;
  std::unique_ptr<expr::testing::FakeScope> scope;
};

TEST_F(CostVariablesTest, PowderCostFromTheTableRow) {
  Use({{"a", 10, 100, 5, 100, 154.32, 10, 0.5, 10}});
  EXPECT_EQ(Memo("costoPolvere"), "0,10 €");
  EXPECT_EQ(Memo("costoPalla"), "0,10 €");
  EXPECT_EQ(Memo("Totale"), "0,30 €");
}

TEST_F(CostVariablesTest, ZeroOrEmptyPackSizeStopsWithTheVariablesName) {
  struct Case {
    const char* what;
    Load load;
    const char* memo;
  } const cases[] = {
      {"zero bullets", {"a", 10, 0}, "costoPalla"},
      {"no bullet count", {"a", 10, std::nullopt}, "costoPalla"},
      {"zero primers", {"a", 10, 100, 5, 0}, "costoInnesco"},
      {"zero case uses", {"a", 10, 100, 5, 100, 100, 5, 0.5, 0}, "costoBossolo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Use({c.load});
    EXPECT_EQ(Memo(c.memo), std::string(c.memo) + ": Floating point division by zero");
  }
}

}  // namespace
}  // namespace report::lists
