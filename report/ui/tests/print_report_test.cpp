#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>

#include <gtest/gtest.h>

#include "print_answered_command.h"
#include "print_cost_list.h"
#include "print_test_pages.h"
#include "print_ui_fixture.h"
#include "report/print/prepared_print_source.h"
#include "report/print/report_settings.h"
#include "report/ui/page_settings.h"
#include "report/ui/print_report.h"
#include "testing/test_support.h"

namespace report {
namespace {

using report::testing::AnsweredPrint;
using report::testing::CostList;

class PrintReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = QDir(QString::fromStdString(testing_support::FreshDir("print_report").string()));
    ASSERT_TRUE(list.Build()) << list.Error().toStdString();
    ASSERT_EQ(list.pages.Count(), 3);
  }
  CostList list{80};
  QDir dir;
  PrinterList printers{report::testing::TwoPrinters(), 0};
};

TEST_F(PrintReportTest, PrintsTheCurrentPageOfTheCostListAndLeavesTheStoredOptions) {
  AnsweredPrint command(nullptr, printers);
  command.file = dir.filePath(QStringLiteral("pistola.prn"));
  command.answer = [](PrintDialog& dialog) {
    dialog.findChild<QCheckBox*>(QStringLiteral("FileCB"))->setChecked(true);
    dialog.findChild<QRadioButton*>(QStringLiteral("CurPageRB"))->setChecked(true);
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
  };
  const PrintOptions stored = list.report.PrintOptions();
  ASSERT_TRUE(PrintReport(command, list.report, list.pages, 2)) << command.errors.join(QLatin1Char('\n')).toStdString();
  const QStringList texts = report::testing::PdfPageTexts(command.file, 1);
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("9x21 n.38 "))) << texts[0].toStdString();  // page 2's first row
  EXPECT_EQ(report::testing::ReadPdfFacts(command.file).pages, 1);
  EXPECT_EQ(list.report.PrintOptions(), stored);
}

TEST_F(PrintReportTest, PageSettingsForAllPagesChangeTheNextBuild) {
  // The report's own settings key says inches.
  list.report.SetIniFile(QStringLiteral("\\Software\\Versanto Prova"));
  OpenReportSettings(list.report.IniFile())->setValue(QStringLiteral("Form.TRepDesignerForm/Units"), 1);
  QString widthShown;
  const PageSettingsChange change = AskPageSettings(nullptr, list.report, list.pages, 1, [&](PageSettingsForm& form) {
    widthShown = form.findChild<QLineEdit*>(QStringLiteral("WidthE"))->text();
    form.findChild<QRadioButton*>(QStringLiteral("LandscapeRB"))->setChecked(true);
    form.accept();
    return form.result() == QDialog::Accepted;
  });
  OpenReportSettings(list.report.IniFile())->clear();
  EXPECT_EQ(widthShown, QStringLiteral("8.27"));
  ASSERT_TRUE(change.accepted);
  EXPECT_TRUE(change.applyToAll);
  EXPECT_EQ(change.paper.Orientation, PaperOrientation::poLandscape);

  ApplyPageSettingsToAll(list.report, change.paper);
  ASSERT_TRUE(list.Build()) << list.Error().toStdString();
  EXPECT_GT(list.pages.Count(), 3);  // fewer rows fit on a page lying down
  const PagePaper built = PaperOfSettings(list.pages.Settings(0));
  EXPECT_EQ(built.Orientation, PaperOrientation::poLandscape);
  EXPECT_NEAR(built.PaperWidth, 297, 0.5);
  EXPECT_NEAR(built.PaperHeight, 210, 0.5);

  // Cancel changes nothing.
  const PageSettingsChange cancelled =
      AskPageSettings(nullptr, list.report, list.pages, 1, [](PageSettingsForm&) { return false; });
  EXPECT_FALSE(cancelled.accepted);
}

}  // namespace
}  // namespace report
