// report-render as scripts use it: its command line, its printed figures and
// exit codes, and the files it writes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "render.h"
#include "render_options.h"

namespace report_render {
namespace {

QStringList Args(std::initializer_list<const char*> list) {
  QStringList l;
  for (const char* a : list) l << QString::fromUtf8(a);
  return l;
}

struct OptionCase {
  const char* name;
  QStringList arguments;
  bool valid;
};

class CommandLine : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CommandLine, AcceptsExactlyTheTwoForms) {
  QString error;
  const auto options = ParseOptions(GetParam().arguments, error);
  EXPECT_EQ(options.has_value(), GetParam().valid) << error.toStdString();
  if (!GetParam().valid) {
    EXPECT_FALSE(error.isEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLine,
    ::testing::Values(
        OptionCase{"Rows", Args({"--template", "pistol", "--rows", "100"}), true},
        OptionCase{"DataAndOutputs", Args({"--template", "x.xml", "--data", "a.sqlite", "--pdf", "o.pdf",
                                           "--png", "d", "--pages", "1-2", "--dpi", "150", "--vpr", "o.vpr"}), true},
        OptionCase{"Open", Args({"--open", "a.vpr", "--png", "d"}), true},
        OptionCase{"NoData", Args({"--template", "pistol"}), false},
        OptionCase{"BothData", Args({"--template", "pistol", "--rows", "3", "--data", "a.sqlite"}), false},
        OptionCase{"OpenWithTemplate", Args({"--open", "a.vpr", "--template", "pistol"}), false},
        OptionCase{"OpenWithVpr", Args({"--open", "a.vpr", "--vpr", "b.vpr"}), false},
        OptionCase{"NegativeRows", Args({"--template", "pistol", "--rows", "-1"}), false},
        OptionCase{"RowsNotANumber", Args({"--template", "pistol", "--rows", "many"}), false},
        OptionCase{"DpiTooLarge", Args({"--template", "pistol", "--rows", "1", "--dpi", "100000"}), false},
        OptionCase{"MissingValue", Args({"--template", "pistol", "--rows"}), false},
        OptionCase{"Twice", Args({"--template", "a", "--template", "b", "--rows", "1"}), false},
        OptionCase{"Unknown", Args({"--template", "a", "--rows", "1", "--colour"}), false},
        OptionCase{"Nothing", QStringList(), false}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(PageRange, ReadsListsAndOpenEnds) {
  EXPECT_EQ(ParsePageRange(QString(), 3), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(ParsePageRange(QStringLiteral("2"), 3), (std::vector<int>{1}));
  EXPECT_EQ(ParsePageRange(QStringLiteral("1-2,5,8-"), 9), (std::vector<int>{0, 1, 4, 7, 8}));
  EXPECT_EQ(ParsePageRange(QStringLiteral("-2,2"), 9), (std::vector<int>{0, 1}));
  EXPECT_EQ(ParsePageRange(QStringLiteral("7-9"), 8), (std::vector<int>{6, 7}));  // beyond the end: dropped
  EXPECT_FALSE(ParsePageRange(QStringLiteral("3-1"), 9));
  EXPECT_FALSE(ParsePageRange(QStringLiteral("0"), 9));
  EXPECT_FALSE(ParsePageRange(QStringLiteral("a"), 9));
}

struct Result {
  int code;
  QString out;
  QString err;
};

Result RunTool(const QStringList& arguments) {
  QProcess process;
  process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/report-render"), arguments);
  EXPECT_TRUE(process.waitForFinished(120000));
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

QString Data(const char* name) {
  return QDir(QString::fromLocal8Bit(qgetenv("VERSANTO_REPORT_DATA"))).filePath(QString::fromUtf8(name));
}

TEST(ReportRender, BuildsWritesAndOpensAgain) {
  QTemporaryDir dir;
  const QString vpr = dir.filePath(QStringLiteral("lista.vpr"));
  const Result built = RunTool({QStringLiteral("--template"), Data("cost_list.xml"), QStringLiteral("--rows"),
                                QStringLiteral("80"), QStringLiteral("--png"), dir.filePath(QStringLiteral("png")),
                                QStringLiteral("--pages"), QStringLiteral("2-"), QStringLiteral("--pdf"),
                                dir.filePath(QStringLiteral("lista.pdf")), QStringLiteral("--vpr"), vpr});
  ASSERT_EQ(built.code, kOk) << built.err.toStdString();
  EXPECT_TRUE(built.out.contains(QLatin1String("pages: 3\n"))) << built.out.toStdString();
  for (const char* line : {"build_ms: ", "first_page_ms: ", "peak_rss_mb: ", "save_ms: "}) {
    EXPECT_TRUE(built.out.contains(QLatin1String(line))) << line;
  }
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("png/page-0001.png"))));
  const QImage page2(dir.filePath(QStringLiteral("png/page-0002.png")));
  EXPECT_EQ(page2.size(), QSize(794, 1123));  // A4 at 96 dpi
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("png/page-0003.png"))));
  EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("lista.pdf"))).size(), 1000);

  const Result opened = RunTool({QStringLiteral("--open"), vpr, QStringLiteral("--png"),
                                 dir.filePath(QStringLiteral("again")), QStringLiteral("--pages"), QStringLiteral("2")});
  ASSERT_EQ(opened.code, kOk) << opened.err.toStdString();
  EXPECT_TRUE(opened.out.contains(QLatin1String("pages: 3\n")));
  EXPECT_EQ(QImage(dir.filePath(QStringLiteral("again/page-0002.png"))), page2);
}

