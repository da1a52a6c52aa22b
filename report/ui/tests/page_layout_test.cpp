#include "report/ui/page_layout.h"

#include <QString>

#include <cmath>

#include <gtest/gtest.h>

namespace {

using namespace report;

const QSizeF kA4(793.7, 1122.5);  // report units

TEST(PageLayout, RowsFitTheViewAndAreCentred) {
  const std::vector<QSizeF> three(3, kA4);
  // At 25% an A4 page is 198 wide: three fit one row in a wide view.
  PageLayoutResult wide = LayOutPages(three, 0.25, 1000);
  ASSERT_EQ(wide.rowFirst.size(), 1u);
  EXPECT_EQ(wide.pages[0].rect, QRect((1000 - 3 * 208 + 10) / 2 + 10, 10, 198, 281));
  EXPECT_EQ(wide.pages[1].rect.left(), wide.pages[0].rect.right() + 1 + 10);
  EXPECT_EQ(wide.area, QSize(3 * 208 + 10, 10 + 281 + 10));

  // At 100% one page per row, each row 10 below the one before.
  PageLayoutResult full = LayOutPages(three, 1.0, 800);
  ASSERT_EQ(full.rowFirst.size(), 3u);
  EXPECT_EQ(full.pages[0].rect.size(), QSize(794, 1123));
  EXPECT_EQ(full.pages[1].rect.top(), 10 + 1123 + 10);
  EXPECT_EQ(full.pages[0].rect.left(), (800 - 804 + 10) / 2 + 10);
  EXPECT_EQ(full.area, QSize(804 + 10, 3 * 1133 + 10));
  // Narrower than a page: the row still takes it, 10 from the left.
  EXPECT_EQ(LayOutPages(three, 1.0, 500).pages[0].rect.left(), 10);
}

TEST(PageLayout, NoPagesAndFittingZooms) {
  EXPECT_TRUE(LayOutPages({}, 1.0, 800).pages.empty());
  EXPECT_EQ(EmptyPageRect(0.5, 800), QRect((800 - 397) / 2, 5, 397, 562));
  EXPECT_DOUBLE_EQ(FitZoom(ZoomMode::zmWholePage, 1.0, kA4, QSize(800, 587), 17),
                   (587 - 26) / 1122.5);
  EXPECT_DOUBLE_EQ(FitZoom(ZoomMode::zmPageWidth, 1.0, kA4, QSize(837, 500), 17),
                   (837 - 17 - 26) / 793.7);
  EXPECT_DOUBLE_EQ(FitZoom(ZoomMode::zmDefault, 1.7, kA4, QSize(800, 500), 17), 1.7);
  // A view too small to show anything gives the least zoom, not zero or less.
  EXPECT_DOUBLE_EQ(FitZoom(ZoomMode::zmWholePage, 1.0, kA4, QSize(10, 10), 17), kMinZoom);
}

TEST(PageLayout, ZoomTextAndLimits) {
  const struct {
    const char* text;
    bool ok;
    double zoom;
  } cases[] = {
      {"150 %", true, 1.5}, {"75%", true, 0.75}, {" 2 0 0 ", true, 2.0}, {"%%50", true, 0.5},
      {"abc", false, 0}, {"", false, 0}, {"%", false, 0}, {"inf", false, 0},
  };
  for (const auto& c : cases) {
    double zoom = -1;
    EXPECT_EQ(ParseZoomText(QString::fromLatin1(c.text), zoom), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(zoom, c.zoom) << c.text;
    }
  }
  EXPECT_EQ(ZoomText(1.5), QStringLiteral("150%"));
  EXPECT_EQ(ZoomText(0.3), QStringLiteral("30%"));
  EXPECT_DOUBLE_EQ(ClampZoom(0.15), 0.25);
  EXPECT_DOUBLE_EQ(ClampZoom(-3), 0.25);
  EXPECT_DOUBLE_EQ(ClampZoom(1e9), kMaxZoom);
  EXPECT_DOUBLE_EQ(ClampZoom(std::nan("")), 0.25);
}

}  // namespace
