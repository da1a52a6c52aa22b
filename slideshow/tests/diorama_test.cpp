#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fake_timer_service.h"
#include "picture_fixtures.h"
#include "slideshow/diorama.h"

namespace {

using slideshow::BackgroundMode;
using slideshow::CustomDiorama;
using slideshow::Diorama;
using slideshow_test::FakeTimerService;
using slideshow_test::TestCard;
using slideshow_test::TestCardColor;

// Records the events of a picture show, and on which thread they fired.
struct Recorder {
  explicit Recorder(Diorama& diorama) {
    diorama.SetOnStart([this](CustomDiorama& sender, raster::Bitmap&, raster::Bitmap&) { Add(sender, "Start"); });
    diorama.SetOnProgress([this](CustomDiorama& sender) {
      Add(sender, "Progress");
      progress.push_back(sender.Progress());
    });
    diorama.SetOnComplete([this](CustomDiorama& sender) { Add(sender, "Complete"); });
    diorama.SetOnStop([this](CustomDiorama& sender) { Add(sender, sender.Busy() ? "Stop while busy" : "Stop"); });
    diorama.SetOnAfterNewFrame([this](CustomDiorama&, raster::Bitmap&, raster::Bitmap&) {
      if (QThread::currentThread() != qApp->thread()) frameOffUiThread.store(true);
    });
  }
  void Add(CustomDiorama& sender, const char* event) {
    if (QThread::currentThread() != sender.thread()) eventOffUiThread = true;
    events.emplace_back(event);
  }
  bool Stopped() const { return !events.empty() && events.back() == "Stop"; }
  int Count(const std::string& event) const { return int(std::count(events.begin(), events.end(), event)); }

  std::vector<std::string> events;
  std::vector<int> progress;
  bool eventOffUiThread = false;
  std::atomic<bool> frameOffUiThread{false};
};

bool WaitUntil(const std::function<bool()>& done, int milliseconds = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return true;
}

std::vector<std::string> RunEvents(int steps) {
  std::vector<std::string> events{"Start"};
  events.insert(events.end(), std::size_t(steps), "Progress");
  events.insert(events.end(), {"Complete", "Stop"});
  return events;
}

// The widget's pixels as a person would see them.
QImage Shown(QWidget& widget, const QRect& area = QRect()) {
  return (area.isNull() ? widget.grab() : widget.grab(area)).toImage().convertToFormat(QImage::Format_RGB32);
}

class DioramaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    diorama = std::make_unique<Diorama>();
    diorama->SetBgMode(BackgroundMode::bmNone);
    diorama->SetColor(QColor(10, 20, 30));
    diorama->SetDelay(2);
    diorama->resize(60, 40);
    diorama->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(diorama.get()));
  }
  void TearDown() override { diorama.reset(); }

  // The picture's colour under client pixel (x, y) of a centred, unscaled
  // 30 x 20 card.
  static QRgb CardAt(int x, int y) { return TestCardColor(x - 15, y - 10); }

  std::unique_ptr<Diorama> diorama;
};

TEST_F(DioramaTest, NewInstanceHasTheDocumentedDefaults) {
  Diorama fresh;
  EXPECT_EQ(fresh.size(), QSize(100, 100));
  EXPECT_EQ(fresh.sizeHint(), QSize(100, 100));
  EXPECT_EQ(fresh.Color(), QColor(0xFF, 0xFF, 0xFF));
  EXPECT_EQ(fresh.FrameColor(), QColor(0xB4, 0xB4, 0xB4));
  EXPECT_EQ(fresh.Style(), 51);
  EXPECT_EQ(fresh.BgMode(), BackgroundMode::bmTiled);
  EXPECT_TRUE(fresh.Empty());
  EXPECT_TRUE(fresh.testAttribute(Qt::WA_OpaquePaintEvent));
  QStringList names{QStringLiteral("kept")};
  EXPECT_EQ(fresh.GetStyleNames(names), 176);
  ASSERT_EQ(names.size(), 177);
  EXPECT_EQ(names[1], QStringLiteral("Expand from right"));
  EXPECT_EQ(names[176], QStringLiteral("Slide out from top"));
  // Published to Qt's property system, setters and all.
  EXPECT_TRUE(fresh.setProperty("Step", 250));
  EXPECT_EQ(fresh.Step(), 99);
  EXPECT_TRUE(fresh.setProperty("StyleName", QStringLiteral("custom")));
  EXPECT_EQ(fresh.property("Style").toInt(), 0);
  EXPECT_TRUE(fresh.setProperty("FrameColor", QColor(Qt::red)));
  EXPECT_EQ(fresh.FrameColor(), QColor(Qt::red));
}

