// Each test card drawn and compared cell by cell with its expected picture.
// The expected pictures were rendered once and checked by eye; run with
// VERSANTO_UPDATE_EXPECTED=1 to write them again after a deliberate change.
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using metafile_test::DataDir;

struct CardCase {
  const char* file;
  const char* expected;  // picture in tests/data/expected
  bool writesExpected;   // the card the expected picture is made from
  std::vector<std::string> blankCells;  // cells this card leaves empty
};

class CardTest : public ::testing::TestWithParam<CardCase> {
 protected:
  void SetUp() override { metafile_test::EnsureGuiApplication(); }
};

TEST_P(CardTest, EveryCellMatchesItsExpectedPicture) {
  const CardCase& c = GetParam();
  const auto loaded = metafile::Load(metafile_test::ReadBytes(DataDir() / c.file));
  ASSERT_TRUE(loaded.Ok()) << loaded.error->ToString().toStdString();
  const QImage expectedImage(QString::fromStdString((DataDir() / "expected" / c.expected).string()));
  const QSize size = expectedImage.isNull() ? loaded.picture->SizePixels() : expectedImage.size();
  const metafile::RenderResult rendered = metafile::Render(*loaded.picture, size);
  ASSERT_TRUE(rendered.Ok());
  const auto actualPath = metafile_test::OutputDir() / (std::string(c.file) + ".png");
  metafile_test::OnWhite(rendered.image).save(QString::fromStdString(actualPath.string()));

  const char* update = std::getenv("VERSANTO_UPDATE_EXPECTED");
  if (update != nullptr && std::string(update) == "1" && c.writesExpected) {
    std::filesystem::create_directories(DataDir() / "expected");
    rendered.image.save(QString::fromStdString((DataDir() / "expected" / c.expected).string()));
    GTEST_SKIP() << "expected picture written: " << c.expected;
  }
  if (update != nullptr && std::string(update) == "1") GTEST_SKIP();
  ASSERT_FALSE(expectedImage.isNull()) << "no expected picture " << c.expected;
  const auto cells = metafile_test::ReadCells(DataDir() / (std::string(c.file) + ".cells"));
  ASSERT_FALSE(cells.empty());
  for (const auto& cell : cells) {
    if (std::find(c.blankCells.begin(), c.blankCells.end(), cell.name) != c.blankCells.end()) continue;
    const double share = metafile_test::MismatchShare(rendered.image, expectedImage, cell.rect, 24, 1);
    EXPECT_LE(share, 0.005) << "cell " << cell.name << " of " << c.file << " differs; see " << actualPath;
  }
}

INSTANTIATE_TEST_SUITE_P(Cards, CardTest,
                         ::testing::Values(CardCase{"card-wmf-placeable.wmf", "card-wmf.png", true, {}},
                                           // The same records without the placeable header,
                                           // sized by their window: the same picture, less
                                           // the two cells drawn in device units.
                                           CardCase{"card-wmf-plain.wmf", "card-wmf.png", false,
                                                    {"viewport-org", "metric-mode"}},
                                           CardCase{"card-emf.emf", "card-emf.png", true, {}}),
                         [](const auto& param) {
                           std::string name = param.param.file;
                           for (char& ch : name) {
                             if (ch == '-' || ch == '.') ch = '_';
                           }
                           return name;
                         });

}  // namespace
