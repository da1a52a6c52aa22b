#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTest>

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "print_test_pages.h"
#include "report/print/page_sequence.h"
#include "report/print/printer_list.h"
#include "testing/test_support.h"

namespace report {
namespace {

using report::testing::NumberedPages;
using report::testing::PdfPageTexts;
using Status = PrintResult::Status;

const QString kTestQueue = QStringLiteral("PDF");

QStringList Texts(const std::vector<int>& pages, int count) {
  QStringList texts;
  for (const int page : pages) {
    texts.append(page == kBlankSide ? QString() : QStringLiteral("Pagina %1 di %2").arg(page).arg(count));
  }
  return texts;
}

class StopAfter : public PrintProgress {
 public:
  explicit StopAfter(int pages) : m_left(pages) {}
  void PagePrinted(int pageNo) override {
    printed.push_back(pageNo);
    --m_left;
  }
  bool Terminated() const override { return m_left <= 0; }
  std::vector<int> printed;

 private:
  int m_left;
};

class PrintJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PrinterList::Instance().Refresh();
    if (!PrinterList::Instance().HasPhysicalPrinter()) {
      GTEST_SKIP() << "no printer at all (scripts/start-cups sets up the queue \"PDF\"); nothing can be printed";
    }
    dir = QString::fromStdString(testing_support::FreshDir("print_job").string());
    request.printer = PrinterList::Instance().Current();
    request.title = QStringLiteral("Lista Dati Pistola");
  }
  QString dir;
  PrintRequest request;
};

TEST_F(PrintJobTest, ToFileWritesTheChosenPagesInOrderOnA4) {
  struct Case {
    const char* pages;
    int copies;
    bool collate;
    bool reverse;
    PrintPages which;
    std::vector<int> sides;
  };
  const NumberedPages source(5);
  for (const Case& c : {Case{"", 1, true, false, PrintPages::ppAll, {1, 2, 3, 4, 5}},
                        Case{"1,3-4", 2, true, false, PrintPages::ppAll, {1, 3, 4, 1, 3, 4}},
                        Case{"1,3-4", 2, false, true, PrintPages::ppAll, {4, 4, 3, 3, 1, 1}},
                        Case{"2-", 1, true, true, PrintPages::ppOdd, {5, 3}}}) {
    SCOPED_TRACE(c.pages);
    request.outputFile = QDir(dir).filePath(QStringLiteral("lista.prn"));
    QFile::remove(request.outputFile);
    request.options.PageNumbers = QString::fromUtf8(c.pages);
    request.options.Copies = c.copies;
    request.options.Collate = c.collate;
    request.options.Reverse = c.reverse;
    request.options.PrintPages = c.which;
    StopAfter progress(1000);
    const PrintResult result = PrintPreparedPages(source, request, &progress);
    ASSERT_EQ(result.status, Status::kPrinted) << result.detail.toStdString();
    EXPECT_EQ(result.sidesPrinted, static_cast<int>(c.sides.size()));
    EXPECT_EQ(progress.printed, c.sides);

    const auto facts = report::testing::ReadPdfFacts(request.outputFile);
    EXPECT_EQ(facts.pages, static_cast<int>(c.sides.size()));
    EXPECT_NEAR(facts.widthPt, report::testing::kA4WidthPt, 1);
    EXPECT_NEAR(facts.heightPt, report::testing::kA4HeightPt, 1);
    EXPECT_EQ(PdfPageTexts(request.outputFile, facts.pages), Texts(c.sides, 5));
    EXPECT_EQ(report::testing::PdfPageBars(request.outputFile, facts.pages, dir + QStringLiteral("/..")), c.sides);
    // Only the file itself: no temporary name is left beside it.
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("lista.prn")});
  }
}

