// The prepared-report file: what is saved loads back record for record and
// draws the same; what is not a prepared report is refused as such.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "engine_fixtures.h"
#include "report/engine/rows_dataset.h"
#include "report/store/page_painter.h"

namespace report {
namespace {

using expr::FieldType;
using expr::Value;
using testing::Built;
using testing::TestData;

Built BuiltFrom(const QString& file) {
  Built b;
  TemplateError error;
  EXPECT_TRUE(LoadTemplate(*b.report, TestData(file), &error)) << error.Text().toStdString();
  EXPECT_TRUE(b.Build()) << b.Errors();
  return b;
}

void ExpectSamePages(const PreparedPages& a, const PreparedPages& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int i = 0; i < a.Count(); ++i) {
    EXPECT_EQ(a.PageSize(i), b.PageSize(i));
    EXPECT_EQ(a.LogicalPageNumber(i), b.LogicalPageNumber(i));
    const auto x = a.PageObjects(i);
    const auto y = b.PageObjects(i);
    ASSERT_EQ(x.size(), y.size()) << "page " << i;
    for (std::size_t k = 0; k < x.size(); ++k) {
      EXPECT_EQ(x[k]->ClassName(), y[k]->ClassName());
      EXPECT_EQ(x[k]->Name(), y[k]->Name());
      EXPECT_EQ(QRectF(x[k]->Left(), x[k]->Top(), x[k]->Width(), x[k]->Height()),
                QRectF(y[k]->Left(), y[k]->Top(), y[k]->Width(), y[k]->Height()));
      if (x[k]->Type() == ObjectType::MemoView) {
        EXPECT_EQ(static_cast<MemoView&>(*x[k]).Text(), static_cast<MemoView&>(*y[k]).Text());
      }
    }
  }
}

TEST(PreparedFile, CostListSavesAndLoadsTheSamePages) {
  RowsDataSet rows(QStringLiteral("repDBDataset1"),
                   {{"tipologia", FieldType::fftString}, {"CoPalle"}, {"Palle"}, {"CoInn"}, {"Inneschi"},
                    {"CoPol"}, {"Polvere"}, {"CoBoss"}, {"Bossoli"}});
  for (int i = 0; i < 90; ++i) {
    rows.AddRow({Value("9x21 <FMJ> & \"quota\" n." + std::to_string(i)), Value(25.0 + i), Value(100.0),
                 Value(30.0), Value(1000.0), Value(154.32), Value(10.0), Value(0.5), Value(5.0)});
  }
  Built b = BuiltFrom(QStringLiteral("cost_list.xml"));
  ASSERT_EQ(b.pages->Count(), 3);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("lista.vpr"));
  QString error;
  ASSERT_TRUE(b.pages->Save(path, &error)) << error.toStdString();

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<preparedreport>"));
  EXPECT_TRUE(text.contains("<Memo2 name=\"Page0.Memo2\"") || text.contains("name=\"Page0.Memo2\""));
  EXPECT_TRUE(text.contains("u=\"0,25 €\""));

  PreparedPages loaded;
  ASSERT_TRUE(loaded.Load(path, true, &error)) << loaded.LoadErrorDetail().toStdString();
  ExpectSamePages(*b.pages, loaded);
  EXPECT_EQ(RenderPage(*b.pages, 1, 96), RenderPage(loaded, 1, 96));
  EXPECT_EQ(RenderPage(*b.pages, 0, 96), RenderPage(loaded, 0, 96));  // pictures from the cache

  // Saving the loaded pages again gives the same file.
  const QString again = dir.filePath(QStringLiteral("again.vpr"));
  ASSERT_TRUE(loaded.Save(again, &error));
  QFile second(again);
  ASSERT_TRUE(second.open(QIODevice::ReadOnly));
  const QByteArray secondText = second.readAll();
  EXPECT_TRUE(secondText == text) << secondText.left(3000).toStdString();
}

