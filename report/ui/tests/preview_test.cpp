#include "report/ui/preview.h"

#include "fake_pages.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

using report::Preview;
using report::testing::FakePages;

class PreviewView : public ::testing::Test {
 protected:
  void SetUp() override {
    view.resize(900, 700);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.SetSource(&pages);
  }
  void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at(100, 100);
    QWheelEvent event(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &event);
  }
  int ScrollY() const { return view.verticalScrollBar()->value(); }

  FakePages pages{5};
  Preview view;
};

TEST_F(PreviewView, ZoomStepsAndLimits) {
  view.SetZoom(0.4);
  view.ZoomOut();
  EXPECT_DOUBLE_EQ(view.Zoom(), 0.25);
  view.ZoomOut();
  EXPECT_DOUBLE_EQ(view.Zoom(), 0.25);  // not 0.0
  view.ZoomIn();
  EXPECT_DOUBLE_EQ(view.Zoom(), 0.5);
  view.SetZoom(0.35);
  Wheel(-120, Qt::ControlModifier);
  EXPECT_DOUBLE_EQ(view.Zoom(), 0.3);  // the wheel's own floor, not 0.25
  Wheel(120, Qt::ControlModifier);
  EXPECT_NEAR(view.Zoom(), 0.4, 1e-9);
  view.SetZoom(1000);
  EXPECT_DOUBLE_EQ(view.Zoom(), report::kMaxZoom);
  view.ZoomIn();
  EXPECT_DOUBLE_EQ(view.Zoom(), report::kMaxZoom);
}

TEST_F(PreviewView, FittingModesFollowTheWindowUntilAZoomIsSet) {
  view.SetZoomMode(report::ZoomMode::zmPageWidth);
  const double wide = view.Zoom();
  EXPECT_EQ(view.PageRect(0).width(), qRound(FakePages::kWidth * wide));
  view.resize(600, 700);
  QCoreApplication::processEvents();
  EXPECT_LT(view.Zoom(), wide);
  view.SetZoomMode(report::ZoomMode::zmWholePage);
  EXPECT_LE(view.PageRect(0).height(), view.viewport()->height());
  view.SetZoom(1.5);
  EXPECT_EQ(view.ZoomMode(), report::ZoomMode::zmDefault);
  view.resize(900, 700);
  QCoreApplication::processEvents();
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.5);
}

TEST_F(PreviewView, NavigationClampsAndScrollsThePageTopIntoPlace) {
  QSignalSpy changed(&view, &Preview::PageChanged);
  view.SetPageNo(3);
  EXPECT_EQ(view.PageNo(), 3);
  EXPECT_EQ(ScrollY(), view.PageRect(2).top() - 10);
  view.SetPageNo(0);
  EXPECT_EQ(view.PageNo(), 1);
  view.SetPageNo(99);
  EXPECT_EQ(view.PageNo(), 5);
  EXPECT_EQ(changed.count(), 3);
  view.Prior();
  EXPECT_EQ(view.PageNo(), 4);
  view.Next();
  view.Next();
  EXPECT_EQ(view.PageNo(), 5);
}

TEST_F(PreviewView, KeysAndWheel) {
  view.setFocus();
  const int top = ScrollY();
  QTest::keyClick(&view, Qt::Key_Down);
  EXPECT_EQ(ScrollY(), top + 8);
  QTest::keyClick(&view, Qt::Key_PageDown);
  EXPECT_EQ(ScrollY(), top + 308);
  QTest::keyClick(&view, Qt::Key_Up);
  EXPECT_EQ(ScrollY(), top + 300);
  Wheel(-120);
  EXPECT_EQ(ScrollY(), top + 320);
  Wheel(120);
  EXPECT_EQ(ScrollY(), top + 300);
  QTest::keyClick(&view, Qt::Key_End);
  EXPECT_EQ(view.PageNo(), 5);
  QTest::keyClick(&view, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(view.PageNo(), 4);
  QTest::keyClick(&view, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(view.PageNo(), 5);
  QTest::keyClick(&view, Qt::Key_Home);
  EXPECT_EQ(view.PageNo(), 1);
  EXPECT_EQ(ScrollY(), 0);

  QSignalSpy print(&view, &Preview::PrintKey);
  QSignalSpy again(&view, &Preview::FindNextKey);
  QTest::keyClick(&view, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_P);
  QTest::keyClick(&view, Qt::Key_F3);
  EXPECT_EQ(print.count(), 1);
  EXPECT_EQ(again.count(), 1);
}

TEST_F(PreviewView, ScrollingByHandMakesTheReachedPageCurrent) {
  const QRect second = view.PageRect(1);
  // Its top not yet within a fifth of its height: still page 1.
  view.verticalScrollBar()->setValue(second.top() - second.height() / 5 - 20);
  EXPECT_EQ(view.PageNo(), 1);
  view.verticalScrollBar()->setValue(second.top() - second.height() / 5 + 1);
  EXPECT_EQ(view.PageNo(), 2);
  // A click on a page makes it current.
  view.SetZoom(0.25);
  view.SetPageNo(1);
  const QRect third = view.PageRect(2);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                    third.center() - QPoint(0, view.verticalScrollBar()->value()));
  EXPECT_EQ(view.PageNo(), 3);
}

TEST_F(PreviewView, DraggingScrollsWithTheMouse) {
  view.SetZoom(2.0);
  view.SetScrollPosition({200, 500});
  const QPoint from(300, 300);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(-40, -100)),
                   view.viewport()->mapToGlobal(QPointF(from + QPoint(-40, -100))), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view.viewport(), &move);
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, from + QPoint(-40, -100));
  EXPECT_EQ(view.ScrollPosition(), QPoint(240, 600));
}