TEST_F(DioramaTest, ThreadedTransitionFiresItsEventsOnTheUiThreadAndEndsOnThePicture) {
  Recorder recorder(*diorama);
  diorama->SetCenter(true);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"Start"})) << "threaded Execute returns at once";
  ASSERT_TRUE(WaitUntil([&] { return recorder.Stopped(); }));
  EXPECT_EQ(recorder.events, RunEvents(25));
  EXPECT_FALSE(recorder.eventOffUiThread);
  EXPECT_TRUE(recorder.frameOffUiThread.load()) << "frames are computed on the timer thread";
  EXPECT_FALSE(diorama->Busy());
  const QImage shown = Shown(*diorama);
  EXPECT_EQ(shown.pixel(15, 10), CardAt(15, 10));
  EXPECT_EQ(shown.pixel(44, 29), CardAt(44, 29));
  EXPECT_EQ(shown.pixel(14, 10), qRgb(10, 20, 30));
}

TEST_F(DioramaTest, LoopTransitionRunsInsideExecute) {
  Recorder recorder(*diorama);
  diorama->SetThreaded(false);
  diorama->SetStep(3);
  diorama->SetCenter(true);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  EXPECT_EQ(recorder.events, RunEvents(34));
  std::vector<int> expected;
  for (int p = 3; p < 100; p += 3) expected.push_back(p);
  expected.push_back(100);
  EXPECT_EQ(recorder.progress, expected);
  EXPECT_EQ(Shown(*diorama).pixel(20, 15), CardAt(20, 15));
}

TEST_F(DioramaTest, SplashStyleRunTurnsBackAtOneHundred) {
  Recorder recorder(*diorama);
  diorama->SetThreaded(false);
  diorama->SetStep(6);
  diorama->SetStretch(true);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->SetOnProgress([&](CustomDiorama& sender) {
    recorder.Add(sender, "Progress");
    if (sender.Progress() == 100 && !sender.Reverse()) {
      sender.SetStyle(52);
      sender.SetReverse(true);
    }
  });
  diorama->Execute();
  EXPECT_EQ(recorder.events, RunEvents(34));
  EXPECT_EQ(diorama->Style(), 52);
  EXPECT_EQ(Shown(*diorama).pixel(30, 20), qRgb(10, 20, 30)) << "the run ends on its start frame";
}

TEST_F(DioramaTest, ManualTransitionFollowsProgressWrites) {
  Recorder recorder(*diorama);
  diorama->SetManual(true);
  diorama->SetCenter(true);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"Start"}));
  for (const int p : {10, 10, 60, 100, 100}) diorama->SetProgress(p);
  EXPECT_EQ(recorder.progress, (std::vector<int>{10, 60, 100}));
  EXPECT_EQ(Shown(*diorama).pixel(15, 10), CardAt(15, 10));
  EXPECT_TRUE(diorama->Busy());
  diorama->SetManual(false);  // continues automatically from 100: nothing left but the end
  ASSERT_TRUE(WaitUntil([&] { return recorder.Stopped(); }));
  EXPECT_EQ(recorder.Count("Complete"), 1);
}