TEST(ReportRender, BuildErrorsArePrintedAndGiveANonZeroExit) {
  // A division by zero in the data stops the build at that row.
  QTemporaryDir dir;
  const Result r = RunTool({QStringLiteral("--template"), Data("templates/minimal.xml"), QStringLiteral("--rows"),
                            QStringLiteral("2")});
  EXPECT_EQ(r.code, kOk) << r.err.toStdString();
  QFile broken(dir.filePath(QStringLiteral("t.xml")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(R"(<?xml version="1.0"?><TRepReport><DataSets><item DataSetName="ds"/></DataSets>
<TRepReportPage Name="Page1"><TRepMasterData Name="M" Width="700" Height="20" DataSetName="ds">
<TRepMemoView Name="Memo1" Width="100" Height="18" Text="[&lt;ds.&quot;CoPalle&quot;&gt;/0]"/>
</TRepMasterData></TRepReportPage></TRepReport>)");
  broken.close();
  const Result failed = RunTool({QStringLiteral("--template"), broken.fileName(), QStringLiteral("--rows"),
                                 QStringLiteral("3")});
  EXPECT_EQ(failed.code, kBuildErrors);
  EXPECT_TRUE(failed.out.contains(QLatin1String("error: Memo1: Floating point division by zero\n")))
      << failed.out.toStdString();
  EXPECT_TRUE(failed.out.contains(QLatin1String("pages: 1\n")));
}

TEST(ReportRender, BadInputIsReported) {
  QTemporaryDir dir;
  const Result usage = RunTool({QStringLiteral("--rows"), QStringLiteral("3")});
  EXPECT_EQ(usage.code, kBadInput);
  EXPECT_TRUE(usage.err.contains(QLatin1String("usage: report-render")));

  const Result badTemplate = RunTool({QStringLiteral("--template"), Data("templates/unknown_class.xml"),
                                      QStringLiteral("--rows"), QStringLiteral("3")});
  EXPECT_EQ(badTemplate.code, kBadInput);
  EXPECT_TRUE(badTemplate.err.contains(QLatin1String("unknown_class.xml:4:"))) << badTemplate.err.toStdString();

  const Result noData = RunTool({QStringLiteral("--template"), Data("cost_list.xml"), QStringLiteral("--data"),
                                 dir.filePath(QStringLiteral("none.sqlite"))});
  EXPECT_EQ(noData.code, kBadInput);
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.sqlite"))));  // not created with samples

  const Result badVpr = RunTool({QStringLiteral("--open"), Data("vpr/truncated.vpr")});
  EXPECT_EQ(badVpr.code, kBadInput);
  EXPECT_TRUE(badVpr.err.contains(QLatin1String("Invalid file format")));
}

// The program's own lists by name: 80 rows are 37 on page 1, 39 on page 2
// and 4 on page 3.
TEST(ReportRender, BuildsEitherCostList) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* list : {"pistol", "rifle"}) {
    SCOPED_TRACE(list);
    const QString png = dir.filePath(QString::fromLatin1(list));
    const Result built = RunTool({QStringLiteral("--template"), QString::fromLatin1(list), QStringLiteral("--rows"),
                                  QStringLiteral("80"), QStringLiteral("--png"), png});
    EXPECT_EQ(built.code, kOk) << built.err.toStdString() << built.out.toStdString();
    EXPECT_TRUE(built.out.contains(QLatin1String("pages: 3\n"))) << built.out.toStdString();
    EXPECT_EQ(QImage(png + QStringLiteral("/page-0003.png")).size(), QSize(794, 1123));
  }
}

}  // namespace
}  // namespace report_render