TEST_F(PrintJobTest, EachPageGoesOnItsOwnPaperAndTheTextStaysOnIt) {
  // A landscape page between two upright ones, as a page settings change
  // for one page leaves them.
  class Mixed : public NumberedPages {
   public:
    Mixed() : NumberedPages(3) {}
    PagePaper PaperOf(int page) const override {
      PagePaper paper;
      if (page == 1) {
        paper.PaperWidth = 297;
        paper.PaperHeight = 210;
        paper.Orientation = PaperOrientation::poLandscape;
      }
      return paper;
    }
  } source;
  request.outputFile = QDir(dir).filePath(QStringLiteral("misto.prn"));
  ASSERT_EQ(PrintPreparedPages(source, request, nullptr).status, Status::kPrinted);
  const QList<QSizeF> sizes = report::testing::PdfPageSizes(request.outputFile, 3);
  ASSERT_EQ(sizes.size(), 3);
  EXPECT_NEAR(sizes[0].width(), report::testing::kA4WidthPt, 1);
  EXPECT_NEAR(sizes[1].width(), report::testing::kA4HeightPt, 1);
  EXPECT_NEAR(sizes[1].height(), report::testing::kA4WidthPt, 1);
  EXPECT_NEAR(sizes[2].width(), report::testing::kA4WidthPt, 1);
  EXPECT_EQ(PdfPageTexts(request.outputFile, 3), Texts({1, 2, 3}, 3));

  // Text drawn at 100 report units from the left edge is 75 points in.
  QByteArray bbox;
  ASSERT_TRUE(report::testing::RunTool(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                        QStringLiteral("-l"), QStringLiteral("1"), request.outputFile,
                                        QStringLiteral("-")}, &bbox));
  const QRegularExpressionMatch word =
      QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>Pagina<")).match(QString::fromUtf8(bbox));
  ASSERT_TRUE(word.hasMatch()) << bbox.toStdString();
  EXPECT_NEAR(word.captured(1).toDouble(), 75.0, 1.5);
}

TEST_F(PrintJobTest, BadPagesOrAnUnwritableFilePrintNothing) {
  const NumberedPages source(4);
  const QString target = QDir(dir).filePath(QStringLiteral("lista.prn"));
  struct Case {
    const char* pages;
    PrintPages which;
    Status status;
    const char* detail;
  };
  for (const Case& c : {Case{"1,x", PrintPages::ppAll, Status::kBadPageNumbers, "x"},
                        Case{"3-1", PrintPages::ppAll, Status::kNothingToPrint, "3-1"},
                        Case{"9-", PrintPages::ppAll, Status::kNothingToPrint, "9-"},
                        Case{"2,4", PrintPages::ppOdd, Status::kNothingToPrint, "2,4"}}) {
    SCOPED_TRACE(c.pages);
    request.outputFile = target;
    request.options.PageNumbers = QString::fromUtf8(c.pages);
    request.options.PrintPages = c.which;
    const PrintResult result = PrintPreparedPages(source, request, nullptr);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.detail.toStdString(), c.detail);
    EXPECT_FALSE(QFileInfo::exists(target));
  }

  request.options = PrintJobOptions{};
  for (const QString& bad : {QDir(dir).filePath(QStringLiteral("manca/lista.prn")), dir}) {
    SCOPED_TRACE(bad.toStdString());
    request.outputFile = bad;
    const PrintResult result = PrintPreparedPages(source, request, nullptr);
    EXPECT_EQ(result.status, Status::kCannotWriteFile);
    EXPECT_FALSE(result.detail.isEmpty());
  }
  EXPECT_TRUE(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST_F(PrintJobTest, ACancelledJobToFileLeavesTheOldFileAsItWas) {
  const NumberedPages source(6);
  request.outputFile = QDir(dir).filePath(QStringLiteral("lista.prn"));
  {
    QFile old(request.outputFile);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stampa di ieri");
  }
  StopAfter progress(2);
  const PrintResult result = PrintPreparedPages(source, request, &progress);
  EXPECT_EQ(result.status, Status::kCancelled);
  EXPECT_EQ(progress.printed, (std::vector<int>{1, 2}));
  EXPECT_EQ(testing_support::ReadFileBytes(request.outputFile.toStdString()), "stampa di ieri");
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("lista.prn")});
}

