#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include "print_ui_fixture.h"
#include "report/ui/page_settings.h"

namespace report {
namespace {

PagePaper A4() { return PagePaper{}; }

class PageSettingsTest : public ::testing::Test {
 protected:
  void Make(SizeUnits units = SizeUnits::kCentimetres, PagePaper page = A4()) {
    form = std::make_unique<PageSettingsForm>(printer, page, units);
    form->ShowError = [this](QWidget*, const QString& text) { errors.append(text); };
    form->show();
  }
  template <typename W>
  W* Find(const char* name) {
    W* widget = form->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* edit) { return Find<QLineEdit>(edit)->text(); }
  void Type(const char* edit, const QString& text) {
    auto* box = Find<QLineEdit>(edit);
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  void ChoosePaper(const QString& name) {
    auto* list = Find<QComboBox>("SizeCB");
    const int index = list->findText(name);
    ASSERT_GE(index, 0) << name.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  void PressOk() { QTest::mouseClick(Find<QPushButton>("OkB"), Qt::LeftButton); }

  PrinterEntry printer = report::testing::TwoPrinters()[0];
  std::unique_ptr<PageSettingsForm> form;
  QStringList errors;
};

TEST_F(PageSettingsTest, ShowsThePageInCentimetresOrInches) {
  Make();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Page Settings"));
  QStringList groups;
  for (const QGroupBox* group : form->findChildren<QGroupBox*>()) groups.append(group->title());
  EXPECT_EQ(groups, (QStringList{"Size", "Orientation", "Margins", "Other"}));
  EXPECT_EQ(Find<QComboBox>("SizeCB")->currentText(), QStringLiteral("A4"));
  EXPECT_EQ(Find<QComboBox>("SizeCB")->count(), 4);  // "Custom" and the printer's three
  EXPECT_EQ(Text("WidthE"), QStringLiteral("21"));
  EXPECT_EQ(Text("HeightE"), QStringLiteral("29.7"));
  for (const char* margin : {"MarginLeftE", "MarginTopE", "MarginRightE", "MarginBottomE"}) {
    EXPECT_EQ(Text(margin), QStringLiteral("1")) << margin;
  }
  EXPECT_TRUE(Find<QRadioButton>("PortraitRB")->isChecked());
  EXPECT_EQ(Find<QRadioButton>("ApplyToCurRB")->text(), QStringLiteral("Apply to the current page"));
  EXPECT_EQ(Find<QRadioButton>("ApplyToAllRB")->text(), QStringLiteral("Apply to all pages"));
  int cm = 0;
  for (const QLabel* label : form->findChildren<QLabel*>()) cm += label->text() == QStringLiteral("cm");
  EXPECT_EQ(cm, 6);

  Make(SizeUnits::kInches);
  EXPECT_EQ(Text("WidthE"), QStringLiteral("8.27"));
  EXPECT_EQ(Text("HeightE"), QStringLiteral("11.69"));
  EXPECT_EQ(Text("MarginLeftE"), QStringLiteral("0.39"));
  int inches = 0;
  for (const QLabel* label : form->findChildren<QLabel*>()) inches += label->text() == QStringLiteral("in");
  EXPECT_EQ(inches, 6);
}

TEST_F(PageSettingsTest, TheUnitsComeFromTheReportsSettingsKey) {
  OpenReportSettings(kDefaultIniFile)->setValue(QStringLiteral("Form.TRepDesignerForm/Units"), 1);
  Make(ReadSizeUnits(kDefaultIniFile));
  EXPECT_EQ(Text("WidthE"), QStringLiteral("8.27"));
  OpenReportSettings(kDefaultIniFile)->clear();
  Make(ReadSizeUnits(kDefaultIniFile));
  EXPECT_EQ(Text("WidthE"), QStringLiteral("21"));
}

TEST_F(PageSettingsTest, PaperAndOrientationFillTheSizeAndTypingMakesItCustom) {
  Make();
  ChoosePaper(QPageSize(QPageSize::Letter).name());
  EXPECT_EQ(Text("WidthE"), QStringLiteral("21.59"));
  EXPECT_EQ(Text("HeightE"), QStringLiteral("27.94"));
  QTest::mouseClick(Find<QRadioButton>("LandscapeRB"), Qt::LeftButton);
  EXPECT_EQ(Text("WidthE"), QStringLiteral("27.94"));
  EXPECT_EQ(Text("HeightE"), QStringLiteral("21.59"));
  Type("WidthE", QStringLiteral("30"));
  EXPECT_EQ(Find<QComboBox>("SizeCB")->currentText(), QStringLiteral("Custom"));
  // A size of one's own turns with the paper.
  QTest::mouseClick(Find<QRadioButton>("PortraitRB"), Qt::LeftButton);
  EXPECT_EQ(Text("WidthE"), QStringLiteral("21.59"));
  EXPECT_EQ(Text("HeightE"), QStringLiteral("30"));
}

TEST_F(PageSettingsTest, OkGivesThePageBackInMillimetres) {
  Make(SizeUnits::kInches);
  // Untouched values keep their exact millimetres.
  PressOk();
  ASSERT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(form->Page(), A4());

  Make();
  ChoosePaper(QStringLiteral("A5"));
  QTest::mouseClick(Find<QRadioButton>("LandscapeRB"), Qt::LeftButton);
  Type("MarginLeftE", QStringLiteral("2,5"));
  Type("MarginTopE", QStringLiteral(" 1 . 5 "));
  Type("MarginRightE", QStringLiteral("0"));
  Find<QRadioButton>("ApplyToCurRB")->setChecked(true);
  PressOk();
  ASSERT_EQ(form->result(), QDialog::Accepted) << errors.join(QLatin1Char('\n')).toStdString();
  const PagePaper page = form->Page();
  EXPECT_EQ(page.PaperSize, 11);
  EXPECT_EQ(page.Orientation, PaperOrientation::poLandscape);
  EXPECT_NEAR(page.PaperWidth, 210, 1e-9);
  EXPECT_NEAR(page.PaperHeight, 148, 1e-9);
  EXPECT_NEAR(page.LeftMargin, 25, 1e-9);
  EXPECT_NEAR(page.TopMargin, 15, 1e-9);
  EXPECT_NEAR(page.RightMargin, 0, 1e-9);
  EXPECT_NEAR(page.BottomMargin, 10, 1e-9);
  EXPECT_FALSE(form->ApplyToAll());

  Make(SizeUnits::kInches);
  Type("WidthE", QStringLiteral("5"));
  PressOk();
  EXPECT_EQ(form->Page().PaperSize, kPaperCustom);
  EXPECT_NEAR(form->Page().PaperWidth, 127, 1e-9);
  EXPECT_TRUE(form->ApplyToAll());
}

TEST_F(PageSettingsTest, ValuesThatCannotMakeAPageAreSaidAndTheDialogStays) {
  struct Case {
    const char* edit;
    const char* typed;
    QString error;
  };
  for (const Case& c : {Case{"WidthE", "abc", QStringLiteral("'abc' is not a valid floating point value")},
                        Case{"MarginTopE", "1,2,3", QStringLiteral("'1,2,3' is not a valid floating point value")},
                        Case{"HeightE", "0", QStringLiteral("The width and height of the paper must be greater than zero")},
                        Case{"MarginLeftE", "-1", QStringLiteral("The margins cannot be less than zero")},
                        Case{"MarginRightE", "20", QStringLiteral("The margins leave no room on the page")}}) {
    SCOPED_TRACE(c.typed);
    Make();
    errors.clear();
    Type(c.edit, QString::fromUtf8(c.typed));
    PressOk();
    EXPECT_EQ(errors, QStringList{c.error});
    EXPECT_NE(form->result(), QDialog::Accepted);
  }
}

}  // namespace
}  // namespace report