TEST_F(DioramaTest, ReverseTransitionEndsOnTheStartFrame) {
  Recorder recorder(*diorama);
  diorama->SetReverse(true);
  diorama->SetStep(20);
  diorama->SetCenter(true);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  ASSERT_TRUE(WaitUntil([&] { return recorder.Stopped(); }));
  EXPECT_EQ(recorder.events, RunEvents(5));
  EXPECT_EQ(Shown(*diorama).pixel(20, 15), qRgb(10, 20, 30));
}

TEST_F(DioramaTest, StopMidwayAndExecuteWhileBusy) {
  Recorder recorder(*diorama);
  diorama->SetStep(1);
  diorama->SetDelay(5);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  diorama->Picture().SetImage(TestCard(8, 8));
  diorama->Execute();  // ignored: Busy
  ASSERT_TRUE(WaitUntil([&] { return recorder.progress.size() >= 2; }));
  diorama->Stop();
  EXPECT_EQ(recorder.events.back(), "Stop");
  EXPECT_EQ(recorder.Count("Start"), 1);
  const auto count = recorder.events.size();
  QTest::qWait(30);
  EXPECT_EQ(recorder.events.size(), count);
  EXPECT_EQ(recorder.Count("Complete"), 0);
  EXPECT_FALSE(diorama->Busy());
}

TEST_F(DioramaTest, LateMessagesAfterStopAndANewExecuteAreIgnored) {
  FakeTimerService timer;
  diorama->SetTimerService(timer);
  Recorder recorder(*diorama);
  diorama->SetStep(100);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  timer.Tick();  // the last step: progress and end are posted, not yet delivered
  diorama->Stop();
  diorama->Picture().SetImage(TestCard(20, 10));
  diorama->Execute();
  QCoreApplication::sendPostedEvents(diorama.get());
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"Start", "Stop", "Start"}));
  EXPECT_TRUE(diorama->Busy());
  EXPECT_EQ(diorama->Progress(), 0);
  timer.Tick();
  QCoreApplication::sendPostedEvents(diorama.get());
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"Start", "Stop", "Start", "Progress", "Complete", "Stop"}));
  diorama->SetTimerService(slideshow::SystemTimerService());
}

TEST_F(DioramaTest, DestroyingARunningTransitionIsQuiet) {
  auto doomed = std::make_unique<Diorama>();
  int stops = 0;
  doomed->SetOnStop([&](CustomDiorama&) { ++stops; });
  doomed->SetDelay(1);
  doomed->Picture().SetImage(TestCard(200, 100));
  doomed->show();
  doomed->Execute();
  QTest::qWait(5);
  doomed.reset();
  QTest::qWait(10);
  EXPECT_EQ(stops, 0);
}

TEST_F(DioramaTest, LayoutAndBorderAsShown) {
  // The 400 x 200 picture in a 200 x 200 client area with Proportional and
  // Center: shown at 200 x 100 from (0, 50).
  diorama->resize(200, 200);
  diorama->SetManual(true);
  diorama->SetProportional(true);
  diorama->SetCenter(true);
  QImage picture(400, 200, QImage::Format_RGB32);
  picture.fill(QColor(200, 100, 0));
  diorama->Picture().SetImage(picture);
  diorama->Execute();
  diorama->SetProgress(100);
  QImage shown = Shown(*diorama);
  EXPECT_EQ(shown.pixel(100, 49), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(100, 50), qRgb(200, 100, 0));
  EXPECT_EQ(shown.pixel(100, 149), qRgb(200, 100, 0));
  EXPECT_EQ(shown.pixel(100, 150), qRgb(10, 20, 30));

  diorama->SetFrameColor(QColor(0, 0, 255));
  diorama->SetFrameWidth(4);  // PicRect (4, 52) .. (196, 148), the border 4 pixels around it
  shown = Shown(*diorama);
  EXPECT_EQ(shown.pixel(1, 2), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(100, 47), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(0, 48), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(100, 51), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(3, 100), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(100, 52), qRgb(200, 100, 0));
  EXPECT_EQ(shown.pixel(4, 100), qRgb(200, 100, 0));
  EXPECT_EQ(shown.pixel(195, 100), qRgb(200, 100, 0));
  EXPECT_EQ(shown.pixel(196, 100), qRgb(0, 0, 255));
  EXPECT_EQ(shown.pixel(100, 160), qRgb(10, 20, 30));
}

