#include "slideshow/slideshow_controller.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>

#include "controller_fixture.h"
#include "effects/effect_table.h"
#include "raster/random.h"

namespace slideshow_test {
namespace {

using slideshow::SlideshowController;
using State = SlideshowController::DisplayState;
using Load = SlideshowController::FolderLoad;

class SlideshowControllerTest : public ControllerTest {
 protected:
  void ThreePictures() {
    WritePicture(File(QStringLiteral("a.jpg")), 64, 48);
    WritePicture(File(QStringLiteral("B.bmp")), 48, 64, QColor(40, 200, 40));
    WritePicture(File(QStringLiteral("c.JPEG")), 32, 32, QColor(40, 40, 200));
  }
};

TEST_F(SlideshowControllerTest, SetUpReadsTheComponentBackIntoTheControls) {
  diorama->SetStyle(12);
  diorama->SetManual(true);
  diorama->SetStep(7);
  diorama->SetDelay(45);
  diorama->SetExactTiming(true);
  diorama->SetThreaded(false);
  diorama->SetOverDraw(false);
  diorama->SetCenter(false);
  diorama->SetStretch(true);
  diorama->SetProportional(false);
  diorama->SetBgMode(slideshow::BackgroundMode::bmCentered);
  diorama->SetFrameWidth(4);
  ThreePictures();
  Make();
  controller->SetUp(dir);

  EXPECT_EQ(c.cbStyle->count(), effects::kEffectCount);
  EXPECT_EQ(c.cbStyle->currentIndex(), 11);
  EXPECT_TRUE(c.rbProgressManual->isChecked());
  EXPECT_EQ(c.edtProgressStep->value(), 7);
  EXPECT_EQ(c.edtProgressDelay->value(), 45);
  EXPECT_TRUE(c.ckExactTiming->isChecked());
  EXPECT_FALSE(c.ckThreaded->isChecked());
  EXPECT_FALSE(c.ckOverDraw->isChecked());
  EXPECT_FALSE(c.ckCenter->isChecked());
  EXPECT_TRUE(c.ckStretch->isChecked());
  EXPECT_FALSE(c.ckProportional->isChecked());
  EXPECT_EQ(c.cbBackgroundMode->currentIndex(), 3);
  EXPECT_EQ(c.edtFrameWidth->value(), 4);
  EXPECT_EQ(c.tbDisplayInterval->value(), 1000);
  EXPECT_EQ(c.tbProgress->maximum(), 100);
  EXPECT_EQ(c.tbProgress->tickInterval(), 10);
  // Manual: the show waits for the track bar, so no timer.
  EXPECT_FALSE(controller->Timer().isActive());
  EXPECT_FALSE(c.edtProgressStep->isEnabled());
  EXPECT_TRUE(c.tbProgress->isEnabled());
}

TEST_F(SlideshowControllerTest, StoredStyleZeroSelectsNothingAndTheTimerRuns) {
  ThreePictures();
  Make();
  controller->SetUp(dir);
  EXPECT_EQ(c.cbStyle->currentIndex(), -1);
  EXPECT_EQ(c.lblStyleNumber->text(), QStringLiteral("[ #0 ]"));
  EXPECT_TRUE(controller->Timer().isActive());
  EXPECT_EQ(controller->Timer().interval(), 1000);
  EXPECT_EQ(c.lblDisplayIntervalValue->text(), QStringLiteral("[ 1.0 Seconds ]"));
}

TEST_F(SlideshowControllerTest, FolderFillsTheStatusBarAndTrailingSeparatorIsKeptOnlyThere) {
  ThreePictures();
  Make();
  const QString given = dir + QLatin1Char('/');
  EXPECT_EQ(controller->LoadImageFolder(given), Load::Loaded);
  EXPECT_EQ(controller->ImageFiles(), (QStringList{"a.jpg", "B.bmp", "c.JPEG"}));
  EXPECT_EQ(controller->ImageFolder(), dir);
  EXPECT_EQ(Panel(2), QStringLiteral("3 Image(s)"));
  EXPECT_EQ(Panel(3), QStringLiteral("Folder: ") + given);
  ASSERT_TRUE(controller->ImageFiles().contains(controller->NextImage()));
  EXPECT_EQ(Panel(1), QStringLiteral("Next: ") + controller->NextImage());
  ASSERT_TRUE(WaitForNext());
  EXPECT_TRUE(controller->NextImageReady());
  EXPECT_FALSE(diorama->Empty());
  // The file path is built without a doubled separator.
  EXPECT_TRUE(dialogs.log.isEmpty()) << dialogs.log.join(QLatin1Char('\n')).toStdString();
  // The same folder without the separator is the folder already shown.
  const QString next = controller->NextImage();
  EXPECT_EQ(controller->LoadImageFolder(dir), Load::Unchanged);
  EXPECT_EQ(controller->NextImage(), next);
  EXPECT_EQ(Panel(3), QStringLiteral("Folder: ") + given);
  // Loading a folder does not start the show by itself.
  EXPECT_FALSE(controller->Timer().isActive());
}

TEST_F(SlideshowControllerTest, FoldersWithoutPicturesOrThatCannotBeReadChangeNothing) {
  ThreePictures();
  const QString empty = dir + QStringLiteral("/empty");
  ASSERT_TRUE(QDir().mkpath(empty));
  WriteText(empty + QStringLiteral("/readme.txt"), "no pictures");
  Make();
  ASSERT_EQ(controller->LoadImageFolder(dir), Load::Loaded);

  EXPECT_EQ(controller->LoadImageFolder(empty), Load::NoPictures);
  EXPECT_EQ(dialogs.log, QStringList{QStringLiteral("warning: ") + empty +
                                     QStringLiteral("\r\nThe specified folder does not contain any supported image file.")});
  const QString missing = dir + QStringLiteral("/missing");
  EXPECT_EQ(controller->LoadImageFolder(missing), Load::Failed);
  EXPECT_EQ(dialogs.log.last(), QStringLiteral("error: La cartella \"%1\" non esiste.").arg(missing));
  EXPECT_EQ(controller->ImageFolder(), dir);
  EXPECT_EQ(controller->ImageFiles().size(), 3);
  EXPECT_EQ(Panel(2), QStringLiteral("3 Image(s)"));
  EXPECT_EQ(Panel(3), QStringLiteral("Folder: ") + dir);
}

TEST_F(SlideshowControllerTest, StartingOnAFolderThatCannotBeShownLeavesTheTimerOff) {
  const QString empty = dir + QStringLiteral("/empty");
  ASSERT_TRUE(QDir().mkpath(empty));
  for (const QString& folder : {empty, dir + QStringLiteral("/missing")}) {
    dialogs.log.clear();
    Make();
    controller->SetUp(folder);
    EXPECT_EQ(dialogs.log.size(), 1) << folder.toStdString();
    EXPECT_FALSE(controller->Timer().isActive());
    EXPECT_TRUE(controller->ImageFiles().isEmpty());
    // A timer step with no pictures does nothing.
    controller->ShowNextImage();
    EXPECT_FALSE(diorama->Busy());
    controller.reset();
  }
}

TEST_F(SlideshowControllerTest, PicturesFollowEachOtherAsTheFolderAllows) {
  const struct {
    int count;
    int steps;
  } cases[] = {{1, 3}, {2, 6}, {3, 12}};
  for (const auto& cs : cases) {
    const QString folder = dir + QStringLiteral("/n%1").arg(cs.count);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (int i = 0; i < cs.count; ++i) WritePicture(folder + QStringLiteral("/p%1.bmp").arg(i), 20 + i, 20);
    MakeShown();
    raster::SetRandSeed(1234);
    ASSERT_EQ(controller->LoadImageFolder(folder), Load::Loaded);
    QStringList shown;
    for (int i = 0; i < cs.steps; ++i) {
      Step();
      shown << controller->CurrentImage();
      EXPECT_EQ(Panel(0), QStringLiteral("Showing: ") + controller->CurrentImage());
    }
    for (int i = 1; i < shown.size(); ++i) {
      if (cs.count == 1) {
        EXPECT_EQ(shown[i], shown[0]);
      } else {
        EXPECT_NE(shown[i], shown[i - 1]) << cs.count << " at " << i;
      }
      if (cs.count == 2 && i >= 2) {
        EXPECT_EQ(shown[i], shown[i - 2]);
      }
    }
    controller.reset();
  }
}

TEST_F(SlideshowControllerTest, TimerStepChangesTheEffectByTheAutoStyleMode) {
  ThreePictures();
  MakeShown();
  controller->SetUp(dir);
  controller->Timer().stop();
  const int last = effects::kEffectCount;

  // Sequentially, from nothing selected: style 1 first, then 2; after the
  // last entry the first comes again.
  Step();
  EXPECT_EQ(diorama->Style(), 1);
  EXPECT_EQ(c.lblStyleNumber->text(), QStringLiteral("[ #1 ]"));
  EXPECT_EQ(c.cbStyle->toolTip(), diorama->StyleName());
  Step();
  EXPECT_EQ(diorama->Style(), 2);
  c.cbStyle->setCurrentIndex(last - 1);
  Step();
  EXPECT_EQ(diorama->Style(), 1);

  // Disabled: the selection stays.
  c.rbStyleDisabled->setChecked(true);
  c.cbStyle->setCurrentIndex(40);
  Step();
  EXPECT_EQ(diorama->Style(), 41);
  Step();
  EXPECT_EQ(diorama->Style(), 41);

  // Randomly: any entry, the same one allowed twice.
  c.rbStyleRandom->setChecked(true);
  QSet<int> styles;
  for (int i = 0; i < 8; ++i) {
    Step();
    EXPECT_GE(diorama->Style(), 1);
    EXPECT_LE(diorama->Style(), last);
    styles.insert(diorama->Style());
  }
  EXPECT_GT(styles.size(), 1);
}

TEST_F(SlideshowControllerTest, ChoosingAnEffectDoesNotStartATransition) {
  ThreePictures();
  MakeShown();
  controller->SetUp(dir);
  controller->Timer().stop();
  c.cbStyle->setCurrentIndex(9);
  emit c.cbStyle->activated(9);
  EXPECT_EQ(diorama->Style(), 10);
  EXPECT_EQ(c.lblStyleNumber->text(), QStringLiteral("[ #10 ]"));
  EXPECT_FALSE(diorama->Busy());
  Step();
  EXPECT_EQ(diorama->Style(), 11);
}

TEST_F(SlideshowControllerTest, CycleStopsTheTimerDuringATransitionAndStartsItAfter) {
  ThreePictures();
  MakeShown();
  diorama->SetStep(1);
  diorama->SetDelay(20);
  controller->SetUp(dir);
  ASSERT_TRUE(WaitForNext());
  controller->ShowNextImage();
  ASSERT_TRUE(diorama->Busy());
  EXPECT_FALSE(controller->Timer().isActive());
  // On OnStart the following picture was chosen, while this one comes in.
  EXPECT_FALSE(controller->NextImage().isEmpty());
  EXPECT_EQ(Panel(1), QStringLiteral("Next: ") + controller->NextImage());
  ASSERT_TRUE(QTest::qWaitFor([&] { return c.tbProgress->value() > 0; }, 3000));
  // "Ferma il Diorama": the transition ends at once, the show goes on.
  controller->DioramaStop();
  EXPECT_FALSE(diorama->Busy());
  EXPECT_TRUE(controller->Timer().isActive());
}

TEST_F(SlideshowControllerTest, TimerStepBeforeTheDecodeEndsWaitsForIt) {
  ThreePictures();
  MakeShown();
  ASSERT_EQ(controller->LoadImageFolder(dir), Load::Loaded);
  // The step comes at once, before the worker is done.
  controller->ShowNextImage();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !controller->CurrentImage().isEmpty(); }, 5000));
  EXPECT_TRUE(controller->ImageFiles().contains(controller->CurrentImage()));
  ASSERT_TRUE(WaitIdle());
}