TEST(PreparedFile, PicturesAreStoredOnce) {
  Built b = BuiltFrom(QStringLiteral("small.xml"));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("s.vpr"));
  ASSERT_TRUE(b.pages->Save(path));
  // The good fixture beside the bad ones is this file.
  if (qEnvironmentVariableIsSet("VERSANTO_UPDATE_GOLDEN")) {
    QFile::remove(TestData(QStringLiteral("vpr/good.vpr")));
    QFile::copy(path, TestData(QStringLiteral("vpr/good.vpr")));
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().count("<picture "), 1);
}

TEST(PreparedFile, FailedSaveKeepsThePreviousFile) {
  Built b = BuiltFrom(QStringLiteral("small.xml"));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("s.vpr"));
  ASSERT_TRUE(b.pages->Save(path));
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);  // no new files here
  QString error;
  const bool saved = b.pages->Save(path, &error);
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  if (saved) GTEST_SKIP() << "running as a user that may write anywhere";
  EXPECT_FALSE(error.isEmpty());
  PreparedPages loaded;
  EXPECT_TRUE(loaded.Load(path, true, &error));
  EXPECT_EQ(loaded.Count(), 1);
}

TEST(PreparedFile, MissingFile) {
  PreparedPages pages;
  QString error;
  EXPECT_FALSE(pages.Load(TestData(QStringLiteral("vpr/none.vpr")), false, &error));
  EXPECT_TRUE(error.isEmpty());
  EXPECT_FALSE(pages.Load(TestData(QStringLiteral("vpr/none.vpr")), true, &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(PreparedFile, GoodFixtureLoads) {
  PreparedPages pages;
  QString error;
  ASSERT_TRUE(pages.Load(TestData(QStringLiteral("vpr/good.vpr")), true, &error))
      << pages.LoadErrorDetail().toStdString();
  ASSERT_EQ(pages.Count(), 1);
  const auto objects = pages.PageObjects(0);
  ASSERT_EQ(objects.size(), 5u);
  EXPECT_EQ(static_cast<MemoView&>(*objects[2]).Text(), QStringLiteral("Riga 1 <&>"));
  EXPECT_DOUBLE_EQ(objects[3]->Top(), 20.0);  // second row, one band height down
}

struct BadFile {
  const char* file;
  const char* detail;
};

class BadPreparedFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadPreparedFiles, AreAnInvalidFileFormatAndLeaveTheStoreEmpty) {
  PreparedPages pages;
  QString error;
  ASSERT_TRUE(pages.Load(TestData(QStringLiteral("vpr/good.vpr")), true, &error));
  EXPECT_FALSE(pages.Load(TestData(QStringLiteral("vpr/") + QLatin1String(GetParam().file)), true, &error));
  EXPECT_EQ(error, QStringLiteral("Invalid file format"));
  EXPECT_TRUE(pages.LoadErrorDetail().contains(QLatin1String(GetParam().detail), Qt::CaseInsensitive))
      << pages.LoadErrorDetail().toStdString()
      << pages.LoadErrorDetail().toStdString();
  EXPECT_EQ(pages.Count(), 0);
  EXPECT_EQ(pages.SourcePageCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, BadPreparedFiles,
    ::testing::Values(BadFile{"truncated.vpr", "premature end"}, BadFile{"not_xml.vpr", "line 1"},
                      BadFile{"template.vpr", "root element TRepReport"},
                      BadFile{"unknown_class.vpr", "Unknown class TRepDMPPage"},
                      BadFile{"missing_alias.vpr", "missing alias m9"},
                      BadFile{"dictionary_missing_object.vpr", "missing object Page0.Memo7"},
                      BadFile{"absurd_number.vpr", "bad number 1e300"},
                      BadFile{"nested_record.vpr", "nested record"},
                      BadFile{"bad_property.vpr", "Unknown property Colour"},
                      BadFile{"zero_width_page.vpr", "no printable area"},
                      BadFile{"missing_picture.vpr", "missing picture 3"}),
    [](const auto& testInfo) {
      std::string n = testInfo.param.file;
      return n.substr(0, n.find('.'));
    });

}  // namespace
}  // namespace report
