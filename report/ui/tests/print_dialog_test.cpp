#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "print_ui_fixture.h"
#include "report/ui/print_dialog.h"
#include "report/ui/print_pictures.h"

namespace report {
namespace {

class PrintDialogTest : public ::testing::Test {
 protected:
  void Make(const PrintJobOptions& options = {}, int currentPage = 4, int pageCount = 10) {
    dialog = std::make_unique<PrintDialog>(printers, options, currentPage, pageCount);
    dialog->ShowError = [this](QWidget*, const QString& text) { errors.append(text); };
    dialog->ChooseFile = [this](QWidget*, const QString& caption, const QString& filter) {
      asked.append(caption + QStringLiteral(" | ") + filter);
      return chosenFile;
    };
  }
  template <typename W>
  W* Find(const char* name) {
    W* widget = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void PressOk() { QTest::mouseClick(Find<QPushButton>("OkB"), Qt::LeftButton); }

  PrinterList printers{report::testing::TwoPrinters(), 1};
  std::unique_ptr<PrintDialog> dialog;
  QStringList errors;
  QStringList asked;
  QString chosenFile;
};

TEST_F(PrintDialogTest, ShowsItsTextsAndTheTemplateDefaults) {
  Make();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Print"));
  EXPECT_EQ(dialog->size(), QSize(557, 334));
  QStringList groups;
  for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) groups.append(group->title());
  EXPECT_EQ(groups, (QStringList{"Printer", "Pages", "Copies", "Other", "Print mode"}));
  QStringList labels;
  for (const QLabel* label : dialog->findChildren<QLabel*>()) labels.append(label->text());
  for (const char* text : {"Name:", "Where:", "Number of copies", "Print", "Order", "Duplex", "Print on paper",
                           "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12"}) {
    EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
  }

  const auto* list = Find<QComboBox>("PrintersCB");
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), QStringLiteral("Ufficio"));
  EXPECT_FALSE(list->itemIcon(0).isNull());
  EXPECT_EQ(list->currentText(), QStringLiteral("Cantina"));  // the current printer
  EXPECT_EQ(Find<QLabel>("WhereL")->text(), QStringLiteral("usb://Cantina/Laser"));
  EXPECT_EQ(Find<QPushButton>("PropButton")->text(), QStringLiteral("Properties..."));
  EXPECT_EQ(Find<QCheckBox>("FileCB")->text(), QStringLiteral("Print to file"));
  EXPECT_FALSE(Find<QCheckBox>("FileCB")->isChecked());

  EXPECT_TRUE(Find<QRadioButton>("AllRB")->isChecked());
  EXPECT_EQ(Find<QRadioButton>("CurPageRB")->text(), QStringLiteral("Current page"));
  EXPECT_EQ(Find<QRadioButton>("PageNumbersRB")->text(), QStringLiteral("Pages:"));
  EXPECT_EQ(Find<QSpinBox>("CopiesE")->value(), 1);
  EXPECT_EQ(Find<QSpinBox>("CopiesE")->minimum(), 1);
  EXPECT_TRUE(Find<QCheckBox>("CollateCB")->isChecked());

  const auto items = [](const QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts.append(box->itemText(i));
    return texts;
  };
  EXPECT_EQ(items(Find<QComboBox>("PrintPagesCB")), (QStringList{"All pages", "Odd pages", "Even pages"}));
  EXPECT_EQ(items(Find<QComboBox>("OrderCB")), (QStringList{"Direct (1-9)", "Reverse (9-1)"}));
  EXPECT_EQ(items(Find<QComboBox>("DuplexCB")), (QStringList{"Default", "Vertical", "Horizontal", "Simplex"}));
  const auto* modes = Find<QComboBox>("ScaleCB");
  EXPECT_EQ(items(modes), (QStringList{"Default", "Split big pages", "Join small pages", "Scale"}));
  for (int i = 0; i < modes->count(); ++i) EXPECT_FALSE(modes->itemIcon(i).isNull()) << i;
  EXPECT_EQ(items(Find<QComboBox>("PaperCB")), (QStringList{"Default", "A4", "A3"}));
  EXPECT_TRUE(Find<QComboBox>("PaperCB")->isHidden());
}

