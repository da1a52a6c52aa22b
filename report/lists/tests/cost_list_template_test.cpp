// The two cost-list templates as the program loads them from its resources:
// paper, bands and views where the lists put them (millimetres from the
// top-left of the printable area), their texts and formats, the pictures
// they hold, and what differs between the pistol and the rifle list.
#include <QImage>

#include <cmath>

#include <gtest/gtest.h>

#include "report/lists/cost_list_templates.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/model/units.h"

namespace report::lists {
namespace {

// Stored positions are rounded to 1e-5 units.
constexpr double kSlack = 1e-4;  // report units

std::unique_ptr<Report> Loaded(CostList list) {
  auto report = std::make_unique<Report>();
  TemplateError error;
  EXPECT_TRUE(LoadTemplate(*report, TemplateFile(list), &error)) << error.Text().toStdString();
  return report;
}

ReportPage& Page1(Report& report) {
  EXPECT_EQ(report.ReportPages().size(), 1u);
  return *report.ReportPages().front();
}

class CostListTemplateTest : public ::testing::TestWithParam<CostList> {
 protected:
  CostList List() const { return GetParam(); }
  std::string DataSetName() const {
    return List() == CostList::Pistol ? "repDBDataset1" : "repDBDataset2";
  }
};

TEST_P(CostListTemplateTest, ReportSettingsDataSetAndVariables) {
  auto report = Loaded(List());
  EXPECT_EQ(report->Version(), QStringLiteral("4.3"));
  EXPECT_FALSE(report->DotMatrixReport());
  EXPECT_EQ(report->IniFile(), QStringLiteral("\\Software\\Versanto Reports"));
  EXPECT_EQ(report->PreviewOptions().buttons, 0xFFF);
  EXPECT_EQ(report->PreviewOptions().zoom, 1.0);
  EXPECT_EQ(report->PrintOptions().printer, QStringLiteral("Default"));
  EXPECT_EQ(report->ScriptLanguage(), QStringLiteral("PascalScript"));
  EXPECT_EQ(report->ScriptText(), QStringLiteral("\nbegin\n\nend."));
  EXPECT_DOUBLE_EQ(report->ReportOptions().createDate, 40525.9485128241);
  EXPECT_DOUBLE_EQ(report->ReportOptions().lastChange,
                   List() == CostList::Pistol ? 40678.3933407407 : 40874.857789294);

  ASSERT_EQ(report->DataSets().size(), 1u);
  EXPECT_EQ(report->DataSets()[0].dataSetName.toStdString(), DataSetName());

  const std::string ds = DataSetName();
  const std::vector<std::pair<std::string, std::string>> expected = {
      {" Spese", ""},
      {"costoPalla", "<" + ds + ".\"CoPalle\">/<" + ds + ".\"Palle\">"},
      {"costoInnesco", "<" + ds + ".\"CoInn\">/<" + ds + ".\"Inneschi\">"},
      {"costoPolvere", "<costoGrano>*<" + ds + ".\"Polvere\">"},
      {"costoBossolo", "<" + ds + ".\"CoBoss\">/<" + ds + ".\"Bossoli\">"},
      {"Totale", "<costoPalla>+<costoInnesco>+<costoPolvere>+<costoBossolo>"},
      {"costoGrano", "<" + ds + ".\"CoPol\">/15432"},
  };
  const auto& variables = report->Variables();
  ASSERT_EQ(variables.Size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& variable = variables.At(i);
    EXPECT_EQ(variable.name, expected[i].first);
    if (i == 0) {
      EXPECT_TRUE(variable.value.IsNull()) << "the category header has no value";
    } else {
      EXPECT_EQ(variable.value.AsText(), expected[i].second) << variable.name;
    }
  }
}

TEST_P(CostListTemplateTest, A4PageWithItsBands) {
  auto report = Loaded(List());
  ASSERT_EQ(report->Pages().size(), 2u);
  EXPECT_EQ(report->Pages()[0]->Type(), ObjectType::DataPage);
  EXPECT_EQ(report->Pages()[0]->Name(), QStringLiteral("Data"));
  ReportPage& page = Page1(*report);
  EXPECT_EQ(page.Name(), QStringLiteral("Page1"));
  EXPECT_EQ(page.PaperWidth(), 210);
  EXPECT_EQ(page.PaperHeight(), 297);
  EXPECT_EQ(page.PaperSize(), 9);
  EXPECT_EQ(page.Orientation(), Orientation::poPortrait);
  for (double margin : {page.LeftMargin(), page.RightMargin(), page.TopMargin(), page.BottomMargin()}) {
    EXPECT_EQ(margin, 10);
  }
  EXPECT_NEAR(page.PrintableWidth(), 718.1107, kSlack);

  struct Expected {
    const char* name;
    BandType kind;
    double topMm, heightMm;
  };
  const Expected bands[] = {
      {"ReportTitle1", BandType::ReportTitle, 5, 6},
      {"PageHeader1", BandType::PageHeader, 17, 6},
      {"Header1", BandType::Header, 39, 6},
      {List() == CostList::Pistol ? "MasterData1" : "MasterData2", BandType::MasterData, 51, 6},
      {"PageFooter1", BandType::PageFooter, 73, 35},
  };
  for (const Expected& e : bands) {
    SCOPED_TRACE(e.name);
    const Band* band = page.FindBand(QString::fromLatin1(e.name));
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->Kind(), e.kind);
    EXPECT_NEAR(band->Left(), 0, kSlack);
    EXPECT_NEAR(band->Top(), MmToUnits(e.topMm), kSlack);
    EXPECT_NEAR(band->Height(), MmToUnits(e.heightMm), kSlack);
    EXPECT_NEAR(band->Width(), MmToUnits(190), kSlack);
  }
  const Band* data = page.FirstBand(BandType::MasterData);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->DataSetName().toStdString(), DataSetName());
  EXPECT_EQ(data->RowCount(), 0);
}

