#include <QPageSize>

#include <gtest/gtest.h>

#include "report/print/page_sequence.h"
#include "report/print/sheet_layout.h"

namespace report {
namespace {

PagePaper Paper(double widthMm, double heightMm, int code = kPaperCustom) {
  PagePaper paper;
  paper.PaperSize = code;
  paper.PaperWidth = widthMm;
  paper.PaperHeight = heightMm;
  paper.Orientation = widthMm > heightMm ? PaperOrientation::poLandscape : PaperOrientation::poPortrait;
  return paper;
}

const QSizeF kA4(210, 297);

QSizeF SideMm(const Side& side) { return side.layout.fullRect(QPageLayout::Millimeter).size(); }

void ExpectSize(QSizeF got, QSizeF want) {
  EXPECT_NEAR(got.width(), want.width(), 0.5);
  EXPECT_NEAR(got.height(), want.height(), 0.5);
}

TEST(SheetLayoutTest, DefaultModeGivesEachPageItsOwnPaper) {
  const std::vector<PagePaper> papers{Paper(210, 297, kPaperA4), Paper(297, 210, kPaperA4), Paper(100, 150)};
  const std::vector<Side> sides = LayOutSides({1, 2, 3, kBlankSide}, papers, SheetRules{});
  ASSERT_EQ(sides.size(), 4u);
  EXPECT_EQ(sides[0].layout.pageSize().id(), QPageSize::A4);
  EXPECT_EQ(sides[0].layout.orientation(), QPageLayout::Portrait);
  EXPECT_EQ(sides[1].layout.pageSize().id(), QPageSize::A4);
  EXPECT_EQ(sides[1].layout.orientation(), QPageLayout::Landscape);
  ExpectSize(SideMm(sides[1]), QSizeF(297, 210));
  ExpectSize(SideMm(sides[2]), QSizeF(100, 150));
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(sides[i].placements.size(), 1u);
    EXPECT_EQ(sides[i].placements[0].page, i + 1);
    EXPECT_EQ(sides[i].placements[0].scale, 1);
  }
  EXPECT_TRUE(sides[3].placements.empty());
  EXPECT_EQ(sides[3].layout, sides[2].layout);
}

TEST(SheetLayoutTest, ScaleModeFitsThePageToTheSheet) {
  const std::vector<PagePaper> papers{Paper(420, 594), Paper(105, 148)};
  const std::vector<Side> sides = LayOutSides({1, 2}, papers, SheetRules{PrintMode::pmScale, kA4});
  ASSERT_EQ(sides.size(), 2u);
  ExpectSize(SideMm(sides[0]), kA4);
  EXPECT_NEAR(sides[0].placements[0].scale, 0.5, 1e-9);
  EXPECT_NEAR(sides[1].placements[0].scale, 2.0, 1e-2);
}

TEST(SheetLayoutTest, SplitModeSpreadsABigPageOverSheets) {
  const std::vector<PagePaper> papers{Paper(297, 420), Paper(210, 297)};
  const std::vector<Side> sides = LayOutSides({1, 2}, papers, SheetRules{PrintMode::pmSplit, kA4});
  // A3 upright over A4: two columns, two rows; the A4 page fits as it is.
  ASSERT_EQ(sides.size(), 5u);
  const std::vector<QPointF> origins{{0, 0}, {-210, 0}, {0, -297}, {-210, -297}};
  for (int i = 0; i < 4; ++i) {
    ExpectSize(SideMm(sides[i]), kA4);
    EXPECT_EQ(sides[i].placements[0].page, 1);
    EXPECT_EQ(sides[i].placements[0].originMm, origins[i]);
  }
  EXPECT_EQ(sides[4].placements[0].page, 2);
}

TEST(SheetLayoutTest, JoinModePutsSmallPagesTogetherInTheBetterOrientation) {
  // A6 pages hold four to an A4 sheet upright (2 x 2); turned they would fit
  // only 2 x 1 + waste, so the sheet stays upright.
  const std::vector<PagePaper> a6(5, Paper(105, 148));
  std::vector<Side> sides = LayOutSides({1, 2, 3, 4, 5}, a6, SheetRules{PrintMode::pmJoin, kA4});
  ASSERT_EQ(sides.size(), 2u);
  ExpectSize(SideMm(sides[0]), kA4);
  ASSERT_EQ(sides[0].placements.size(), 4u);
  EXPECT_EQ(sides[0].placements[3].page, 4);
  EXPECT_EQ(sides[0].placements[3].originMm, QPointF(105, 148));
  ASSERT_EQ(sides[1].placements.size(), 1u);
  EXPECT_EQ(sides[1].placements[0].page, 5);

  // A5 landscape pages (210 x 148) stack two to an upright A4.
  const std::vector<PagePaper> a5(2, Paper(210, 148));
  sides = LayOutSides({1, 2}, a5, SheetRules{PrintMode::pmJoin, kA4});
  ASSERT_EQ(sides.size(), 1u);
  EXPECT_EQ(sides[0].placements[1].originMm, QPointF(0, 148));

  // A5 upright pages (148 x 210) go two side by side on a turned A4.
  const std::vector<PagePaper> a5Upright(2, Paper(148, 210));
  sides = LayOutSides({1, 2}, a5Upright, SheetRules{PrintMode::pmJoin, kA4});
  ASSERT_EQ(sides.size(), 1u);
  ExpectSize(SideMm(sides[0]), QSizeF(297, 210));
  EXPECT_EQ(sides[0].placements[1].originMm, QPointF(148, 0));

  // Pages too big to share a sheet print as they are.
  sides = LayOutSides({1}, {Paper(210, 297, kPaperA4)}, SheetRules{PrintMode::pmJoin, kA4});
  ASSERT_EQ(sides.size(), 1u);
  EXPECT_EQ(sides[0].placements.size(), 1u);
}

}  // namespace
}  // namespace report
