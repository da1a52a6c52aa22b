// The splash window, run offscreen (no screen to copy) and under Xvfb (a
// real X server, whose screen is copied).
#include "splash_form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <cstdint>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "formabout.h"
#include "main_form.h"
#include "program_windows.h"
#include "raster/random.h"
#include "recording_prompter.h"
#include "slideshow/diorama.h"
#include "tprezzi.h"

namespace app {
namespace {

bool CanCopyTheScreen() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// The shared generator's documented sequence, worked out here on its own:
// seed := seed * 134775813 + 1, then (seed * n) >> 32.
int DocumentedStyleAfter(std::uint32_t seed) {
  seed = seed * 134775813u + 1u;
  return static_cast<int>((std::uint64_t{seed} * 176u) >> 32) + 1;
}

// A splash whose generator is seeded with a fixed number, and whose screen
// copy may be refused, as a Wayland compositor does.
class TestSplash : public SplashForm {
 public:
  std::optional<std::uint32_t> seed;
  bool refuseCapture = false;
  int captures = 0;

 protected:
  QImage GrabScreen(const QRect& area) override {
    ++captures;
    return refuseCapture ? QImage() : SplashForm::GrabScreen(area);
  }
  void ReseedGenerator() override {
    if (seed) {
      raster::SetRandSeed(*seed);
    } else {
      SplashForm::ReseedGenerator();
    }
  }
};

struct Frame {
  int progress;
  int style;
};

// Records every frame the splash's picture show computes (in loop mode on
// this thread).
std::vector<Frame> RecordFrames(SplashForm& splash) {
  auto frames = std::make_shared<std::vector<Frame>>();
  splash.Diorama().SetOnAfterNewFrame([frames](slideshow::CustomDiorama& sender, raster::Bitmap&, raster::Bitmap&) {
    frames->push_back({sender.Progress(), sender.Style()});
  });
  splash.Animate();
  splash.Diorama().SetOnAfterNewFrame(nullptr);
  return *frames;
}

std::vector<int> Progresses(const std::vector<Frame>& frames) {
  std::vector<int> values;
  for (const Frame& frame : frames) values.push_back(frame.progress);
  return values;
}

// A desktop to copy: a full-screen window of one colour with a marker where
// the splash's top-left corner will be.
class Desktop : public QWidget {
 public:
  static constexpr QRgb kColor = 0xFF2A7F3C;
  static constexpr QRgb kMarker = 0xFFE0C020;
  Desktop() : QWidget(nullptr, Qt::FramelessWindowHint) {
    setGeometry(QGuiApplication::primaryScreen()->geometry());
  }
  QPoint SplashCorner() const {
    return {(width() - SplashForm::kClientWidth) / 2, (height() - SplashForm::kClientHeight) / 2};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgb(kColor));
    p.fillRect(QRect(SplashCorner(), QSize(20, 10)), QColor::fromRgb(kMarker));
  }
};

QImage Shown(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(Splash, IsMadeForItsWindowWithThePictureShowsSettings) {
  SplashForm splash;
  EXPECT_EQ(splash.size(), QSize(450, 260));
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  slideshow::Diorama& show = splash.Diorama();
  EXPECT_EQ(show.geometry(), QRect(0, 0, 450, 260));
  EXPECT_EQ(show.BgMode(), slideshow::BackgroundMode::bmCentered);
  EXPECT_EQ(show.Delay(), 30);
  EXPECT_EQ(show.Step(), 6);
  EXPECT_TRUE(show.Stretch());
  EXPECT_FALSE(show.Threaded());
  EXPECT_FALSE(show.Reverse());
  EXPECT_FALSE(show.Manual());
  EXPECT_FALSE(show.ExactTiming());
  EXPECT_EQ(show.Style(), 52);
  EXPECT_EQ(QSize(show.Picture().Width(), show.Picture().Height()), QSize(450, 260)) << "made for the window";
}

TEST(Splash, AnyArgumentLeavesItHiddenAndUntouched) {
  for (const QStringList& arguments :
       {QStringList{"versanto", "/home/x/Foto"}, QStringList{"versanto", ""}, QStringList{"versanto", "-a", "b"}}) {
    const std::unique_ptr<SplashForm> splash = CreateSplash(arguments);
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(splash->Diorama().Busy());
    EXPECT_EQ(splash->Diorama().Style(), 52) << "no effect was drawn";
    EXPECT_FALSE(splash->Diorama().BgPicture().HasGraphic()) << "the screen was not copied";
  }
}

// Forward 6, 12, ... 96, 100 with the first effect, then back 94, ... 4, 0
// with the second; a fixed seed gives the documented first effect.
TEST(Splash, RunsThereAndBackWithEffectsFromTheSharedGenerator) {
  std::vector<int> expected;
  for (int p = 6; p <= 96; p += 6) expected.push_back(p);
  expected.push_back(100);
  for (int p = 94; p >= 4; p -= 6) expected.push_back(p);
  expected.push_back(0);
  ASSERT_EQ(expected.size(), 34u);

  for (const std::uint32_t seed : {1u, 20261210u}) {
    TestSplash splash;
    splash.seed = seed;
    const std::vector<Frame> frames = RecordFrames(splash);
    ASSERT_EQ(Progresses(frames), expected) << "seed " << seed;
    const int first = DocumentedStyleAfter(seed);
    for (std::size_t i = 0; i < 17; ++i) EXPECT_EQ(frames[i].style, first) << "seed " << seed << ", frame " << i;
    const int second = frames[17].style;
    EXPECT_GE(second, 1);
    EXPECT_LE(second, 176);
    for (std::size_t i = 17; i < 34; ++i) EXPECT_EQ(frames[i].style, second);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(splash.Diorama().Busy()) << "Animate returns when the run is over";
    EXPECT_EQ(splash.Diorama().Progress(), 0);
    EXPECT_TRUE(splash.Diorama().Reverse());
  }
}

// Under Xvfb the window ends on the copy of what was on the screen under it;
// offscreen, where there is no screen to copy, on the picture show's colour.
TEST(Splash, EndsOnTheCopyOfTheScreenOrOnItsColour) {
  Desktop desktop;
  desktop.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
  QTest::qWait(50);

  TestSplash splash;
  splash.Animate();
  EXPECT_EQ(splash.pos(), desktop.geometry().topLeft() + desktop.SplashCorner());
  const QImage shown = Shown(splash);
  const slideshow::Picture& copy = splash.Diorama().BgPicture();
  if (CanCopyTheScreen()) {
    ASSERT_TRUE(copy.HasGraphic());
    EXPECT_EQ(QSize(copy.Width(), copy.Height()), QSize(450, 260));
    EXPECT_EQ(shown.pixel(5, 5), Desktop::kMarker) << "the copy is of the area under the window";
    EXPECT_EQ(shown.pixel(30, 5), Desktop::kColor);
    EXPECT_EQ(shown.pixel(449, 259), Desktop::kColor);
  } else {
    EXPECT_FALSE(copy.HasGraphic());
    const QRgb colour = splash.Diorama().Color().rgb();
    EXPECT_EQ(shown.pixel(5, 5), colour);
    EXPECT_EQ(shown.pixel(449, 259), colour);
  }
}

TEST(Splash, RefusedCaptureShowsThePictureOverTheColour) {
  TestSplash splash;
  splash.refuseCapture = true;
  splash.seed = 7;
  std::optional<QRgb> atTheTop;
  splash.Diorama().SetOnAfterNewFrame([&](slideshow::CustomDiorama& sender, raster::Bitmap& picture, raster::Bitmap&) {
    if (sender.Progress() == 100 && !atTheTop) {
      const std::uint8_t* p = picture.ScanLine(130) + 4 * 225;
      atTheTop = qRgb(p[raster::kRedByte], p[raster::kGreenByte], p[raster::kBlueByte]);
    }
  });
  splash.Animate();
  EXPECT_EQ(splash.captures, 1);
  EXPECT_TRUE(atTheTop.has_value()) << "the run reached the whole picture";
  EXPECT_FALSE(splash.Diorama().BgPicture().HasGraphic());
  EXPECT_EQ(Shown(splash).pixel(100, 100), splash.Diorama().Color().rgb());
  EXPECT_FALSE(splash.Diorama().Busy());
}

// Start-up: the splash has run to its end before the main window is even
// made; it is freed once the three windows exist; with an argument it is
// made but never shown.
TEST(Splash, StartUpMakesTheMainWindowOnlyAfterTheSplashHasEnded) {
  struct SplashAtMainWindow {
    bool seen = false;
    bool exists = false;
    bool visible = false;
    bool busy = true;
    int progress = -1;
    int style = -1;
    bool reverse = false;
  };
  class Watcher : public QObject {
   public:
    SplashAtMainWindow state;
    bool eventFilter(QObject* watched, QEvent*) override {
      if (state.seen || qobject_cast<MainForm*>(watched) == nullptr) return false;
      state.seen = true;
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* splash = qobject_cast<SplashForm*>(window)) {
          state.exists = true;
          state.visible = splash->isVisible();
          state.busy = splash->Diorama().Busy();
          state.progress = splash->Diorama().Progress();
          state.style = splash->Diorama().Style();
          state.reverse = splash->Diorama().Reverse();
        }
      }
      return false;
    }
  };
  const auto splashes = [] {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) count += qobject_cast<SplashForm*>(window) != nullptr;
    return count;
  };
  testing::RecordingPrompter prompter;
  ScopedPrompter scoped(prompter);

  for (const bool withArgument : {false, true}) {
    Watcher watcher;
    qApp->installEventFilter(&watcher);
    ProgramWindows windows = CreateProgramWindows(withArgument ? QStringList{"versanto", "/tmp"}
                                                               : QStringList{"versanto"});
    qApp->removeEventFilter(&watcher);
    const SplashAtMainWindow& at = watcher.state;
    ASSERT_TRUE(at.seen);
    EXPECT_TRUE(at.exists) << "the splash lives until the windows are made";
    EXPECT_EQ(at.visible, !withArgument);
    EXPECT_FALSE(at.busy);
    EXPECT_EQ(at.progress, 0);
    // Reverse is switched on only at the top of the run.
    EXPECT_EQ(at.reverse, !withArgument);
    if (withArgument) {
      EXPECT_EQ(at.style, 52);
    }
    EXPECT_EQ(splashes(), 0) << "freed once the windows exist";
    ASSERT_NE(windows.mainForm, nullptr);
    EXPECT_NE(windows.aboutBox, nullptr);
    EXPECT_NE(windows.examplePrices, nullptr);
    EXPECT_FALSE(windows.mainForm->isVisible()) << "the entry shows it, after all this";
  }
}

}  // namespace
}  // namespace app
