// The two cost lists built by the band engine over load tables: pages,
// rows and their texts in it_IT, what appears on the first page only and on
// every page, the zero-pack-size stop with the pages before it, the empty
// table, and where the tables are left.
#include <QLocale>

#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "load_fixtures.h"
#include "loads/data_source.h"
#include "report/engine/db_dataset.h"
#include "report/engine/engine.h"
#include "report/lists/cost_list_templates.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/model/units.h"
#include "report/store/prepared_pages.h"
#include "testing/test_support.h"

namespace report::lists {
namespace {

using testing::Load;
using testing::NumberedLoads;
using testing::TableWith;

// Money as Qt's Italian locale writes it: the amount, a no-break space, the euro sign.
QString Euro(const char* amount) {
  return QString::fromLatin1(amount) + QChar(0x00A0) + QChar(0x20AC);
}

std::string TestName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

// What one output page shows: each memo's text and each picture, by view name
// (a data band's memos once per row, in order), with their tops in mm.
struct PageView {
  std::multimap<QString, QString> texts;
  std::vector<QString> typeColumn;  // Memo2, row by row
  std::vector<double> rowTopsMm;    // of the data band
  std::vector<QString> pictures;
  double footerTopMm = -1;  // of the page number
  bool Has(const char* name) const { return texts.count(QString::fromLatin1(name)) > 0; }
  QString Text(const char* name) const {
    const auto found = texts.find(QString::fromLatin1(name));
    return found == texts.end() ? QStringLiteral("<none>") : found->second;
  }
  std::vector<QString> All(const char* name) const {
    std::vector<QString> all;
    const auto [from, to] = texts.equal_range(QString::fromLatin1(name));
    for (auto it = from; it != to; ++it) all.push_back(it->second);
    return all;
  }
};

// Both tables of the window, as the program has them: the list built reads
// its own, the other one is there to show it is not read.
class CostListBuild {
 public:
  CostListBuild(CostList list, const std::vector<Load>& rows, const std::string& name)
      : m_list(list),
        m_own(TableWith(name + "_own", rows)),
        m_other(TableWith(name + "_other", {{"Altra tabella"}})),
        m_ownSource(m_own.get()),
        m_otherSource(m_other.get()),
        m_pistol(QStringLiteral("repDBDataset1")),
        m_rifle(QStringLiteral("repDBDataset2")) {
    m_pistol.SetDataSource(list == CostList::Pistol ? &m_ownSource : &m_otherSource);
    m_rifle.SetDataSource(list == CostList::Rifle ? &m_ownSource : &m_otherSource);
    TemplateError error;
    EXPECT_TRUE(LoadTemplate(m_report, TemplateFile(list), &error)) << error.Text().toStdString();
    m_report.BindDataSet(list == CostList::Pistol ? QStringLiteral("repDBDataset1")
                                                  : QStringLiteral("repDBDataset2"),
                         list == CostList::Pistol ? &m_pistol : &m_rifle);
  }

  bool Build() {
    Engine engine(m_report, m_pages);
    const bool ok = engine.BuildReport(true);
    m_errors = m_report.ErrorList().Texts();
    return ok;
  }

  loads::LoadTable& Own() { return *m_own; }
  loads::LoadTable& Other() { return *m_other; }
  PreparedPages& Pages() { return m_pages; }
  const std::vector<std::string>& Errors() const { return m_errors; }

  PageView View(int i) const {
    PageView view;
    for (const auto& object : m_pages.PageObjects(i)) {
      if (const auto* memo = dynamic_cast<const MemoView*>(object.get())) {
        view.texts.emplace(memo->Name(), memo->Text());
        if (memo->Name() == QLatin1String("Memo2")) {
          view.typeColumn.push_back(memo->Text());
          view.rowTopsMm.push_back(UnitsToMm(memo->Top()));
        }
        if (memo->Name() == QLatin1String("Memo1")) view.footerTopMm = UnitsToMm(memo->Top());
      } else if (object->Type() == ObjectType::PictureView) {
        view.pictures.push_back(object->Name());
      }
    }
    return view;
  }