TEST_F(PrintDialogTest, ShowsTheOptionsItIsGiven) {
  PrintJobOptions options;
  options.Copies = 3;
  options.Collate = false;
  options.PageNumbers = QStringLiteral("2-3");
  options.PrintPages = PrintPages::ppEven;
  options.Reverse = true;
  options.PrintMode = PrintMode::pmScale;
  options.PrintOnSheet = 8;  // A3
  Make(options);
  EXPECT_EQ(Find<QSpinBox>("CopiesE")->value(), 3);
  EXPECT_FALSE(Find<QCheckBox>("CollateCB")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("PageNumbersRB")->isChecked());
  EXPECT_EQ(Find<QLineEdit>("PageNumbersE")->text(), QStringLiteral("2-3"));
  EXPECT_EQ(Find<QComboBox>("PrintPagesCB")->currentText(), QStringLiteral("Even pages"));
  EXPECT_EQ(Find<QComboBox>("OrderCB")->currentText(), QStringLiteral("Reverse (9-1)"));
  EXPECT_EQ(Find<QComboBox>("ScaleCB")->currentText(), QStringLiteral("Scale"));
  EXPECT_FALSE(Find<QComboBox>("PaperCB")->isHidden());
  EXPECT_EQ(Find<QComboBox>("PaperCB")->currentText(), QStringLiteral("A3"));

  // The paper shows only for the modes that use it.
  for (const auto& [mode, shown] : {std::pair{0, false}, std::pair{1, false}, std::pair{2, true}, std::pair{3, true}}) {
    Find<QComboBox>("ScaleCB")->setCurrentIndex(mode);
    EXPECT_EQ(!Find<QComboBox>("PaperCB")->isHidden(), shown) << mode;
  }
}

TEST_F(PrintDialogTest, OkStoresTheChoicesAsOptions) {
  struct Case {
    const char* radio;
    const char* typed;
    QString pages;
  };
  for (const Case& c : {Case{"AllRB", "", QString()}, Case{"CurPageRB", "", QStringLiteral("3")},
                        Case{"PageNumbersRB", "1,3,5-12", QStringLiteral("1,3,5-12")}}) {
    SCOPED_TRACE(c.radio);
    Make({}, 3);
    Find<QLineEdit>("PageNumbersE")->setText(QString::fromUtf8(c.typed));
    Find<QRadioButton>(c.radio)->setChecked(true);
    Find<QSpinBox>("CopiesE")->setValue(2);
    Find<QCheckBox>("CollateCB")->setChecked(false);
    Find<QComboBox>("PrintPagesCB")->setCurrentIndex(1);
    Find<QComboBox>("OrderCB")->setCurrentIndex(1);
    Find<QComboBox>("DuplexCB")->setCurrentIndex(2);
    Find<QComboBox>("ScaleCB")->setCurrentIndex(2);
    Find<QComboBox>("PaperCB")->setCurrentIndex(1);  // A4
    PressOk();
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << errors.join(QLatin1Char('\n')).toStdString();
    const PrintJobOptions got = dialog->Options();
    EXPECT_EQ(got.PageNumbers, c.pages);
    EXPECT_EQ(got.Copies, 2);
    EXPECT_FALSE(got.Collate);
    EXPECT_EQ(got.PrintPages, PrintPages::ppOdd);
    EXPECT_TRUE(got.Reverse);
    EXPECT_EQ(got.Duplex, Duplex::dmHorizontal);
    EXPECT_EQ(got.PrintMode, PrintMode::pmJoin);
    EXPECT_EQ(got.PrintOnSheet, 9);
    EXPECT_TRUE(dialog->OutputFile().isEmpty());
  }
}

TEST_F(PrintDialogTest, ThePageBoxAndPagesChoiceGoTogether) {
  Make();
  dialog->show();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  auto* pages = Find<QLineEdit>("PageNumbersE");
  // Entering the box selects "Pages:".
  pages->setFocus(Qt::MouseFocusReason);
  EXPECT_TRUE(Find<QRadioButton>("PageNumbersRB")->isChecked());
  // Choosing "Pages:" moves the focus into the box.
  Find<QRadioButton>("AllRB")->setFocus();
  Find<QRadioButton>("AllRB")->setChecked(true);
  QTest::mouseClick(Find<QRadioButton>("PageNumbersRB"), Qt::LeftButton);
  EXPECT_TRUE(pages->hasFocus());
  // So does typing in it.
  Find<QRadioButton>("CurPageRB")->setChecked(true);
  QTest::keyClicks(pages, QStringLiteral("2"));
  EXPECT_TRUE(Find<QRadioButton>("PageNumbersRB")->isChecked());
}

