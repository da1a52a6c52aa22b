// A cost list built by the band engine and printed: to the PDF queue and to
// a file, drawn as the preview draws it.
#include <QDir>
#include <QImage>
#include <QPrinterInfo>
#include <QTest>

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "print_cost_list.h"
#include "print_test_pages.h"
#include "report/model/report.h"
#include "report/print/prepared_print_source.h"
#include "report/print/printer_list.h"
#include "report/store/page_painter.h"
#include "report/store/prepared_pages.h"
#include "testing/test_support.h"

namespace report {
namespace {

using report::testing::CostList;
using Status = PrintResult::Status;

QDir PdfFolder() {
  const passwd* user = getpwuid(getuid());
  return QDir(QString::fromLocal8Bit(user != nullptr ? user->pw_dir : "/nonexistent") + QStringLiteral("/PDF"));
}

double MeanDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 255;
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  }
  return sum / (a.width() * a.height());
}

class PrintPreparedPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PrinterList::Instance().Refresh();
    if (!PrinterList::Instance().HasPhysicalPrinter()) GTEST_SKIP() << "no printer at all";
    dir = QDir(QString::fromStdString(testing_support::FreshDir("print_pages").string()));
    ASSERT_TRUE(list.Build()) << list.Error().toStdString();
    ASSERT_EQ(list.pages.Count(), 3);
    request.printer = PrinterList::Instance().Current();
    request.title = QStringLiteral("Lista Dati Pistola");
    request.options = JobOptionsOf(list.report.PrintOptions());
  }
  CostList list{80};
  QDir dir;
  PrintRequest request;
};

TEST_F(PrintPreparedPagesTest, ToFileThePagesAreTheOnesThePreviewDraws) {
  request.outputFile = dir.filePath(QStringLiteral("pistola.prn"));
  request.options.PageNumbers = QStringLiteral("1,3");
  request.options.Copies = 2;
  const PreparedPagesPrintSource source(list.pages);
  const PrintResult result = PrintPreparedPages(source, request, nullptr);
  ASSERT_EQ(result.status, Status::kPrinted) << result.detail.toStdString();

  const QList<QSizeF> sizes = report::testing::PdfPageSizes(request.outputFile, 4);
  ASSERT_EQ(sizes.size(), 4);
  for (const QSizeF& size : sizes) {
    EXPECT_NEAR(size.width(), report::testing::kA4WidthPt, 1);
    EXPECT_NEAR(size.height(), report::testing::kA4HeightPt, 1);
  }
  const QStringList texts = report::testing::PdfPageTexts(request.outputFile, 4);
  ASSERT_EQ(texts.size(), 4);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("Costi")));        // the title, first page only
  EXPECT_TRUE(texts[0].contains(QStringLiteral("9x21 n.1 ")));
  EXPECT_TRUE(texts[0].contains(QStringLiteral("0,48 €")));
  EXPECT_TRUE(texts[1].contains(QStringLiteral("9x21 n.80")));     // page 3, last row
  EXPECT_FALSE(texts[1].contains(QStringLiteral("Costi")));
  EXPECT_EQ(texts[2], texts[0]);
  EXPECT_EQ(texts[3], texts[1]);

  // Page 3 as printed, against page 3 as the preview's drawing renders it.
  const QString prefix = dir.filePath(QStringLiteral("printed"));
  ASSERT_TRUE(report::testing::RunTool(QStringLiteral("pdftoppm"),
                                       {QStringLiteral("-r"), QStringLiteral("48"), QStringLiteral("-gray"),
                                        QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"),
                                        QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2"),
                                        request.outputFile, prefix}));
  const QImage printed(prefix + QStringLiteral(".png"));
  const QImage shown = RenderPage(list.pages, 2, 48).convertToFormat(QImage::Format_Grayscale8);
  ASSERT_FALSE(printed.isNull());
  EXPECT_EQ(printed.size(), shown.size());
  EXPECT_LT(MeanDifference(printed, shown), 3.0);
}

TEST_F(PrintPreparedPagesTest, TheQueuePrintsTheCostListOnA4) {
  const int queue = PrinterList::Instance().IndexOf(QStringLiteral("PDF"));
  if (queue < 0) GTEST_SKIP() << "no CUPS queue \"PDF\" (scripts/start-cups sets it up)";
  request.printer = PrinterList::Instance().Printers()[queue];
  request.title = QStringLiteral("VersantoListaPistola%1").arg(getpid());
  const PreparedPagesPrintSource source(list.pages);
  const PrintResult result = PrintPreparedPages(source, request, nullptr);
  ASSERT_EQ(result.status, Status::kPrinted) << result.detail.toStdString();

  QString printed;
  for (int i = 0; i < 600 && printed.isEmpty(); ++i) {
    for (const QString& name : PdfFolder().entryList({request.title + QStringLiteral("*.pdf")}, QDir::Files)) {
      if (report::testing::ReadPdfFacts(PdfFolder().filePath(name)).pages > 0) printed = PdfFolder().filePath(name);
    }
    if (printed.isEmpty()) QTest::qWait(100);
  }
  ASSERT_FALSE(printed.isEmpty()) << "no PDF in " << PdfFolder().path().toStdString();
  const auto facts = report::testing::ReadPdfFacts(printed);
  EXPECT_EQ(facts.pages, 3);
  EXPECT_NEAR(facts.widthPt, report::testing::kA4WidthPt, 1);
  EXPECT_NEAR(facts.heightPt, report::testing::kA4HeightPt, 1);
  QFile::remove(printed);
}

TEST_F(PrintPreparedPagesTest, PaperOfTheTemplateReachesTheNextBuildAndThePrint) {
  // What "Apply to all pages" of the page settings does: every report page
  // of the template gets the paper, and the next build is laid out on it.
  PagePaper landscape;
  landscape.PaperWidth = 297;
  landscape.PaperHeight = 210;
  landscape.Orientation = PaperOrientation::poLandscape;
  landscape.TopMargin = 15;
  for (ReportPage* page : list.report.ReportPages()) ApplyPaper(*page, landscape);
  EXPECT_EQ(PaperOfPage(*list.report.ReportPages().front()), landscape);
  ASSERT_TRUE(list.Build()) << list.Error().toStdString();
  // A lower, wider page holds fewer rows: 80 rows need more pages.
  EXPECT_GT(list.pages.Count(), 3);
  const PreparedPagesPrintSource source(list.pages);
  EXPECT_EQ(source.PaperOf(0), landscape);

  request.outputFile = dir.filePath(QStringLiteral("orizzontale.prn"));
  request.options.PageNumbers = QStringLiteral("1");
  ASSERT_EQ(PrintPreparedPages(source, request, nullptr).status, Status::kPrinted);
  const auto facts = report::testing::ReadPdfFacts(request.outputFile);
  EXPECT_EQ(facts.pages, 1);
  EXPECT_NEAR(facts.widthPt, report::testing::kA4HeightPt, 1);
  EXPECT_NEAR(facts.heightPt, report::testing::kA4WidthPt, 1);
}

}  // namespace
}  // namespace report