TEST_F(DioramaTest, PaintInsidePicRectDrawsTheSameFrameAsAWholeRepaint) {
  diorama->resize(97, 61);
  diorama->SetManual(true);
  diorama->SetStretch(true);
  diorama->SetFrameWidth(3);
  diorama->Picture().SetImage(TestCard(13, 7));
  diorama->Execute();
  diorama->SetProgress(100);
  const QImage whole = Shown(*diorama);
  const QRect inside(5, 4, 80, 50);  // within PicRect (3, 3) .. (94, 58): only the frame is drawn
  const QImage part = Shown(*diorama, inside);
  EXPECT_EQ(part, whole.copy(inside));
  // Nearest pixels, the one under each pixel's centre: 91 columns from 13.
  EXPECT_EQ(whole.pixel(3, 3), TestCardColor(0, 0));
  EXPECT_EQ(whole.pixel(3 + 90, 3 + 54), TestCardColor(12, 6));
  EXPECT_EQ(whole.pixel(3 + 45, 3), TestCardColor((2 * 45 + 1) * 13 / (2 * 91), 0));
}

TEST_F(DioramaTest, BackgroundPictureTilesAroundTheFrame) {
  diorama->SetBgMode(BackgroundMode::bmTiled);
  diorama->BgPicture().SetImage(TestCard(7, 5));
  QImage shown = Shown(*diorama);
  EXPECT_EQ(shown.pixel(0, 0), TestCardColor(0, 0));
  EXPECT_EQ(shown.pixel(59, 39), TestCardColor(59 % 7, 39 % 5));
  diorama->SetBgMode(BackgroundMode::bmCentered);
  shown = Shown(*diorama);
  EXPECT_EQ(shown.pixel(0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(26, 17), TestCardColor(0, 0)) << "centred: ((60 - 7) / 2, (40 - 5) / 2)";
  // A transparent background shows Color behind it.
  diorama->BgPicture().SetImage(TestCard(7, 5, /*withAlpha=*/true));
  diorama->SetColor(QColor(250, 0, 0));
  EXPECT_EQ(Shown(*diorama).pixel(26, 17), qRgb(250, 0, 0));
}

TEST_F(DioramaTest, TransparentPictureComesInOnColor) {
  diorama->SetManual(true);
  diorama->SetColor(QColor(0, 250, 0));
  diorama->Picture().SetImage(TestCard(30, 20, /*withAlpha=*/true));
  diorama->Execute();
  diorama->SetProgress(100);
  const QImage shown = Shown(*diorama);
  EXPECT_EQ(shown.pixel(0, 3), qRgb(0, 250, 0));
  EXPECT_EQ(shown.pixel(5, 3), TestCardColor(5, 3));
}

TEST_F(DioramaTest, PictureChangesAutoSizeAndTargetSize) {
  int changes = 0;
  diorama->SetOnChange([&](CustomDiorama&) { ++changes; });
  diorama->Picture().SetImage(TestCard(30, 20));
  EXPECT_EQ(changes, 1);
  diorama->SetFrameWidth(2);
  diorama->SetAutoSize(true);
  EXPECT_EQ(diorama->size(), QSize(34, 24));
  diorama->SetFrameWidth(5);
  EXPECT_EQ(diorama->size(), QSize(40, 30));
  diorama->SetAlign(slideshow::Align::alTop);
  int width = 1, height = 1;
  diorama->CanAutoSize(width, height);
  EXPECT_EQ(width, 1) << "aligned to the top: the width is the parent's";
  EXPECT_EQ(height, 30);
  diorama->SetAlign(slideshow::Align::alNone);
  diorama->SetAutoSize(false);

  EXPECT_FALSE(diorama->Picture().TargetSize().isValid()) << "shown at its own size: decode it whole";
  diorama->SetProportional(true);
  EXPECT_EQ(diorama->Picture().TargetSize(), diorama->screen()->size());
}

TEST_F(DioramaTest, AlignedToTheClientAreaFollowsTheParent) {
  QWidget parent;
  parent.resize(120, 80);
  auto* child = new Diorama(&parent);  // owned by parent
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  child->SetAlign(slideshow::Align::alClient);
  EXPECT_EQ(child->geometry(), QRect(0, 0, 120, 80));
  parent.resize(150, 90);
  EXPECT_EQ(child->geometry(), QRect(0, 0, 150, 90));
  child->SetAlign(slideshow::Align::alBottom);
  child->resize(150, 20);
  parent.resize(100, 100);
  EXPECT_EQ(child->geometry(), QRect(0, 80, 100, 20));
}

TEST_F(DioramaTest, MouseAndClickEvents) {
  std::vector<std::string> events;
  diorama->SetOnClick([&](CustomDiorama&) { events.emplace_back("Click"); });
  diorama->SetOnDblClick([&](CustomDiorama&) { events.emplace_back("DblClick"); });
  diorama->SetOnMouseDown([&](CustomDiorama&, QMouseEvent&) { events.emplace_back("Down"); });
  diorama->SetOnMouseUp([&](CustomDiorama&, QMouseEvent&) { events.emplace_back("Up"); });
  diorama->SetOnMouseEnter([&](CustomDiorama&) { events.emplace_back("Enter"); });
  diorama->SetOnMouseLeave([&](CustomDiorama&) { events.emplace_back("Leave"); });
  QTest::mouseClick(diorama.get(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseDClick(diorama.get(), Qt::LeftButton, {}, QPoint(10, 10));
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(diorama.get(), &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(diorama.get(), &leave);
  ASSERT_GE(events.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 3), (std::vector<std::string>{"Down", "Up", "Click"}));
  EXPECT_NE(std::find(events.begin(), events.end(), "DblClick"), events.end());
  EXPECT_EQ(std::vector<std::string>(events.end() - 2, events.end()), (std::vector<std::string>{"Enter", "Leave"}));
}

TEST_F(DioramaTest, ClearShowsOnlyTheBackgroundAgain) {
  diorama->SetManual(true);
  diorama->Picture().SetImage(TestCard(30, 20));
  diorama->Execute();
  diorama->SetProgress(100);
  diorama->Clear();
  EXPECT_EQ(Shown(*diorama).pixel(5, 5), TestCardColor(5, 5)) << "Clear while Busy does nothing";
  diorama->Stop();
  diorama->Clear();
  EXPECT_EQ(Shown(*diorama).pixel(5, 5), qRgb(10, 20, 30));
}

// How many pixels of `shown` inside `area` differ from `picture` stretched
// into `area` by nearest pixels (the one under each pixel's centre).
int PixelsOffTheStretchedPicture(const QImage& shown, const QRect& area, const QImage& picture) {
  int off = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const int sy = int((2 * std::int64_t(y - area.top()) + 1) * picture.height() / (2 * area.height()));
    for (int x = area.left(); x <= area.right(); ++x) {
      const int sx = int((2 * std::int64_t(x - area.left()) + 1) * picture.width() / (2 * area.width()));
      off += shown.pixel(x, y) == picture.pixel(sx, sy) ? 0 : 1;
    }
  }
  return off;
}

QImage OnColor(const slideshow::Picture& picture, const QColor& color) {
  slideshow::Picture opaque;
  opaque.SetBitmap(picture.Render(raster::MakePixel(std::uint8_t(color.red()), std::uint8_t(color.green()),
                                                    std::uint8_t(color.blue()), 0)));
  return opaque.ToImage().convertToFormat(QImage::Format_RGB32);
}

// A metafile is a picture like the others once loaded: placed, stretched and
// brought in by a transition at the size its header gives, on Color where it
// draws nothing.
TEST_F(DioramaTest, MetafilePictureIsLaidOutAndBroughtInLikeAnyOther) {
  diorama->resize(300, 200);
  diorama->SetManual(true);
  diorama->SetProportional(true);
  diorama->SetCenter(true);
  diorama->SetStyle(1);
  diorama->Picture().LoadFromFile(slideshow_test::MetafileFixture("card-emf.emf"));
  ASSERT_EQ(QSize(diorama->Picture().Width(), diorama->Picture().Height()), QSize(600, 700));
  diorama->Execute();
  diorama->SetProgress(50);
  const QImage halfway = Shown(*diorama);
  diorama->SetProgress(100);
  const QImage shown = Shown(*diorama);
  // 600 x 700 kept in shape within 300 x 200: 171 x 200, centred.
  const QRect area(64, 0, 171, 200);
  const QImage card = OnColor(diorama->Picture(), QColor(10, 20, 30));
  EXPECT_EQ(PixelsOffTheStretchedPicture(shown, area, card), 0);
  EXPECT_GT(PixelsOffTheStretchedPicture(halfway, area, card), 171 * 200 / 10) << "halfway through the effect";
  EXPECT_EQ(shown.pixel(63, 100), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(235, 100), qRgb(10, 20, 30));
  EXPECT_EQ(shown.pixel(233, 190), qRgb(10, 20, 30)) << "the card's empty last cell shows Color";

  // Stretched to the whole client area, the other way round.
  diorama->Stop();
  diorama->SetProportional(false);
  diorama->SetStretch(true);
  diorama->Picture().LoadFromFile(slideshow_test::MetafileFixture("card-wmf-placeable.wmf"));
  diorama->Execute();
  diorama->SetProgress(100);
  EXPECT_EQ(PixelsOffTheStretchedPicture(Shown(*diorama), QRect(0, 0, 300, 200),
                                         OnColor(diorama->Picture(), QColor(10, 20, 30))),
            0);
}

TEST_F(DioramaTest, MetafileBackgroundIsStretchedOrCentred) {
  diorama->resize(300, 350);
  diorama->SetBgMode(BackgroundMode::bmStretched);
  diorama->SetColor(QColor(250, 240, 0));
  diorama->BgPicture().LoadFromFile(slideshow_test::MetafileFixture("card-emf.emf"));
  const QImage card = OnColor(diorama->BgPicture(), QColor(250, 240, 0));
  QImage shown = Shown(*diorama);
  // Stretching goes through the raster layer's own scaler: the cells' insides
  // must match, edges may fall a pixel apart.
  const struct {
    int x, y;  // the centre of a filled part of a cell, on the card
  } filled[] = {{550, 50}, {50, 150}, {250, 250}, {50, 650}, {250, 650}};
  for (const auto& p : filled) {
    EXPECT_EQ(shown.pixel(p.x / 2, p.y / 2), card.pixel(p.x, p.y)) << p.x << "," << p.y;
  }
  EXPECT_EQ(shown.pixel(295, 345), qRgb(250, 240, 0)) << "the card's empty last cell shows Color";

  // Centred: 600 x 700 in 300 x 350 is placed at (-150, -175), no fill visible.
  diorama->SetBgMode(BackgroundMode::bmCentered);
  shown = Shown(*diorama);
  EXPECT_EQ(shown, card.copy(150, 175, 300, 350));
}

}  // namespace
