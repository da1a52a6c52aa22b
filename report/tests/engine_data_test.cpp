// The engine over data: the cost list over rows and over a load table,
// dataset errors, evaluation errors, cancelling and the aggregates.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

#include <set>

#include "engine_fixtures.h"
#include "loads/data_source.h"
#include "loads/load_table.h"
#include "report/engine/db_dataset.h"
#include "report/engine/rows_dataset.h"

namespace report {
namespace {

using expr::FieldType;
using expr::Value;
using testing::Built;
using testing::CountOf;
using testing::Objects;

std::vector<RowsDataSet::Field> CostFields() {
  return {{"tipologia", FieldType::fftString}, {"CoPalle"}, {"Palle"}, {"CoInn"}, {"Inneschi"},
          {"CoPol"}, {"Polvere"}, {"CoBoss"}, {"Bossoli"}};
}

void AddCostRow(RowsDataSet& rows, const std::string& type, double palle = 100) {
  rows.AddRow({Value(type), Value(25.0), Value(palle), Value(30.0), Value(1000.0), Value(154.32),
               Value(10.0), Value(0.5), Value(5.0)});
}

Built CostList() {
  Built b;
  TemplateError error;
  EXPECT_TRUE(LoadTemplate(*b.report, testing::TestData(QStringLiteral("cost_list.xml")), &error))
      << error.Text().toStdString();
  return b;
}

// The texts of the memos of page i, by memo name, in order.
std::vector<QString> TextsOf(const PreparedPages& pages, int i, const QString& name) {
  std::vector<QString> texts;
  for (const auto& object : pages.PageObjects(i)) {
    if (object->Name() == name && object->Type() == ObjectType::MemoView) {
      texts.push_back(static_cast<MemoView&>(*object).Text());
    }
  }
  return texts;
}

TEST(EngineData, CostListOverRows) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"), CostFields());
  for (int i = 0; i < 40; ++i) AddCostRow(rows, "9x21 n." + std::to_string(i + 1));
  Built b = CostList();
  ASSERT_TRUE(b.Build()) << b.Errors();
  ASSERT_EQ(b.pages->Count(), 2);
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Memo2")).front(), QStringLiteral("9x21 n.1"));
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("costoPalla")).front(), QStringLiteral("0,25 €"));
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("costoPolvere")).front(), QStringLiteral("0,10 €"));
  // 0.25 + 0.03 + 0.1 + 0.1 = 0.48 a cartridge, 24 a box.
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Totale")).front(), QStringLiteral("0,48 €"));
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Memo12")).front(), QStringLiteral("24,00 €"));
  EXPECT_EQ(TextsOf(*b.pages, 1, QStringLiteral("Memo1")), std::vector<QString>{QStringLiteral("2")});
  EXPECT_EQ(TextsOf(*b.pages, 1, QStringLiteral("Memo2")).back(), QStringLiteral("9x21 n.40"));
  // The dataset is left open on its last row.
  EXPECT_TRUE(rows.IsOpen());
  EXPECT_EQ(rows.CurrentRow(), 39);
}

TEST(EngineData, RepeatedTextsAreKeptOnce) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"), CostFields());
  for (int i = 0; i < 2000; ++i) AddCostRow(rows, "uguale");
  Built b = CostList();
  ASSERT_TRUE(b.Build()) << b.Errors();
  // A few distinct amounts, the type and the page numbers; not one per row.
  std::set<QString> distinct;
  for (int p = 0; p < b.pages->Count(); ++p) {
    for (const ObjectRecord& r : b.pages->Records(p)) {
      if (r.text >= 0) distinct.insert(b.pages->Text(r.text));
    }
  }
  EXPECT_LT(distinct.size(), std::size_t(b.pages->Count() + 10));
  // Static header texts are not stored at all: the source page has them.
  for (const ObjectRecord& r : b.pages->Records(1)) {
    if (b.pages->Alias(r.alias).object->Name() == QLatin1String("Memo4")) {
      EXPECT_EQ(r.text, -1);
    }
  }
}

TEST(EngineData, PagesAreAnnouncedAsTheyAreFinished) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"), CostFields());
  for (int i = 0; i < 100; ++i) AddCostRow(rows, "x");
  Built b = CostList();
  QSignalSpy started(b.pages.get(), &PreparedPages::BuildStarted);
  QSignalSpy added(b.pages.get(), &PreparedPages::PageAdded);
  QSignalSpy finished(b.pages.get(), &PreparedPages::PageFinished);
  QSignalSpy ended(b.pages.get(), &PreparedPages::BuildFinished);
  ASSERT_TRUE(b.Build()) << b.Errors();
  EXPECT_EQ(started.count(), 1);
  EXPECT_EQ(ended.count(), 1);
  ASSERT_EQ(finished.count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(added.at(i).at(0).toInt(), i);
    EXPECT_EQ(finished.at(i).at(0).toInt(), i);
  }
}

TEST(EngineData, CancellingKeepsThePagesMadeSoFar) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"), CostFields());
  for (int i = 0; i < 1000; ++i) AddCostRow(rows, "x");
  Built b = CostList();
  QObject::connect(b.pages.get(), &PreparedPages::PageFinished, [&](int index) {
    if (index == 1) b.report->SetTerminated(true);
  });
  EXPECT_TRUE(b.Build()) << b.Errors();
  EXPECT_EQ(b.pages->Count(), 3);  // the page begun when the cancel came is ended too
}

TEST(EngineData, DivisionByZeroStopsAtThatRow) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"), CostFields());
  for (int i = 0; i < 50; ++i) AddCostRow(rows, "x", i == 45 ? 0 : 100);
  Built b = CostList();
  EXPECT_FALSE(b.Build());
  EXPECT_TRUE(b.report->ErrorList().Contains("costoPalla: Floating point division by zero")) << b.Errors();
  ASSERT_EQ(b.pages->Count(), 2);
  EXPECT_EQ(CountOf(Objects(*b.pages, 1), QStringLiteral("MasterData1")), 8);
}