TEST_F(SlideshowControllerTest, SettingsControlsDriveTheComponent) {
  ThreePictures();
  MakeShown();
  controller->SetUp(dir);
  const struct {
    QCheckBox* box;
    std::function<bool()> property;
  } boxes[] = {
      {c.ckExactTiming, [&] { return diorama->ExactTiming(); }},
      {c.ckThreaded, [&] { return diorama->Threaded(); }},
      {c.ckOverDraw, [&] { return diorama->OverDraw(); }},
      {c.ckCenter, [&] { return diorama->Center(); }},
      {c.ckStretch, [&] { return diorama->Stretch(); }},
      {c.ckProportional, [&] { return diorama->Proportional(); }},
  };
  for (const auto& b : boxes) {
    for (int i = 0; i < 2; ++i) {
      QTest::mouseClick(b.box, Qt::LeftButton);
      EXPECT_EQ(b.property(), b.box->isChecked()) << b.box->text().toStdString();
    }
  }
  c.edtProgressStep->setValue(12);
  EXPECT_EQ(diorama->Step(), 12);
  c.edtProgressDelay->setValue(250);
  EXPECT_EQ(diorama->Delay(), 250);
  c.edtFrameWidth->setValue(6);
  EXPECT_EQ(diorama->FrameWidth(), 6);
  for (int mode = 0; mode < 4; ++mode) {
    c.cbBackgroundMode->setCurrentIndex(mode);
    EXPECT_EQ(static_cast<int>(diorama->BgMode()), mode);
  }

  dialogs.frameColor = QColor(10, 200, 30);
  QTest::mouseClick(c.btnChangeFrameColor, Qt::LeftButton);
  EXPECT_EQ(diorama->FrameColor(), QColor(10, 200, 30));
  dialogs.frameColor.reset();
  QTest::mouseClick(c.btnChangeFrameColor, Qt::LeftButton);
  EXPECT_EQ(dialogs.presetColor, QColor(10, 200, 30));
  EXPECT_EQ(diorama->FrameColor(), QColor(10, 200, 30));

  // A background that cannot be read leaves the one there.
  WritePicture(File(QStringLiteral("cloth.bmp")), 8, 8);
  dialogs.backgroundFile = File(QStringLiteral("cloth.bmp"));
  QTest::mouseClick(c.btnChangeBackground, Qt::LeftButton);
  EXPECT_EQ(diorama->BgPicture().Width(), 8);
  WriteText(File(QStringLiteral("fake.bmp")), "not a bitmap");
  dialogs.backgroundFile = File(QStringLiteral("fake.bmp"));
  QTest::mouseClick(c.btnChangeBackground, Qt::LeftButton);
  EXPECT_EQ(diorama->BgPicture().Width(), 8);
  ASSERT_FALSE(dialogs.log.isEmpty());
  EXPECT_TRUE(dialogs.log.last().startsWith(QStringLiteral("error: "))) << dialogs.log.last().toStdString();
  EXPECT_TRUE(dialogs.log.last().contains(QStringLiteral("fake.bmp")));

  // "Select Images Folder..." starts where the show is.
  const QString other = dir + QStringLiteral("/other");
  ASSERT_TRUE(QDir().mkpath(other));
  WritePicture(other + QStringLiteral("/only.jpg"), 30, 30);
  dialogs.folder = other;
  QTest::mouseClick(c.btnChangePath, Qt::LeftButton);
  EXPECT_EQ(dialogs.folderStart, dir);
  EXPECT_EQ(controller->ImageFolder(), other);
  EXPECT_EQ(Panel(2), QStringLiteral("1 Image(s)"));
}