// The PDF queue writes into the folder PDF of the job's user's home (from
// the password database, whatever HOME says), one file per job named after
// the job's title.
QDir PdfFolder() {
  const passwd* user = getpwuid(getuid());
  return QDir(QString::fromLocal8Bit(user != nullptr ? user->pw_dir : "/nonexistent") + QStringLiteral("/PDF"));
}

QString WaitForPdf(const QString& title) {
  for (int i = 0; i < 600; ++i) {
    for (const QString& name : PdfFolder().entryList({title + QStringLiteral("*.pdf")}, QDir::Files)) {
      const QString path = PdfFolder().filePath(name);
      // cups-pdf writes the file in place; it is done once pdfinfo reads it.
      if (report::testing::ReadPdfFacts(path).pages > 0) return path;
    }
    QTest::qWait(100);
  }
  return {};
}

TEST_F(PrintJobTest, TheQueueGetsOneJobWithThePagesInOrder) {
  if (!QPrinterInfo::availablePrinterNames().contains(kTestQueue)) {
    GTEST_SKIP() << "no CUPS queue \"PDF\" (scripts/start-cups sets it up)";
  }
  request.printer = PrinterList::Instance().Printers()[PrinterList::Instance().IndexOf(kTestQueue)];
  // Of this process, so that builds tested side by side do not see each other's output.
  request.title = QStringLiteral("VersantoProvaStampa%1").arg(getpid());
  request.options.PageNumbers = QStringLiteral("1-3");
  request.options.Reverse = true;
  request.options.Copies = 2;
  const NumberedPages source(4);
  const PrintResult result = PrintPreparedPages(source, request, nullptr);
  ASSERT_EQ(result.status, Status::kPrinted) << result.detail.toStdString();

  const QString printed = WaitForPdf(request.title);
  ASSERT_FALSE(printed.isEmpty()) << "no PDF in " << PdfFolder().path().toStdString();
  const auto facts = report::testing::ReadPdfFacts(printed);
  EXPECT_EQ(facts.pages, 6);
  EXPECT_NEAR(facts.widthPt, report::testing::kA4WidthPt, 1);
  EXPECT_NEAR(facts.heightPt, report::testing::kA4HeightPt, 1);
  EXPECT_EQ(report::testing::PdfPageBars(printed, 6, dir), (std::vector<int>{3, 2, 1, 3, 2, 1}));
  QFile::remove(printed);
}

TEST_F(PrintJobTest, TheListStartsAtTheSystemsDefaultPrinter) {
  const PrinterList& printers = PrinterList::Instance();
  EXPECT_EQ(printers.Current().name, QPrinterInfo::defaultPrinterName());
  EXPECT_EQ(printers.Printers().size(), QPrinterInfo::availablePrinterNames().size());
  const int pdf = printers.IndexOf(QStringLiteral("pdf"));  // names match without regard to case
  if (pdf < 0) GTEST_SKIP() << "no CUPS queue \"PDF\"";
  const PrinterEntry& queue = printers.Printers()[pdf];
  EXPECT_EQ(queue.port, QStringLiteral("cups-pdf:/"));
  EXPECT_GT(queue.dpi.x(), 0);
  EXPECT_TRUE(std::any_of(queue.papers.begin(), queue.papers.end(),
                          [](const PaperName& paper) { return paper.code == kPaperA4 && paper.name.contains(QStringLiteral("A4")); }));
}

TEST_F(PrintJobTest, TheSubstitutePrinterPrintsNothing) {
  request.printer = PrinterEntry{};
  request.printer.name = QStringLiteral("Virtual");
  request.printer.isVirtual = true;
  const PrintResult result = PrintPreparedPages(NumberedPages(2), request, nullptr);
  EXPECT_EQ(result.status, Status::kNoPrinter);
}

}  // namespace
}  // namespace report
