// Full screen on a real X server: the picture area becomes a topmost window
// over the whole screen and comes back into the main window.
#include <QGuiApplication>
#include <QScreen>

#include "slideshow/cursor_display.h"
#include "slideshow/diorama.h"
#include "slideshow/slideshow_controller.h"
#include "window_fixture.h"

namespace app {
namespace {

using State = slideshow::SlideshowController::DisplayState;

class SlideshowScreenTest : public testing::WindowTest {};

TEST_F(SlideshowScreenTest, FullScreenCoversTheScreenAndEscReturns) {
  Make();
  auto& show = *qobject_cast<slideshow::Diorama*>(form->PictureArea());
  auto& slideshow = form->Slideshow();
  const int count = slideshow::CursorDisplay::Count();
  ASSERT_EQ(slideshow.State(), State::Placed);
  QTest::keyClick(form.get(), Qt::Key_Escape);
  ASSERT_EQ(slideshow.State(), State::Window);
  EXPECT_EQ(show.geometry(), show.parentWidget()->contentsRect());

  QTest::mouseDClick(&show, Qt::LeftButton);
  ASSERT_EQ(slideshow.State(), State::Screen);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&show));
  const QRect screen = form->screen()->geometry();
  EXPECT_EQ(show.frameGeometry(), screen);
  // The first transition runs on the screen.
  show.SetStep(25);
  ASSERT_TRUE(QTest::qWaitFor([&] { return show.Busy(); }, 10000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !show.Busy(); }, 10000));
  QTest::qWait(100);
  const QImage desktop = form->screen()->grabWindow(0).toImage();
  const QString out = qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/slideshow_full_screen.png");
  EXPECT_TRUE(desktop.save(out)) << out.toStdString();
  // What the screen shows is the picture show, corners included: nothing of
  // the main window lies over it.
  const QImage own = show.grab().toImage();
  for (const QPoint at : {QPoint(2, 2), QPoint(screen.width() - 3, screen.height() - 3), screen.center()}) {
    EXPECT_EQ(desktop.pixel(at), own.pixel(at)) << at.x() << "," << at.y();
  }

  QTest::keyClick(&show, Qt::Key_Escape);
  EXPECT_EQ(slideshow.State(), State::Window);
  EXPECT_FALSE(show.isWindow());
  EXPECT_EQ(slideshow::CursorDisplay::Count(), count + 1);
  slideshow::CursorDisplay::ShowCursor(false);
}

}  // namespace
}  // namespace app