 private:
  CostList m_list;
  std::unique_ptr<loads::LoadTable> m_own;
  std::unique_ptr<loads::LoadTable> m_other;
  loads::DataSource m_ownSource;
  loads::DataSource m_otherSource;
  DBDataset m_pistol;
  DBDataset m_rifle;
  Report m_report;
  PreparedPages m_pages;
  std::vector<std::string> m_errors;
};

class CostListBuildTest : public ::testing::TestWithParam<CostList> {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy)); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(CostListBuildTest, RowsAndAmountsInItalian) {
  // Powder 154.32 €/kg at 10 grains is 0.10 € a cartridge; this row's
  // cartridge costs 0.10 + 0.05 + 0.10 + 0.036 = 0.286 € (shown 0,29 €) and
  // its box 14.30 €, not 50 times 0,29 €: each column is rounded on its own.
  CostListBuild list(GetParam(),
                     {{"9x21 IMI", 10, 100, 5, 100, 154.32, 10, 0.36, 10},
                      {"Secondo", 12, 100, 5, 100, 100, 5, 0.5, 10}},
                     TestName());
  ASSERT_TRUE(list.Build()) << ::testing::PrintToString(list.Errors());
  ASSERT_EQ(list.Pages().Count(), 1);
  const PageView page = list.View(0);
  EXPECT_EQ(page.typeColumn, (std::vector<QString>{"9x21 IMI", "Secondo"}));
  EXPECT_EQ(page.All("costoPalla"), (std::vector<QString>{Euro("0,10"), Euro("0,12")}));
  EXPECT_EQ(page.All("costoInnesco"), (std::vector<QString>{Euro("0,05"), Euro("0,05")}));
  EXPECT_EQ(page.All("costoPolvere"), (std::vector<QString>{Euro("0,10"), Euro("0,03")}));
  EXPECT_EQ(page.All("costoBossolo"), (std::vector<QString>{Euro("0,04"), Euro("0,05")}));
  EXPECT_EQ(page.All("Totale"), (std::vector<QString>{Euro("0,29"), Euro("0,25")}));
  EXPECT_EQ(page.All("Memo12"), (std::vector<QString>{Euro("14,30"), Euro("12,62")}));
  // Under the title, the headings and the empty header line, 6 mm apart.
  ASSERT_EQ(page.rowTopsMm.size(), 2u);
  EXPECT_NEAR(page.rowTopsMm[0], 18, 1e-3);
  EXPECT_NEAR(page.rowTopsMm[1], 24, 1e-3);
}

TEST_P(CostListBuildTest, FirstPageOnlyAndEveryPage) {
  struct Case {
    int rows;
    std::vector<int> rowsPerPage;
  } const cases[] = {
      {1, {1}}, {37, {37}}, {38, {37, 1}}, {76, {37, 39}}, {77, {37, 39, 1}}, {120, {37, 39, 39, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    CostListBuild list(GetParam(), NumberedLoads(c.rows), TestName() + std::to_string(c.rows));
    ASSERT_TRUE(list.Build()) << ::testing::PrintToString(list.Errors());
    ASSERT_EQ(list.Pages().Count(), static_cast<int>(c.rowsPerPage.size()));
    int next = 1;
    for (int i = 0; i < list.Pages().Count(); ++i) {
      SCOPED_TRACE(i);
      const PageView page = list.View(i);
      ASSERT_EQ(page.typeColumn.size(), static_cast<std::size_t>(c.rowsPerPage[std::size_t(i)]));
      for (const QString& type : page.typeColumn) {
        EXPECT_EQ(type, QStringLiteral("Carica %1").arg(next++));
      }
      const bool first = i == 0;
      EXPECT_EQ(page.Has("Memo3"), first) << "title";
      EXPECT_EQ(page.Has("Memo8"), first) << "header of the data band";
      EXPECT_EQ(std::count(page.pictures.begin(), page.pictures.end(), QStringLiteral("Picture2")),
                first ? 1 : 0)
          << "icon";
      EXPECT_EQ(page.Text("Memo4"), QStringLiteral("Tipologia"));
      EXPECT_EQ(page.Text("Memo7"), QStringLiteral("Scatola"));
      EXPECT_EQ(page.Text("Memo1"), QString::number(i + 1)) << "page number";
      // At the bottom of every page, the last one too: 277 mm less 35 mm.
      EXPECT_NEAR(page.footerTopMm, 242, 1e-3);
      EXPECT_EQ(std::count(page.pictures.begin(), page.pictures.end(), QStringLiteral("Picture1")), 1)
          << "footer photograph";
      // Later pages start their rows right under the headings.
      EXPECT_NEAR(page.rowTopsMm.front(), first ? 18 : 6, 1e-3);
    }
  }
}

TEST_P(CostListBuildTest, EmptyTablePrintsOnePageWithoutRows) {
  CostListBuild list(GetParam(), {}, TestName());
  ASSERT_TRUE(list.Build()) << ::testing::PrintToString(list.Errors());
  ASSERT_EQ(list.Pages().Count(), 1);
  const PageView page = list.View(0);
  EXPECT_EQ(page.Text("Memo3"), QStringLiteral("Costi"));
  EXPECT_EQ(page.Text("Memo4"), QStringLiteral("Tipologia"));
  EXPECT_EQ(page.Text("Memo1"), QStringLiteral("1"));
  EXPECT_TRUE(page.typeColumn.empty());
  EXPECT_FALSE(page.Has("Memo8")) << "a data band without rows prints no header";
  EXPECT_EQ(page.pictures.size(), 2u);
}

TEST_P(CostListBuildTest, ZeroPackSizeStopsTheBuildAndKeepsThePagesBefore) {
  // An empty count is a null in the file and counts as zero.
  struct Case {
    const char* what;
    std::optional<double> Load::*count;
    std::optional<double> value;
    const char* error;
  } const cases[] = {
      {"no bullets", &Load::palle, 0, "costoPalla: Floating point division by zero"},
      {"empty bullet count", &Load::palle, std::nullopt, "costoPalla: Floating point division by zero"},
      {"no primers", &Load::inneschi, 0, "costoInnesco: Floating point division by zero"},
      {"case never reused", &Load::bossoli, 0, "costoBossolo: Floating point division by zero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Load> rows = NumberedLoads(50);
    rows[44].*c.count = c.value;  // on page 2
    CostListBuild list(GetParam(), rows, TestName() + c.what);
    EXPECT_FALSE(list.Build());
    EXPECT_NE(std::find(list.Errors().begin(), list.Errors().end(), c.error), list.Errors().end())
        << ::testing::PrintToString(list.Errors());
    ASSERT_GE(list.Pages().Count(), 1);
    EXPECT_EQ(list.View(0).typeColumn.size(), 37u);
    for (int i = 0; i < list.Pages().Count(); ++i) {
      for (const QString& type : list.View(i).typeColumn) {
        EXPECT_NE(type, QStringLiteral("Carica 46")) << "no row after the failing one";
      }
    }
  }
}

TEST_P(CostListBuildTest, TableLeftOpenOnItsLastRowAndTheOtherUntouched) {
  CostListBuild list(GetParam(), NumberedLoads(5), TestName());
  ASSERT_TRUE(list.Other().Open().ok());
  const int otherRow = list.Other().RecNo();
  ASSERT_FALSE(list.Own().Active());
  ASSERT_TRUE(list.Build());
  EXPECT_TRUE(list.Own().Active());
  EXPECT_EQ(list.Own().RecNo(), 4);
  EXPECT_TRUE(list.Own().Eof());
  EXPECT_EQ(list.Other().RecNo(), otherRow);
  EXPECT_FALSE(list.Other().Eof());
}

TEST_P(CostListBuildTest, SecondBuildShowsTheTableAsItIsNow) {
  CostListBuild list(GetParam(), NumberedLoads(2), TestName());
  ASSERT_TRUE(list.Build());
  ASSERT_TRUE(list.Own().Last().ok());
  ASSERT_TRUE(list.Own().Delete().ok());
  ASSERT_TRUE(list.Build());
  ASSERT_EQ(list.Pages().Count(), 1);
  EXPECT_EQ(list.View(0).typeColumn, (std::vector<QString>{"Carica 1"}));
}

INSTANTIATE_TEST_SUITE_P(BothLists, CostListBuildTest,
                         ::testing::Values(CostList::Pistol, CostList::Rifle),
                         [](const ::testing::TestParamInfo<CostList>& param) {
                           return param.param == CostList::Pistol ? "Pistol" : "Rifle";
                         });

}  // namespace
}  // namespace report::lists