TEST_F(PreviewView, FindGoesForwardOverPagesAndSaysWhenNothingIsLeft) {
  pages.PutWord(1, 4, QStringLiteral("Remington"));
  pages.PutWord(3, 30, QStringLiteral("REMINGTON"));
  view.UpdatePages();
  EXPECT_TRUE(view.Find(QStringLiteral("remington"), false, true));
  EXPECT_EQ(view.FoundPage(), 1);
  EXPECT_EQ(view.PageNo(), 2);
  EXPECT_NEAR(view.FoundRect().top(), 60 + 4 * 25 - 13, 6);
  EXPECT_TRUE(view.FindNext());
  EXPECT_EQ(view.FoundPage(), 3);
  // The hit lies far down page 4: the view has scrolled it into sight.
  const QRect page = view.PageRect(3);
  const int hitY = page.top() + static_cast<int>(view.FoundRect().top() * view.Zoom());
  EXPECT_GE(hitY, ScrollY());
  EXPECT_LE(hitY, ScrollY() + view.viewport()->height());
  EXPECT_FALSE(view.FindNext());  // after the last page nothing more happens
  EXPECT_EQ(view.FoundPage(), 3);

  EXPECT_TRUE(view.Find(QStringLiteral("REMINGTON"), true, true));
  EXPECT_EQ(view.FoundPage(), 3);  // case-sensitive skips page 2's "Remington"

  // Several runs on one page: each hit comes after the last one.
  EXPECT_TRUE(view.Find(QStringLiteral("row 1"), false, true));
  const double first = view.FoundRect().top();
  EXPECT_TRUE(view.FindNext());  // "row 10"
  EXPECT_GT(view.FoundRect().top(), first);
  EXPECT_EQ(view.FoundPage(), 0);

  EXPECT_FALSE(view.Find(QStringLiteral("Winchester"), false, true));
  EXPECT_FALSE(view.Find(QString(), false, true));
}

TEST_F(PreviewView, EmptyReportShowsAFrameAndFindsNothing) {
  FakePages none;
  view.SetSource(&none);
  EXPECT_EQ(view.PageCount(), 0);
  view.SetPageNo(3);
  EXPECT_EQ(view.PageNo(), 1);
  EXPECT_FALSE(view.Find(QStringLiteral("Page"), false, true));
  EXPECT_FALSE(view.FindNext());
  view.viewport()->repaint();
  EXPECT_EQ(view.PagesPainted(), 0);
}

TEST_F(PreviewView, PaintsOnlyThePagesInView) {
  FakePages many(2000);
  view.SetSource(&many);
  view.SetPageNo(1000);
  const int before = many.Draws();
  view.viewport()->repaint();
  EXPECT_GE(view.PagesPainted(), 1);
  EXPECT_LE(view.PagesPainted(), 2);
  EXPECT_LE(many.Draws() - before, 2);
  view.SetZoom(0.25);
  view.SetPageNo(1500);
  view.viewport()->repaint();
  EXPECT_GE(view.PagesPainted(), 3);  // several pages a row at 25%
  EXPECT_LE(view.PagesPainted(), 20);
}

}  // namespace