TEST_F(SlideshowControllerTest, DisplayIntervalInTheUsersLocale) {
  MakeShown();
  const QLocale saved;
  for (const auto& [locale, text] : {std::pair{QLocale::c(), "[ 2.5 Seconds ]"},
                                     std::pair{QLocale(QLocale::Italian, QLocale::Italy), "[ 2,5 Seconds ]"}}) {
    QLocale::setDefault(locale);
    c.tbDisplayInterval->setValue(500);
    c.tbDisplayInterval->setValue(2500);
    EXPECT_EQ(c.lblDisplayIntervalValue->text(), QString::fromLatin1(text));
    EXPECT_EQ(controller->Timer().interval(), 2500);
  }
  QLocale::setDefault(saved);
}

TEST_F(SlideshowControllerTest, ManualProgressFollowsTheTrackBarAndAutomaticFinishes) {
  ThreePictures();
  MakeShown();
  diorama->SetStep(10);
  controller->SetUp(dir);
  Step();  // something shown, the next picture loaded
  ASSERT_TRUE(WaitForNext());
  QTest::mouseClick(c.rbProgressManual, Qt::LeftButton);
  EXPECT_TRUE(diorama->Manual());
  for (QWidget* w : std::initializer_list<QWidget*>{c.lblProgressStep, c.edtProgressStep, c.lblProgressDelay,
                                                    c.edtProgressDelay, c.ckExactTiming, c.ckThreaded}) {
    EXPECT_FALSE(w->isEnabled());
  }
  EXPECT_TRUE(c.tbProgress->isEnabled());
  EXPECT_EQ(c.tbProgress->pageStep(), 10);
  EXPECT_FALSE(controller->Timer().isActive());
  ASSERT_TRUE(diorama->Busy());  // waits for the track bar
  c.tbProgress->setValue(40);
  EXPECT_EQ(diorama->Progress(), 40);

  QTest::mouseClick(c.rbProgressAuto, Qt::LeftButton);
  EXPECT_FALSE(diorama->Manual());
  EXPECT_TRUE(c.edtProgressStep->isEnabled());
  EXPECT_FALSE(c.tbProgress->isEnabled());
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(controller->Timer().isActive());
  EXPECT_EQ(c.tbProgress->value(), 100);
  // The track bar moves the picture only in manual mode.
  c.tbProgress->setValue(20);
  EXPECT_FALSE(diorama->Busy());
}

