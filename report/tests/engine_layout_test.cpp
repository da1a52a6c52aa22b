// Layout rules of the band engine, as positions in the prepared pages: page
// breaks, headers and footers, the first and last page, stretching and bands
// that cannot fit anywhere.
#include <gtest/gtest.h>

#include "engine_fixtures.h"

namespace report {
namespace {

using testing::Built;
using testing::CountOf;
using testing::Load;
using testing::Names;
using testing::Objects;
using testing::Placed;

constexpr double kMm6 = 22.67718;
constexpr double kFooterTop = 914.64626;  // 297 - 20 mm less a 35 mm footer, in units

// The band layout of the cost lists: A4, 10 mm margins, title, page header,
// header and data band 6 mm each, a 35 mm page footer.
QString CostLayout(int rows, const QString& extraBands = {}, const QString& footerAttributes = {},
                   const QString& headerAttributes = {}, const QString& pageHeaderAttributes = {}) {
  return QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport>
 <TRepReportPage Name="Page1">
  <TRepReportTitle Name="ReportTitle1" Top="18.89765" Width="718.1107" Height="22.67718"/>
  <TRepPageHeader Name="PageHeader1" Top="64.25201" Width="718.1107" Height="22.67718" %5/>
  <TRepHeader Name="Header1" Top="147.40167" Width="718.1107" Height="22.67718" %4/>
  <TRepMasterData Name="MasterData1" Top="192.75603" Width="718.1107" Height="22.67718" RowCount="%1"/>
  <TRepPageFooter Name="PageFooter1" Top="275.90569" Width="718.1107" Height="132.28355" %3/>
  <TRepMemoView Name="Picture2" Left="83.14966" Top="15.11812" Width="37.7953" Height="18.89765"/>
  %2
 </TRepReportPage>
</TRepReport>)")
      .arg(rows)
      .arg(extraBands, footerAttributes, headerAttributes, pageHeaderAttributes);
}

struct PageCase {
  const char* name;
  int rows;
  int pages;
  std::vector<int> rowsPerPage;
};

class CostLayoutRows : public ::testing::TestWithParam<PageCase> {};

TEST_P(CostLayoutRows, BreakWhereTheFooterBegins) {
  const PageCase& c = GetParam();
  Built b = Load(CostLayout(c.rows));
  ASSERT_TRUE(b.Build()) << b.Errors();
  ASSERT_EQ(b.pages->Count(), c.pages);
  for (int i = 0; i < c.pages; ++i) {
    const auto bands = Objects(*b.pages, i);
    EXPECT_EQ(CountOf(bands, QStringLiteral("MasterData1")), c.rowsPerPage[std::size_t(i)]) << "page " << i;
    // Title and header on the first page only; page header and footer on every one.
    EXPECT_EQ(CountOf(bands, QStringLiteral("ReportTitle1")), i == 0 ? 1 : 0);
    EXPECT_EQ(CountOf(bands, QStringLiteral("Header1")), i == 0 && c.rows > 0 ? 1 : 0);
    EXPECT_EQ(CountOf(bands, QStringLiteral("PageHeader1")), 1);
    ASSERT_EQ(bands.back().name, QStringLiteral("PageFooter1"));
    EXPECT_NEAR(bands.back().top, kFooterTop, 1e-9);
    // The view lying on the page comes once, on the first page, at its own place.
    const auto all = Objects(*b.pages, i, false);
    EXPECT_EQ(CountOf(all, QStringLiteral("Picture2")), i == 0 ? 1 : 0);
  }
  // Rows follow each other without gaps, below the page header.
  if (c.pages > 1) {
    const auto second = Objects(*b.pages, 1);
    EXPECT_EQ(second[0].name, QStringLiteral("PageHeader1"));
    EXPECT_NEAR(second[1].top, kMm6, 1e-9);
    if (c.rowsPerPage[1] > 1) {
      EXPECT_NEAR(second[2].top, 2 * kMm6, 1e-9);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CostLayoutRows,
    ::testing::Values(PageCase{"OneRow", 1, 1, {1}}, PageCase{"NoRows", 0, 1, {0}},
                      PageCase{"FirstPageFull", 37, 1, {37}}, PageCase{"OneRowOver", 38, 2, {37, 1}},
                      PageCase{"TwoPagesFull", 76, 2, {37, 39}},
                      PageCase{"ThreePages", 77, 3, {37, 39, 1}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(EngineLayout, FirstPageOrderAndPositions) {
  Built b = Load(CostLayout(2));
  ASSERT_TRUE(b.Build()) << b.Errors();
  const auto bands = Objects(*b.pages, 0);
  const std::vector<QString> order = {"ReportTitle1", "PageHeader1", "Header1", "MasterData1",
                                      "MasterData1", "PageFooter1"};
  EXPECT_EQ(Names(bands), order);
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) EXPECT_NEAR(bands[i].top, double(i) * kMm6, 1e-9);
  // Views are placed at band position plus their own.
  for (const auto& placed : Objects(*b.pages, 0, false)) {
    if (placed.name == QLatin1String("Picture2")) {
      EXPECT_NEAR(placed.top, 15.11812, 1e-9);
    }
  }
}

TEST(EngineLayout, NoRowsWithoutPrintIfEmptyGivesNoPage) {
  Built b = Load(CostLayout(0));
  b.report->SetPrintIfEmpty(false);
  ASSERT_TRUE(b.Build()) << b.Errors();
  EXPECT_EQ(b.pages->Count(), 0);
}

TEST(EngineLayout, BandExactlyFillingTheFreeSpaceStays) {
  // After title, page header and header 37 rows leave 914.64626 - 40 * 22.67718
  // = 7.55906 units; a band of exactly that height stays, one unit more moves.
  for (const double extra : {0.0, 1.0}) {
    const QString summary = QStringLiteral(
        R"(<TRepReportSummary Name="Summary1" Top="500" Width="718.1107" Height="%1"/>)")
                                .arg(914.64626 - 40 * kMm6 + extra, 0, 'g', 12);
    Built b = Load(CostLayout(37, summary));
    ASSERT_TRUE(b.Build()) << b.Errors();
    EXPECT_EQ(b.pages->Count(), extra == 0 ? 1 : 2) << "extra " << extra;
  }
}

TEST(EngineLayout, PageHeaderAndFooterFirstAndLastPageOptions) {
  Built b = Load(CostLayout(40, {}, QStringLiteral("PrintOnLastPage=\"False\""), {},
                            QStringLiteral("PrintOnFirstPage=\"False\"")));
  ASSERT_TRUE(b.Build()) << b.Errors();
  ASSERT_EQ(b.pages->Count(), 2);
  const auto first = Objects(*b.pages, 0);
  const auto second = Objects(*b.pages, 1);
  EXPECT_EQ(CountOf(first, QStringLiteral("PageHeader1")), 0);
  EXPECT_EQ(CountOf(first, QStringLiteral("PageFooter1")), 1);
  EXPECT_EQ(CountOf(second, QStringLiteral("PageHeader1")), 1);
  EXPECT_EQ(CountOf(second, QStringLiteral("PageFooter1")), 0);
  // Without the page header the first page holds one row more.
  EXPECT_EQ(CountOf(first, QStringLiteral("MasterData1")), 38);
}

TEST(EngineLayout, ReprintedHeaderFooterAndSummary) {
  const QString extra = QStringLiteral(R"(
  <TRepFooter Name="Footer1" Top="230" Width="718.1107" Height="22.67718"/>
  <TRepReportSummary Name="Summary1" Top="600" Width="718.1107" Height="22.67718"/>)");
  Built b = Load(CostLayout(40, extra, {}, QStringLiteral("ReprintOnNewPage=\"True\"")));
  ASSERT_TRUE(b.Build()) << b.Errors();
  ASSERT_EQ(b.pages->Count(), 2);
  const auto second = Objects(*b.pages, 1);
  const std::vector<QString> head = {"PageHeader1", "Header1", "MasterData1"};
  const auto secondNames = Names(second);
  ASSERT_GE(secondNames.size(), 3u);
  EXPECT_EQ(std::vector<QString>(secondNames.begin(), secondNames.begin() + 3), head);
  EXPECT_EQ(CountOf(second, QStringLiteral("Footer1")), 1);
  EXPECT_EQ(CountOf(second, QStringLiteral("Summary1")), 1);
  EXPECT_EQ(CountOf(Objects(*b.pages, 0), QStringLiteral("Summary1")), 0);
  // Footer, then summary, right after the last row.
  const auto names = Names(second);
  const auto footer = std::find(names.begin(), names.end(), QStringLiteral("Footer1"));
  ASSERT_NE(footer, names.end());
  EXPECT_EQ(*(footer - 1), QStringLiteral("MasterData1"));
  EXPECT_EQ(*(footer + 1), QStringLiteral("Summary1"));
}

TEST(EngineLayout, BandTallerThanThePageIsPlacedOnceEach) {
  const QString xml = QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport>
 <TRepReportPage Name="Page1">
  <TRepPageHeader Name="PageHeader1" Width="700" Height="20"/>
  <TRepMasterData Name="MasterData1" Top="50" Width="700" Height="5000" RowCount="3"/>
  <TRepPageFooter Name="PageFooter1" Top="100" Width="700" Height="20"/>
 </TRepReportPage>
</TRepReport>)");
  Built b = Load(xml);
  ASSERT_TRUE(b.Build()) << b.Errors();
  ASSERT_EQ(b.pages->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(CountOf(Objects(*b.pages, i), QStringLiteral("MasterData1")), 1);
  }
}

TEST(EngineLayout, FooterTallerThanThePageDoesNotLoop) {
  const QString xml = QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport>
 <TRepReportPage Name="Page1">
  <TRepMasterData Name="MasterData1" Top="50" Width="700" Height="20" RowCount="4"/>
  <TRepPageFooter Name="PageFooter1" Top="100" Width="700" Height="3000"/>
 </TRepReportPage>
</TRepReport>)");
  Built b = Load(xml);
  ASSERT_TRUE(b.Build()) << b.Errors();
  EXPECT_EQ(b.pages->Count(), 4);
}

TEST(EngineLayout, StretchedMemoGrowsItsBand) {
  const QString xml = QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport>
 <TRepReportPage Name="Page1">
  <TRepMasterData Name="MasterData1" Top="50" Width="700" Height="20" RowCount="2" Stretched="True">
   <TRepMemoView Name="Memo1" Width="60" Height="18" StretchMode="smActualHeight"
     Text="uno due tre quattro cinque sei sette otto nove dieci"/>
   <TRepMemoView Name="Memo2" Left="100" Width="60" Height="5" StretchMode="smMaxHeight"/>
  </TRepMasterData>
 </TRepReportPage>
</TRepReport>)");
  Built b = Load(xml);
  ASSERT_TRUE(b.Build()) << b.Errors();
  const auto all = Objects(*b.pages, 0, false);
  ASSERT_EQ(all.size(), 6u);  // band, memo, memo twice
  const Placed& band = all[0];
  const Placed& memo = all[1];
  EXPECT_GT(memo.height, 3 * 13.0);  // several lines of a 13-unit font
  EXPECT_NEAR(band.height, memo.height, 1e-9);
  EXPECT_NEAR(all[2].height, band.height, 1e-9);  // reaches the band's bottom
  EXPECT_NEAR(all[3].top, band.top + band.height, 1e-9);  // the next row below it
}

TEST(EngineLayout, ChildBandFollowsItsParent) {
  const QString xml = QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport>
 <TRepReportPage Name="Page1">
  <TRepMasterData Name="MasterData1" Top="50" Width="700" Height="20" RowCount="2" Child="Child1"/>
  <TRepChild Name="Child1" Top="100" Width="700" Height="10"/>
 </TRepReportPage>
</TRepReport>)");
  Built b = Load(xml);
  ASSERT_TRUE(b.Build()) << b.Errors();
  const std::vector<QString> order = {"MasterData1", "Child1", "MasterData1", "Child1"};
  EXPECT_EQ(Names(Objects(*b.pages, 0)), order);
  EXPECT_NEAR(Objects(*b.pages, 0)[3].top, 50.0, 1e-9);
}

TEST(EngineLayout, MisplacedBandsStopTheBuildBeforeAnyPage) {
  const QString xml = QStringLiteral(R"(<?xml version="1.0"?>
<TRepReport>
 <TRepReportPage Name="Page1">
  <TRepHeader Name="Header1" Top="10" Width="700" Height="20"/>
  <TRepFooter Name="Footer9" Top="30" Width="700" Height="20"/>
  <TRepMasterData Name="MasterData1" Top="50" Width="700" Height="20" RowCount="2"/>
 </TRepReportPage>
</TRepReport>)");
  Built b = Load(xml);
  EXPECT_FALSE(b.Build());
  EXPECT_EQ(b.pages->Count(), 0);
  EXPECT_TRUE(b.report->ErrorList().Contains("Unconnected header/footer Header1")) << b.Errors();
  EXPECT_TRUE(b.report->ErrorList().Contains("Unconnected header/footer Footer9")) << b.Errors();
  EXPECT_EQ(b.engine->ErrorSummary().toStdString(),
            "The following error(s) have occured:\nUnconnected header/footer Footer9\n"
            "Unconnected header/footer Header1");
}

}  // namespace
}  // namespace report