TEST_P(CostListTemplateTest, MemosWithTheirTextsPlacesAndFormats) {
  auto report = Loaded(List());
  ReportPage& page = Page1(*report);
  struct Expected {
    const char* band;
    const char* name;
    double leftMm, widthMm;
    const char* text;
    bool money;
  };
  const std::string typeText = "[" + DataSetName() + ".\"tipologia\"]";
  const Expected memos[] = {
      {"ReportTitle1", "Memo3", 80, 25, "Costi", false},
      {"PageHeader1", "Memo4", 2, 21, "Tipologia", false},
      {"PageHeader1", "Memo5", 41, 18, "CostoPalla", false},
      {"PageHeader1", "Memo9", 60, 23, "CostoInnesco", false},
      {"PageHeader1", "Memo10", 83, 24, "CostoPolvere", false},
      {"PageHeader1", "Memo11", 108, 23, "CostoBossolo", false},
      {"PageHeader1", "Memo6", 136, 25, "Cartuccia", false},
      {"PageHeader1", "Memo7", 164, 25, "Scatola", false},
      {"Header1", "Memo8", 27, 144, "", false},
      {nullptr, "Memo2", 0, 40, typeText.c_str(), false},
      {nullptr, "costoPalla", 41, 21, "[costoPalla]", true},
      {nullptr, "costoInnesco", 63, 21, "[costoInnesco]", true},
      {nullptr, "costoPolvere", 87, 21, "[costoPolvere]", true},
      {nullptr, "costoBossolo", 112, 21, "[costoBossolo]", true},
      {nullptr, "Totale", 137, 21, "[Totale]", true},
      {nullptr, "Memo12", 165, 25, "[<Totale>*50]", true},
  };
  const Band* data = page.FirstBand(BandType::MasterData);
  ASSERT_NE(data, nullptr);
  for (const Expected& e : memos) {
    SCOPED_TRACE(e.name);
    const auto* memo = dynamic_cast<const MemoView*>(page.FindObject(QString::fromLatin1(e.name)));
    ASSERT_NE(memo, nullptr);
    const Band* band = e.band ? page.FindBand(QString::fromLatin1(e.band)) : data;
    EXPECT_EQ(memo->Parent(), band);
    EXPECT_NEAR(memo->Left(), MmToUnits(e.leftMm), kSlack);
    EXPECT_NEAR(memo->Top(), 0, kSlack);
    EXPECT_NEAR(memo->Width(), MmToUnits(e.widthMm), kSlack);
    EXPECT_NEAR(memo->Height(), MmToUnits(5), kSlack);
    EXPECT_EQ(memo->Text().toStdString(), e.text);
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_EQ(memo->Font(), Font{});  // Arial, 13 pixels (10 points), black, regular
    EXPECT_EQ(memo->HAlign(), HAlign::haLeft);
    EXPECT_EQ(memo->DisplayFormat().decimalSeparator, ",");
    EXPECT_EQ(memo->DisplayFormat().kind, e.money ? expr::FormatKind::fkNumeric : expr::FormatKind::fkText);
    EXPECT_EQ(memo->DisplayFormat().formatStr, e.money ? "%2.2m" : "");
  }

  const auto* pageNumber = dynamic_cast<const MemoView*>(page.FindObject(QStringLiteral("Memo1")));
  ASSERT_NE(pageNumber, nullptr);
  EXPECT_EQ(pageNumber->Parent(), page.FindBand(QStringLiteral("PageFooter1")));
  EXPECT_NEAR(pageNumber->Left(), MmToUnits(170), kSlack);
  EXPECT_NEAR(pageNumber->Width(), MmToUnits(20), kSlack);
  EXPECT_EQ(pageNumber->Text(), QStringLiteral("[Page#]"));
  EXPECT_EQ(pageNumber->HAlign(), HAlign::haRight);
  EXPECT_TRUE(pageNumber->ParentFont());
  EXPECT_EQ(pageNumber->DisplayFormat().decimalSeparator, "");
}

