// Templates to XML and back, and the broken templates that must be refused
// with the place of the fault and without touching the report loaded before.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "report/model/object_xml.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/model/units.h"

namespace report {
namespace {

QString DataFile(const QString& name) {
  return QDir(QString::fromLocal8Bit(qgetenv("VERSANTO_TEST_DATA"))).filePath(name);
}

void FillSample(Report& r) {
  r.ReportOptions();
  auto options = r.ReportOptions();
  options.name = QStringLiteral("Lista <prova> & \"costi\"");
  r.SetReportOptions(options);
  r.DataSets().push_back({QStringLiteral("repDBDataset1"), nullptr});
  r.Variables().Add(" Spese", expr::Value::Null());
  r.Variables().Add("costoPalla", expr::Value("<repDBDataset1.\"CoPalle\">/<repDBDataset1.\"Palle\">"));
  r.AddPage(std::make_unique<DataPage>())->SetName(QStringLiteral("Data"));
  auto page = std::make_unique<ReportPage>();
  page->SetName(QStringLiteral("Page1"));
  page->SetLeftMargin(12.5);
  auto band = std::make_unique<Band>(BandType::MasterData);
  band->SetName(QStringLiteral("MasterData1"));
  band->SetTop(MmToUnits(51));
  band->SetWidth(MmToUnits(190));
  band->SetHeight(MmToUnits(6));
  band->SetDataSetName(QStringLiteral("repDBDataset1"));
  auto memo = std::make_unique<MemoView>();
  memo->SetName(QStringLiteral("Memo12"));
  memo->SetText(QStringLiteral("[<Totale>*50]\nseconda riga"));
  memo->SetLeft(MmToUnits(165));
  memo->SetWidth(MmToUnits(25));
  memo->SetHeight(MmToUnits(5));
  memo->SetHAlign(HAlign::haRight);
  memo->SetParentFont(false);
  Font font;
  font.bold = true;
  font.color = QColor(0x12, 0x34, 0x56);
  memo->SetFont(font);
  memo->SetDisplayFormat({expr::FormatKind::fkNumeric, "%2.2m", ","});
  band->AddObject(std::move(memo));
  page->AddObject(std::move(band));
  auto picture = std::make_unique<PictureView>();
  picture->SetName(QStringLiteral("Picture2"));
  picture->SetPicture(Picture(QByteArray("\x89PNG fake bytes", 15), QStringLiteral("PNG")));
  picture->SetCenter(true);
  page->AddObject(std::move(picture));
  r.AddPage(std::move(page));
}

TEST(TemplateXml, SaveLoadSaveGivesTheSameText) {
  Report original;
  FillSample(original);
  const QByteArray xml = TemplateToXml(original);

  Report loaded;
  TemplateError error;
  ASSERT_TRUE(LoadTemplateFromData(loaded, xml, QStringLiteral("sample.xml"), &error))
      << error.Text().toStdString();
  EXPECT_EQ(TemplateToXml(loaded), xml);

  ASSERT_EQ(loaded.ReportPages().size(), 1u);
  const ReportPage& page = *loaded.ReportPages()[0];
  EXPECT_DOUBLE_EQ(page.LeftMargin(), 12.5);
  const auto* memo = static_cast<const MemoView*>(page.FindObject(QStringLiteral("memo12")));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Text(), QStringLiteral("[<Totale>*50]\nseconda riga"));
  EXPECT_DOUBLE_EQ(memo->Left(), MmToUnits(165));
  EXPECT_TRUE(memo->Font().bold);
  EXPECT_EQ(memo->Font().color, QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(memo->DisplayFormat().formatStr, "%2.2m");
  EXPECT_EQ(loaded.ReportOptions().name, QStringLiteral("Lista <prova> & \"costi\""));
  ASSERT_EQ(loaded.Variables().Size(), 2u);
  EXPECT_TRUE(loaded.Variables().At(0).value.IsNull());
  const auto* picture = static_cast<const PictureView*>(page.FindObject(QStringLiteral("Picture2")));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Picture().Data(), QByteArray("\x89PNG fake bytes", 15));
}

TEST(TemplateXml, DefaultsAreNotWritten) {
  Report r;
  r.AddPage(std::make_unique<ReportPage>())->SetName(QStringLiteral("Page1"));
  const QString xml = QString::fromUtf8(TemplateToXml(r));
  EXPECT_FALSE(xml.contains(QLatin1String("PaperWidth"))) << xml.toStdString();
  EXPECT_FALSE(xml.contains(QLatin1String("Version")));
}

TEST(TemplateXml, MillimetresConvertWithTheTemplateFactor) {
  EXPECT_DOUBLE_EQ(MmToUnits(5), 18.89765);
  EXPECT_DOUBLE_EQ(MmToUnits(6), 22.67718);
  ReportPage a4;
  EXPECT_NEAR(a4.PrintableWidth(), 718.1107, 1e-9);
  EXPECT_NEAR(a4.PrintableHeight(), 1046.92981, 1e-9);
}

TEST(TemplateXml, MinimalFixtureLoads) {
  Report r;
  TemplateError error;
  ASSERT_TRUE(LoadTemplate(r, DataFile(QStringLiteral("templates/minimal.xml")), &error))
      << error.Text().toStdString();
  ASSERT_EQ(r.ReportPages().size(), 1u);
  EXPECT_NE(r.ReportPages()[0]->FindBand(QStringLiteral("MasterData1")), nullptr);
}

struct BadTemplate {
  const char* file;
  const char* message;  // a part of the error text
  int line;             // 0: any line
};

class BadTemplates : public ::testing::TestWithParam<BadTemplate> {};

TEST_P(BadTemplates, AreRefusedWithTheirPlaceAndLeaveTheReportAlone) {
  const BadTemplate& bad = GetParam();
  Report r;
  TemplateError error;
  ASSERT_TRUE(LoadTemplate(r, DataFile(QStringLiteral("templates/minimal.xml")), &error));

  const QString path = DataFile(QStringLiteral("templates/") + QLatin1String(bad.file));
  EXPECT_FALSE(LoadTemplate(r, path, &error));
  EXPECT_TRUE(error.message.contains(QLatin1String(bad.message), Qt::CaseInsensitive))
      << error.Text().toStdString();
  EXPECT_EQ(error.file, path);
  if (bad.line > 0) {
    EXPECT_EQ(error.line, bad.line) << error.Text().toStdString();
  }
  // The template loaded before is still whole.
  ASSERT_EQ(r.ReportPages().size(), 1u);
  EXPECT_NE(r.ReportPages()[0]->FindBand(QStringLiteral("MasterData1")), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, BadTemplates,
    ::testing::Values(BadTemplate{"truncated.xml", "premature end", 0},
                      BadTemplate{"not_xml.xml", "", 1},
                      BadTemplate{"other_kind.xml", "root element is html", 2},
                      BadTemplate{"unknown_class.xml", "Unknown class TRepBarCodeView", 4},
                      BadTemplate{"unknown_property.xml", "Unknown property Colour", 4},
                      BadTemplate{"zero_width_page.xml", "no printable area", 0},
                      BadTemplate{"margins_too_wide.xml", "no printable area", 0},
                      BadTemplate{"negative_margin.xml", "TRepReportPage.TopMargin", 3},
                      BadTemplate{"nan_height.xml", "TRepMasterData.Height", 4},
                      BadTemplate{"band_in_band.xml", "TRepHeader cannot be placed in TRepMasterData", 5},
                      BadTemplate{"deep_nesting.xml", "cannot be placed in TRepMemoView", 4},
                      BadTemplate{"duplicate_name.xml", "Duplicate name memo1", 0},
                      BadTemplate{"child_loop.xml", "form a loop", 0},
                      BadTemplate{"no_page.xml", "no report page", 0},
                      BadTemplate{"bad_picture.xml", "not base64", 4},
                      BadTemplate{"missing_file.xml", "Cannot open", 0}),
    [](const auto& testInfo) {
      std::string n = testInfo.param.file;
      return n.substr(0, n.find('.'));
    });

TEST(TemplateXml, SaveReplacesTheFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("t.xml"));
  Report r;
  FillSample(r);
  QString error;
  ASSERT_TRUE(SaveTemplate(r, path, &error)) << error.toStdString();
  Report back;
  TemplateError loadError;
  ASSERT_TRUE(LoadTemplate(back, path, &loadError)) << loadError.Text().toStdString();
  EXPECT_EQ(TemplateToXml(back), TemplateToXml(r));
  // A save into a folder that does not exist fails and says so.
  EXPECT_FALSE(SaveTemplate(r, dir.filePath(QStringLiteral("none/t.xml")), &error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace report