TEST(EngineData, MissingDatasetIsReportedAndNothingIsBuilt) {
  Built b = CostList();
  EXPECT_FALSE(b.Build());
  EXPECT_EQ(b.Errors(), "Dataset \"repDBDataset1\" does not exist");
  EXPECT_EQ(b.pages->Count(), 0);
}

TEST(EngineData, MissingFieldIsRecordedAndTheBuildGoesOn) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"), {{"tipologia", FieldType::fftString}});
  rows.AddRow({Value("a")});
  Built b = testing::Load(QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport><DataSets><item DataSetName="repDBDataset1"/></DataSets>
 <TRepReportPage Name="Page1">
  <TRepMasterData Name="MasterData1" Width="700" Height="20" DataSetName="repDBDataset1">
   <TRepMemoView Name="Memo1" Width="100" Height="18" Text="[repDBDataset1.&quot;Prezzo&quot;]|[&lt;nessuno&gt;]"/>
  </TRepMasterData>
 </TRepReportPage></TRepReport>)"));
  EXPECT_FALSE(b.Build());
  EXPECT_TRUE(b.report->ErrorList().Contains("Memo1: Field not found: repDBDataset1.\"Prezzo\"")) << b.Errors();
  EXPECT_TRUE(b.report->ErrorList().Contains("Unknown variable or datafield: nessuno")) << b.Errors();
  EXPECT_EQ(b.pages->Count(), 1);
}

TEST(EngineData, AggregatesOverTheRowsOfADataBand) {
  RowsDataSet rows(QStringLiteral("ds"), {{"n"}, {"t", FieldType::fftString}});
  for (const int n : {4, 1, 7, 3}) rows.AddRow({Value(double(n)), Value("r")});
  rows.AddRow({Value::Null(), Value("vuoto")});
  Built b = testing::Load(QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport><DataSets><item DataSetName="ds"/></DataSets>
 <Variables><item Name="Doppio" Value="&lt;ds.&quot;n&quot;&gt;*2"/></Variables>
 <TRepReportPage Name="Page1">
  <TRepMasterData Name="MasterData1" Width="700" Height="20" DataSetName="ds">
   <TRepMemoView Name="Running" Width="100" Height="18" Text="[SUM(&lt;ds.&quot;n&quot;&gt;)]"/>
  </TRepMasterData>
  <TRepFooter Name="Footer1" Top="40" Width="700" Height="20">
   <TRepMemoView Name="Totals" Width="600" Height="18"
    Text="[SUM(&lt;ds.&quot;n&quot;&gt;)] [AVG(&lt;ds.&quot;n&quot;&gt;)] [MIN(&lt;ds.&quot;n&quot;&gt;)] [MAX(&lt;ds.&quot;n&quot;&gt;)] [COUNT()] [SUM(&lt;Doppio&gt;, MasterData1)]"/>
  </TRepFooter>
 </TRepReportPage></TRepReport>)"));
  b.report->SetConvertNulls(false);
  ASSERT_TRUE(b.Build()) << b.Errors();
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Totals")),
            std::vector<QString>{QStringLiteral("15 3,75 1 7 5 30")});
  const std::vector<QString> running = {"4", "5", "12", "15", "15"};
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Running")), running);
}

TEST(EngineData, CostListOverALoadTable) {
  QTemporaryDir dir;
  loads::LoadTable table(dir.filePath(QStringLiteral("Versanto.sqlite")), loads::SampleSet::None);
  ASSERT_TRUE(table.Open().ok());
  std::vector<std::vector<QVariant>> records;
  for (int i = 0; i < 45; ++i) {
    std::vector<QVariant> r(table.Fields().size());
    auto set = [&](const char* name, QVariant v) { r[std::size_t(table.FieldIndex(QString::fromLatin1(name)))] = v; };
    set("tipologia", QStringLiteral("Carico %1").arg(i + 1));
    set("CoPalle", 25.0);
    set("Palle", 100);
    set("CoInn", 30.0);
    set("Inneschi", 1000);
    set("CoPol", 154.32);
    set("Polvere", 10.0);
    set("CoBoss", 0.5);
    set("Bossoli", 5);
    records.push_back(r);
  }
  ASSERT_TRUE(table.AppendRecords(records).ok());
  table.Close();

  loads::DataSource source(&table);
  DBDataset data(QStringLiteral("repDBDataset1"));
  data.SetDataSource(&source);
  Built b = CostList();
  ASSERT_TRUE(b.Build()) << b.Errors();
  ASSERT_EQ(b.pages->Count(), 2);
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Memo2")).front(), QStringLiteral("Carico 1"));
  EXPECT_EQ(TextsOf(*b.pages, 1, QStringLiteral("Memo2")).back(), QStringLiteral("Carico 45"));
  EXPECT_EQ(TextsOf(*b.pages, 0, QStringLiteral("Memo12")).front(), QStringLiteral("24,00 €"));
  // Opened by the report and left open on the last record, at its end.
  EXPECT_TRUE(table.Active());
  EXPECT_EQ(table.RecNo(), 44);
  EXPECT_TRUE(table.Eof());
}

TEST(EngineData, DatasetWithoutATable) {
  DBDataset data(QStringLiteral("repDBDataset1"));
  Built b = CostList();
  EXPECT_FALSE(b.Build());
  EXPECT_EQ(b.Errors(), "DataSet repDBDataset1 is not connected to data");
}

}  // namespace
}  // namespace report