// The pistol memo shows the field itself; the rifle one names the pistol
// dataset without a field, so it prints its text, evaluated over the rifle
// dataset. That is how the rifle template is stored.
TEST_P(CostListTemplateTest, TypeColumnBinding) {
  auto report = Loaded(List());
  const auto* memo = dynamic_cast<const MemoView*>(Page1(*report).FindObject(QStringLiteral("Memo2")));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->DataSetName(), QStringLiteral("repDBDataset1"));
  EXPECT_EQ(memo->DataField(),
            List() == CostList::Pistol ? QStringLiteral("tipologia") : QString());
}

TEST_P(CostListTemplateTest, PhotographInTheFooterAndIconOnThePage) {
  auto report = Loaded(List());
  ReportPage& page = Page1(*report);

  const auto* photo = dynamic_cast<const PictureView*>(page.FindObject(QStringLiteral("Picture1")));
  ASSERT_NE(photo, nullptr);
  EXPECT_EQ(photo->Parent(), page.FindBand(QStringLiteral("PageFooter1")));
  EXPECT_NEAR(photo->Left(), MmToUnits(115), kSlack);
  EXPECT_NEAR(photo->Top(), MmToUnits(3), kSlack);
  EXPECT_NEAR(photo->Width(), MmToUnits(35), kSlack);
  EXPECT_NEAR(photo->Height(), MmToUnits(26), kSlack);
  EXPECT_TRUE(photo->Stretched());
  EXPECT_TRUE(photo->KeepAspectRatio());
  EXPECT_EQ(photo->Picture().Format(), QStringLiteral("JPEG"));
  EXPECT_EQ(photo->Picture().Image().size(), QSize(1024, 768));

  // Directly on the page, outside every band: printed once, on the first page.
  const auto* icon = dynamic_cast<const PictureView*>(page.FindObject(QStringLiteral("Picture2")));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Parent(), &page);
  EXPECT_NEAR(icon->Left(), MmToUnits(22), kSlack);
  EXPECT_NEAR(icon->Top(), MmToUnits(4), kSlack);
  EXPECT_NEAR(icon->Width(), MmToUnits(10), kSlack);
  EXPECT_NEAR(icon->Height(), MmToUnits(5), kSlack);
  EXPECT_TRUE(icon->Stretched());
  EXPECT_TRUE(icon->KeepAspectRatio());
  EXPECT_EQ(icon->Picture().Format(), QStringLiteral("ICO"));
  EXPECT_EQ(icon->Picture().Image().size(), QSize(128, 128));
}

INSTANTIATE_TEST_SUITE_P(BothLists, CostListTemplateTest,
                         ::testing::Values(CostList::Pistol, CostList::Rifle),
                         [](const ::testing::TestParamInfo<CostList>& param) {
                           return param.param == CostList::Pistol ? "Pistol" : "Rifle";
                         });

}  // namespace
}  // namespace report::lists
