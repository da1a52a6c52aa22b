#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include "print_test_pages.h"
#include "print_answered_command.h"
#include "print_ui_fixture.h"
#include "report/ui/print_command.h"
#include "report/ui/print_dialog.h"
#include "testing/test_support.h"

namespace report {
namespace {

using report::testing::AnsweredPrint;
using report::testing::NumberedPages;

class PrintCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { dir = QDir(QString::fromStdString(testing_support::FreshDir("print_command").string())); }
  QDir dir;
  PrinterList printers{report::testing::TwoPrinters(), 1};
  PrintJobOptions options;
};

TEST_F(PrintCommandTest, NoPrinterIsSaidAndNothingIsAsked) {
  PrinterList none({}, 0);
  AnsweredPrint command(nullptr, none);
  bool asked = false;
  command.answer = [&](PrintDialog&) { return asked = true; };
  EXPECT_FALSE(command.Print(NumberedPages(2), options, 1, QStringLiteral("Lista")));
  EXPECT_FALSE(asked);
  EXPECT_EQ(command.errors, QStringList{QStringLiteral("No printers installed on your system")});
}

TEST_F(PrintCommandTest, PrintsTheDialogsChoiceToAFileForThisJobOnly) {
  AnsweredPrint command(nullptr, printers);
  command.file = dir.filePath(QStringLiteral("pistola"));
  command.answer = [](PrintDialog& dialog) {
    dialog.findChild<QCheckBox*>(QStringLiteral("FileCB"))->setChecked(true);
    dialog.findChild<QLineEdit*>(QStringLiteral("PageNumbersE"))->setText(QStringLiteral("1, 3"));
    dialog.findChild<QRadioButton*>(QStringLiteral("PageNumbersRB"))->setChecked(true);
    dialog.findChild<QSpinBox*>(QStringLiteral("CopiesE"))->setValue(3);
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
  };
  const PrintJobOptions before = options;
  ASSERT_TRUE(command.Print(NumberedPages(3), options, 1, QStringLiteral("Lista Dati Pistola")))
      << command.errors.join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(command.errors.isEmpty());
  const QString printed = dir.filePath(QStringLiteral("pistola.prn"));
  EXPECT_EQ(report::testing::ReadPdfFacts(printed).pages, 6);
  EXPECT_EQ(report::testing::PdfPageTexts(printed, 6),
            (QStringList{"Pagina 1 di 3", "Pagina 3 di 3", "Pagina 1 di 3", "Pagina 3 di 3", "Pagina 1 di 3",
                         "Pagina 3 di 3"}));
  // After printing 3 copies the next dialog shows 1 again.
  EXPECT_EQ(options, before);
  command.answer = [](PrintDialog&) { return false; };
  EXPECT_FALSE(command.Print(NumberedPages(3), options, 1, QStringLiteral("Lista")));
  EXPECT_EQ(command.dialogCopies, (QStringList{"1", "1"}));
}

TEST_F(PrintCommandTest, ThePrinterOptionPicksAPrinterByNameOrLeavesTheCurrentOne) {
  AnsweredPrint command(nullptr, printers);
  command.answer = [](PrintDialog&) { return false; };
  options.Printer = QStringLiteral("Default");
  command.Print(NumberedPages(1), options, 1, QStringLiteral("Lista"));
  EXPECT_EQ(printers.Current().name, QStringLiteral("Cantina"));
  options.Printer = QStringLiteral("UFFICIO");
  command.Print(NumberedPages(1), options, 1, QStringLiteral("Lista"));
  EXPECT_EQ(printers.Current().name, QStringLiteral("Ufficio"));
}

TEST_F(PrintCommandTest, AFileThatCannotBeWrittenIsSaidAndNothingIsLeft) {
  AnsweredPrint command(nullptr, printers);
  command.file = dir.filePath(QStringLiteral("manca/pistola.prn"));
  command.answer = [](PrintDialog& dialog) {
    dialog.findChild<QCheckBox*>(QStringLiteral("FileCB"))->setChecked(true);
    dialog.accept();
    return dialog.result() == QDialog::Accepted;
  };
  EXPECT_FALSE(command.Print(NumberedPages(2), options, 1, QStringLiteral("Lista")));
  ASSERT_EQ(command.errors.size(), 1);
  EXPECT_TRUE(command.errors[0].startsWith(QStringLiteral("Cannot write the file \"") + command.file))
      << command.errors[0].toStdString();
  EXPECT_TRUE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace report