TEST_F(PrintDialogTest, TheCollatePictureFollowsTheCheckBox) {
  Make();
  const auto picture = [&] { return Find<QLabel>("CollateImage")->pixmap().toImage(); };
  EXPECT_EQ(picture(), CollatePicture(true).toImage());
  Find<QCheckBox>("CollateCB")->setChecked(false);
  EXPECT_EQ(picture(), CollatePicture(false).toImage());
  EXPECT_NE(CollatePicture(true).toImage(), CollatePicture(false).toImage());
}

TEST_F(PrintDialogTest, PrintToFileAsksForAPrnFile) {
  for (const auto& [chosen, file] :
       {std::pair{QStringLiteral("/tmp/liste/pistola.txt"), QStringLiteral("/tmp/liste/pistola.prn")},
        std::pair{QStringLiteral("/tmp/liste/pistola"), QStringLiteral("/tmp/liste/pistola.prn")},
        std::pair{QStringLiteral("/tmp/liste/lista.2026.prn"), QStringLiteral("/tmp/liste/lista.2026.prn")}}) {
    Make();
    asked.clear();
    chosenFile = chosen;
    Find<QCheckBox>("FileCB")->setChecked(true);
    PressOk();
    EXPECT_EQ(asked, QStringList{QStringLiteral("Print To File | Printer files (*.prn)")});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->OutputFile(), file);
  }

  // Cancelling the file dialog cancels the print, and the printer chosen
  // before goes back.
  Make();
  chosenFile.clear();
  Find<QComboBox>("PrintersCB")->setCurrentIndex(0);
  EXPECT_EQ(printers.Current().name, QStringLiteral("Ufficio"));
  Find<QCheckBox>("FileCB")->setChecked(true);
  PressOk();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(printers.Current().name, QStringLiteral("Cantina"));
}

TEST_F(PrintDialogTest, ChoosingAPrinterShowsWhereItPrintsAndItsPapers) {
  Make();
  Find<QComboBox>("PrintersCB")->setCurrentIndex(0);
  EXPECT_EQ(Find<QLabel>("WhereL")->text(), QStringLiteral("ipp://ufficio.local/ipp/print"));
  EXPECT_EQ(Find<QComboBox>("PaperCB")->count(), 4);
  PressOk();
  EXPECT_EQ(printers.Current().name, QStringLiteral("Ufficio"));  // stays after OK

  Make();
  Find<QComboBox>("PrintersCB")->setCurrentIndex(1);
  QTest::mouseClick(Find<QPushButton>("CancelB"), Qt::LeftButton);
  EXPECT_EQ(printers.Current().name, QStringLiteral("Ufficio"));  // Cancel puts it back
}

TEST_F(PrintDialogTest, PagesThatSelectNothingAreSaidAndTheDialogStays) {
  struct Case {
    const char* pages;
    int printPages;
    QString error;
  };
  for (const Case& c :
       {Case{"1,x", 0, QStringLiteral("'x' is not a valid integer value")},
        Case{"3 - a", 0, QStringLiteral("'a' is not a valid integer value")},
        Case{"7-3", 0, QStringLiteral("There is no page to print in \"7-3\": the report has pages 1 to 10")},
        Case{"11-", 0, QStringLiteral("There is no page to print in \"11-\": the report has pages 1 to 10")},
        Case{"2,4", 1, QStringLiteral("There is no page to print among the pages chosen (2,4) of the 10 pages of the report")}}) {
    SCOPED_TRACE(c.pages);
    Make();
    errors.clear();
    Find<QLineEdit>("PageNumbersE")->setText(QString::fromUtf8(c.pages));
    Find<QRadioButton>("PageNumbersRB")->setChecked(true);
    Find<QComboBox>("PrintPagesCB")->setCurrentIndex(c.printPages);
    Find<QCheckBox>("FileCB")->setChecked(true);
    chosenFile = QStringLiteral("/tmp/x.prn");
    PressOk();
    EXPECT_EQ(errors, QStringList{c.error});
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(asked.isEmpty());  // no file is asked for before the pages are right
  }
}

}  // namespace
}  // namespace report