TEST(CursorDisplayTest, CountsHidesAndShows) {
  using slideshow::CursorDisplay;
  ASSERT_EQ(CursorDisplay::Count(), 0);
  EXPECT_EQ(CursorDisplay::ShowCursor(false), -1);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
  EXPECT_EQ(CursorDisplay::ShowCursor(true), 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  // A show without a hide before it: the next hide leaves the cursor visible.
  EXPECT_EQ(CursorDisplay::ShowCursor(true), 1);
  EXPECT_EQ(CursorDisplay::ShowCursor(false), 0);
  EXPECT_TRUE(CursorDisplay::Visible());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SlideshowControllerTest, PlacedWindowAndScreenWithEscAndDoubleClick) {
  ThreePictures();
  MakeShown();
  controller->SetUp(dir);
  const int count = slideshow::CursorDisplay::Count();
  ASSERT_EQ(controller->State(), State::Placed);

  // Esc at start: the picture fills the window's client area.
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(controller->State(), State::Window);
  EXPECT_EQ(diorama->geometry(), client->contentsRect());
  EXPECT_EQ(slideshow::CursorDisplay::Count(), count + 1);
  // Esc in the window-filling state does nothing.
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_EQ(controller->State(), State::Window);

  c.cbBackgroundMode->setCurrentIndex(2);
  c.edtFrameWidth->setValue(3);
  QTest::mouseDClick(diorama, Qt::LeftButton);
  EXPECT_EQ(controller->State(), State::Screen);
  EXPECT_TRUE(diorama->isWindow());
  EXPECT_TRUE(diorama->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(diorama->geometry(), window.screen()->geometry());
  EXPECT_EQ(diorama->BgMode(), slideshow::BackgroundMode::bmNone);
  EXPECT_EQ(diorama->FrameWidth(), 0);
  EXPECT_TRUE(diorama->toolTip().isEmpty());
  // The show placed before the hide, so the cursor stays visible.
  EXPECT_EQ(slideshow::CursorDisplay::Count(), count);

  // Esc on the full-screen picture: back into the window.
  QTest::keyClick(diorama, Qt::Key_Escape);
  EXPECT_EQ(controller->State(), State::Window);
  EXPECT_EQ(diorama->parentWidget(), client);
  EXPECT_EQ(diorama->BgMode(), slideshow::BackgroundMode::bmStretched);
  EXPECT_EQ(diorama->FrameWidth(), 3);
  EXPECT_EQ(diorama->toolTip(), QStringLiteral("Double click for FULL SCREEN"));
  EXPECT_EQ(slideshow::CursorDisplay::Count(), count + 1);

  // Double click from the screen goes back too.
  QTest::mouseDClick(diorama, Qt::LeftButton);
  ASSERT_EQ(controller->State(), State::Screen);
  QTest::mouseDClick(diorama, Qt::LeftButton);
  EXPECT_EQ(controller->State(), State::Window);
  // The slideshow goes on in every state.
  Step();
  EXPECT_FALSE(controller->CurrentImage().isEmpty());
  slideshow::CursorDisplay::ShowCursor(false);  // back to the count before the test
}

TEST_F(SlideshowControllerTest, ClosingTheFullScreenPictureBringsItBack) {
  ThreePictures();
  diorama->SetAlign(slideshow::Align::alClient);
  MakeShown();
  controller->SetUp(dir);
  controller->SetFullScreen(true);
  ASSERT_EQ(controller->State(), State::Screen);
  EXPECT_FALSE(diorama->close());
  EXPECT_EQ(controller->State(), State::Window);
  EXPECT_TRUE(diorama->isVisible());
  EXPECT_EQ(slideshow::CursorDisplay::Count(), 0);
}

TEST_F(SlideshowControllerTest, LoopModeRunsTheSameCycle) {
  ThreePictures();
  diorama->SetThreaded(false);
  diorama->SetStep(20);
  MakeShown();
  controller->SetUp(dir);
  EXPECT_FALSE(c.ckThreaded->isChecked());
  controller->Timer().stop();
  QStringList shown;
  for (int i = 0; i < 3; ++i) {
    Step();
    shown << controller->CurrentImage();
    EXPECT_TRUE(controller->Timer().isActive());
  }
  EXPECT_NE(shown[1], shown[0]);
  EXPECT_NE(shown[2], shown[1]);
}

TEST_F(SlideshowControllerTest, HiddenCursorFromTheWindowStateAndDestroyedWhileFullScreen) {
  ThreePictures();
  diorama->SetAlign(slideshow::Align::alClient);
  MakeShown();
  controller->SetUp(dir);
  controller->SetFullScreen(true);
  ASSERT_EQ(controller->State(), State::Screen);
  EXPECT_EQ(slideshow::CursorDisplay::Count(), -1);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
  // The window going away with the picture on the screen: it comes home,
  // and the cursor is shown again.
  controller.reset();
  EXPECT_EQ(diorama->parentWidget(), client);
  EXPECT_EQ(slideshow::CursorDisplay::Count(), 0);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(SlideshowControllerTest, UnreadablePicturesAreSkippedByNameAndTheShowGoesOn) {
  WritePicture(File(QStringLiteral("good.bmp")), 30, 20);
  WriteText(File(QStringLiteral("fake.jpg")), "a text file with a picture's name");
  MakeShown();
  controller->SetUp(dir);
  controller->Timer().stop();
  // With two names the picks alternate, so the bad one comes within two.
  for (int i = 0; i < 3; ++i) Step();
  EXPECT_EQ(controller->CurrentImage(), QStringLiteral("good.bmp"));
  EXPECT_TRUE(c.statusBar->currentMessage().contains(QStringLiteral("fake.jpg")))
      << c.statusBar->currentMessage().toStdString();
  EXPECT_EQ(controller->NextImage(), QStringLiteral("good.bmp"));
  EXPECT_TRUE(dialogs.log.isEmpty()) << dialogs.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(SlideshowControllerTest, FileThatVanishesAfterTheListingIsSkipped) {
  WritePicture(File(QStringLiteral("stays.bmp")), 30, 20);
  WritePicture(File(QStringLiteral("goes.bmp")), 20, 30);
  MakeShown();
  controller->SetUp(dir);
  controller->Timer().stop();
  ASSERT_TRUE(WaitForNext());
  ASSERT_TRUE(QFile::remove(File(QStringLiteral("goes.bmp"))));
  for (int i = 0; i < 3; ++i) Step();
  EXPECT_EQ(controller->CurrentImage(), QStringLiteral("stays.bmp"));
  EXPECT_EQ(controller->NextImage(), QStringLiteral("stays.bmp"));
  EXPECT_TRUE(c.statusBar->currentMessage().contains(QStringLiteral("goes.bmp")));
}

TEST_F(SlideshowControllerTest, FolderOfUnreadablePicturesHaltsQuietly) {
  WriteText(File(QStringLiteral("one.jpg")), "not a picture");
  WriteText(File(QStringLiteral("two.bmp")), "not a picture either");
  MakeShown();
  controller->SetUp(dir);
  ASSERT_TRUE(QTest::qWaitFor([&] { return controller->NextImage().isEmpty() && !controller->Loader().Pending(); },
                              5000));
  EXPECT_EQ(Panel(1), QStringLiteral("Next: "));
  controller->ShowNextImage();
  EXPECT_FALSE(diorama->Busy());
  EXPECT_FALSE(controller->Timer().isActive());
  EXPECT_EQ(Panel(2), QStringLiteral("2 Image(s)"));
}

}  // namespace
}  // namespace slideshow_test
