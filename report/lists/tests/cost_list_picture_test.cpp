// Page 1 of the pistol list drawn as a picture, against the one a person
// checked (tests/data/pistol_page1.png; VERSANTO_UPDATE_GOLDEN=1 writes it
// anew).
#include <QImage>
#include <QLocale>

#include <gtest/gtest.h>

#include "load_fixtures.h"
#include "loads/data_folder.h"
#include "loads/data_source.h"
#include "report/engine/db_dataset.h"
#include "report/engine/engine.h"
#include "report/lists/cost_list_templates.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/page_painter.h"
#include "report/store/prepared_pages.h"
#include "testing/test_support.h"

namespace report::lists {
namespace {

std::string TestName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

// Page 1 of the pistol list over the sample loads a new data file starts
// with, drawn at 96 dpi, against the picture a person checked. Text
// rendering may differ by a few pixels between font versions; a layout
// change moves whole lines and fails.
TEST(CostListPictureTest, PistolPageOneLooksAsChecked) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  const auto dir = testing_support::FreshDir(TestName());
  loads::LoadTable table(QString::fromStdString((dir / loads::kPistolFileName).string()),
                         loads::SampleSet::Pistol);
  table.SetRegional(testing::ItalianNumbers());
  loads::DataSource source(&table);
  DBDataset pistol(QStringLiteral("repDBDataset1"));
  pistol.SetDataSource(&source);
  Report report;
  TemplateError error;
  ASSERT_TRUE(LoadTemplate(report, TemplateFile(CostList::Pistol), &error));
  report.BindDataSet(QStringLiteral("repDBDataset1"), &pistol);
  PreparedPages pages;
  Engine engine(report, pages);
  ASSERT_TRUE(engine.BuildReport(true));
  ASSERT_EQ(pages.Count(), 1);

  const QImage drawn = RenderPage(pages, 0, 96).convertToFormat(QImage::Format_RGB32);
  QLocale::setDefault(QLocale::c());

  const QString golden = QString::fromStdString(
      (testing_support::TestDataDir() / "pistol_page1.png").string());
  if (qEnvironmentVariableIsSet("VERSANTO_UPDATE_GOLDEN")) {
    ASSERT_TRUE(drawn.save(golden));
    GTEST_SKIP() << "wrote " << golden.toStdString();
  }
  const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(expected.isNull()) << golden.toStdString();
  ASSERT_EQ(drawn.size(), expected.size());
  qint64 differing = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    for (int x = 0; x < drawn.width(); ++x) {
      const int d = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                              std::abs(qBlue(a[x]) - qBlue(b[x]))});
      if (d > 48) ++differing;
    }
  }
  const qint64 all = qint64(drawn.width()) * drawn.height();
  EXPECT_LE(differing, all / 500) << differing << " of " << all << " pixels differ";
  if (differing > all / 500) drawn.save(QString::fromStdString((dir / "pistol_page1_drawn.png").string()));
}

}  // namespace
}  // namespace report::lists
