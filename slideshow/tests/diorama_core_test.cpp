#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core_host.h"
#include "fake_timer_service.h"
#include "slideshow/diorama_core.h"

namespace {

using slideshow::BackgroundMode;
using slideshow_test::Card;
using slideshow_test::CoreHost;
using slideshow_test::FakeTimerService;
using slideshow_test::SameImage;
using slideshow_test::Solid;

// The progress values of a run from its start to its end.
std::vector<int> Sequence(int step, bool reverse) {
  std::vector<int> values;
  int progress = reverse ? 100 : 0;
  while (reverse ? progress != 0 : progress != 100) {
    progress = reverse ? std::max(progress - step, 0) : std::min(progress + step, 100);
    values.push_back(progress);
  }
  return values;
}

std::vector<std::string> RunEvents(const std::vector<int>& progress) {
  std::vector<std::string> events{"Start"};
  for (const int value : progress) events.push_back("Progress " + std::to_string(value));
  events.insert(events.end(), {"Complete", "Stop"});
  return events;
}

int CountOf(const std::vector<std::string>& events, const std::string& name) {
  return static_cast<int>(std::count(events.begin(), events.end(), name));
}

TEST(DioramaCoreTest, StartsWithTheDocumentedDefaults) {
  CoreHost host(/*keepDefaults=*/true);
  EXPECT_EQ(host.Style(), 51);
  EXPECT_EQ(host.StyleName(), "Appear and Contract to middle");
  EXPECT_EQ(host.Step(), 4);
  EXPECT_EQ(host.Delay(), 40);
  EXPECT_FALSE(host.ExactTiming());
  EXPECT_TRUE(host.Threaded());
  EXPECT_FALSE(host.Manual());
  EXPECT_FALSE(host.Reverse());
  EXPECT_TRUE(host.OverDraw());
  EXPECT_FALSE(host.Center() || host.Stretch() || host.Proportional());
  EXPECT_EQ(host.BgMode(), BackgroundMode::bmTiled);
  EXPECT_EQ(host.FrameWidth(), 0);
  EXPECT_EQ(host.ColorPixel(), raster::MakePixel(0xFF, 0xFF, 0xFF, 0xFF));
  EXPECT_EQ(host.FrameColorPixel(), raster::MakePixel(0xB4, 0xB4, 0xB4, 0xFF));
  EXPECT_EQ(host.Progress(), 0);
  EXPECT_FALSE(host.Busy());
  EXPECT_TRUE(host.Screen().Empty());
}

TEST(DioramaCoreTest, StepIsKeptWithinOneToHundredAs99) {
  const struct {
    int given, stored;
  } cases[] = {{0, 1}, {1, 1}, {3, 3}, {100, 100}, {101, 99}, {250, 99}, {65535, 99}};
  CoreHost host;
  for (const auto& c : cases) {
    host.SetStep(static_cast<std::uint16_t>(c.given));
    EXPECT_EQ(host.Step(), c.stored) << "Step " << c.given;
  }
}

TEST(DioramaCoreTest, StyleAndStyleNameFollowTheTable) {
  CoreHost host;
  host.SetStyle(177);
  EXPECT_EQ(host.Style(), 51) << "above the table: ignored";
  host.SetStyle(-1);
  EXPECT_EQ(host.Style(), 51);
  host.SetStyle(0);
  EXPECT_EQ(host.StyleName(), "Custom");
  host.SetStyle(176);
  EXPECT_EQ(host.StyleName(), "Slide out from top");

  const struct {
    const char* name;
    int style;
  } names[] = {
      {"CUSTOM", 0},
      {"Expand from bottom", 18},      // never 33, which bears the same name
      {"expand IN from top", 25},      // never 34
      {"Unven shred from bottom", 76}, // the table's own spelling
      {"no such effect", 76},          // unchanged
      {"", 76},
      {"Custom ", 76},
  };
  for (const auto& n : names) {
    host.SetStyleName(n.name);
    EXPECT_EQ(host.Style(), n.style) << '"' << n.name << '"';
  }
}

// --- Automatic runs

struct RunCase {
  const char* name;
  bool threaded;
  int step;
  bool reverse;
};

class AutomaticRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(AutomaticRunTest, RunsToItsEndFiringEventsInOrder) {
  const RunCase run = GetParam();
  CoreHost host;
  host.SetThreaded(run.threaded);
  host.SetStep(static_cast<std::uint16_t>(run.step));
  host.SetReverse(run.reverse);
  host.SetDelay(2);
  host.picture = Card(13, 9, 0x40);
  host.Execute();
  ASSERT_TRUE(host.PumpUntil([&] { return !host.events.empty() && host.events.back() == "Stop"; }));

  const std::vector<int> expected = Sequence(run.step, run.reverse);
  if (run.threaded) {
    // The UI thread reads Progress when the message arrives, possibly a step
    // later; the count and the order are exact.
    ASSERT_EQ(host.progressSeen.size(), expected.size());
    EXPECT_TRUE(std::is_sorted(host.progressSeen.begin(), host.progressSeen.end(),
                               [&](int a, int b) { return run.reverse ? a > b : a < b; }) ||
                host.progressSeen.size() == 1);
    EXPECT_EQ(host.progressSeen.back(), expected.back());
    EXPECT_EQ(host.events.front(), "Start");
    EXPECT_EQ(host.events.end()[-2], "Complete");
    EXPECT_FALSE(host.frameOnUiThread.load()) << "frames are computed on the timer thread";
  } else {
    EXPECT_EQ(host.events, RunEvents(expected));
  }
  EXPECT_FALSE(host.eventOffUiThread.load());
  EXPECT_EQ(host.framesShown, static_cast<int>(expected.size()));
  EXPECT_FALSE(host.Busy());
  EXPECT_EQ(host.NewImage(), nullptr);
  EXPECT_EQ(host.OldImage(), nullptr);
  EXPECT_EQ(host.TimerID(), 0u);
  // A forward run ends on the new picture, a reverse one on the start frame.
  EXPECT_TRUE(SameImage(host.Screen(), run.reverse ? Solid(13, 9, host.ColorPixel()) : *host.picture));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AutomaticRunTest,
    ::testing::Values(RunCase{"LoopStep4", false, 4, false}, RunCase{"LoopStep3", false, 3, false},
                      RunCase{"LoopStep100", false, 100, false}, RunCase{"LoopReverse6", false, 6, true},
                      RunCase{"ThreadedStep4", true, 4, false}, RunCase{"ThreadedStep3", true, 3, false},
                      RunCase{"ThreadedStep100", true, 100, false},
                      RunCase{"ThreadedReverse6", true, 6, true}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(DioramaCoreTest, ThreadedTicksGiveOneFrameAndOneOnProgressEach) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.SetDelay(40);
  host.picture = Card(8, 8, 1);
  host.Execute();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start"})) << "Execute returns at once";
  EXPECT_EQ(timer.LastPeriod(), 40u);
  EXPECT_EQ(timer.LastResolution(), 4u) << "one tenth of the period";
  EXPECT_EQ(host.TimerResolution(), 4u);
  for (int tick = 0; tick < 25; ++tick) {
    timer.Tick();
    host.PumpMessages();
  }
  EXPECT_EQ(host.events, RunEvents(Sequence(4, false)));
  EXPECT_EQ(timer.Running(), 0);
  EXPECT_EQ(timer.OpenRequests(), 0) << "the resolution request is ended with the timer";
  EXPECT_FALSE(host.frameOnUiThread.load());
  EXPECT_TRUE(SameImage(host.Screen(), *host.picture));
}

TEST(DioramaCoreTest, StartTimerClampsDelayAndResolutionToThePlatformRange) {
  const struct {
    unsigned minimum, maximum;
    bool queryFails;
    std::uint16_t delay;
    std::uint16_t delayAfter;
    unsigned resolution;
    bool started;
  } cases[] = {
      {1, 1'000'000, false, 40, 40, 4, true},
      {10, 30, false, 40, 30, 10, true},   // period capped, resolution raised
      {10, 1000, false, 5, 10, 10, true},  // the minimum also raises the period
      {1, 1000, false, 5, 5, 1, true},
      {0, 0, true, 40, 0, 0, false},       // no range: no timer, Busy until Stop
  };
  for (const auto& c : cases) {
    FakeTimerService timer;
    timer.range = {c.minimum, c.maximum};
    timer.queryFails = c.queryFails;
    CoreHost host;
    host.SetTimerService(timer);
    host.SetDelay(c.delay);
    host.picture = Card(4, 4, 2);
    host.Execute();
    EXPECT_EQ(host.Delay(), c.delayAfter) << c.minimum << ".." << c.maximum << " delay " << c.delay;
    EXPECT_EQ(host.TimerResolution(), c.resolution);
    EXPECT_EQ(timer.Running(), c.started ? 1 : 0);
    if (c.started) {
      EXPECT_EQ(timer.LastPeriod(), c.delayAfter);
    }
    EXPECT_TRUE(host.Busy());
    host.Stop();
    EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Stop"}));
    EXPECT_EQ(timer.Running(), 0);
    EXPECT_EQ(timer.OpenRequests(), 0);
  }
}

// --- Manual mode and switching

TEST(DioramaCoreTest, ManualRunMakesOneFramePerDifferingWrite) {
  CoreHost host;
  host.SetManual(true);
  host.picture = Card(6, 5, 3);
  host.SetProgress(30);
  EXPECT_EQ(host.Progress(), 0) << "writes while not Busy are ignored";
  host.Execute();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start"}));
  EXPECT_TRUE(host.Busy());
  host.SetProgress(30);
  host.SetProgress(30);
  host.SetProgress(250);
  EXPECT_EQ(host.Progress(), 100);
  EXPECT_TRUE(SameImage(host.Screen(), *host.picture));
  EXPECT_TRUE(host.Busy()) << "a manual run never completes by itself";
  host.Stop();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Progress 30", "Progress 100", "Stop"}));
  EXPECT_EQ(host.framesShown, 2);
  EXPECT_EQ(host.TimerID(), 0u);
}

TEST(DioramaCoreTest, ManualReverseShowsTheStartFrameAtOneHundred) {
  CoreHost host;
  host.SetManual(true);
  host.SetReverse(true);
  host.picture = Card(6, 5, 3);
  host.Execute();
  EXPECT_EQ(host.Progress(), 100);
  EXPECT_TRUE(SameImage(host.Screen(), Solid(6, 5, host.ColorPixel())));
  host.SetProgress(100);
  EXPECT_EQ(host.events.size(), 1u) << "the same value again does nothing";
  host.SetProgress(99);
  host.SetProgress(100);
  EXPECT_TRUE(SameImage(host.Screen(), *host.picture));
}

TEST(DioramaCoreTest, SwitchingManualOffContinuesFromTheCurrentProgress) {
  for (const bool threaded : {false, true}) {
    CoreHost host;
    host.SetThreaded(threaded);
    host.SetManual(true);
    host.picture = Card(6, 5, 4);
    host.Execute();
    host.SetProgress(40);
    host.SetManual(false);
    ASSERT_TRUE(host.PumpUntil([&] { return !host.Busy(); }));
    std::vector<std::string> expected{"Start", "Progress 40"};
    if (!threaded) {
      for (int p = 44; p <= 100; p += 4) expected.push_back("Progress " + std::to_string(p));
      expected.insert(expected.end(), {"Complete", "Stop"});
      EXPECT_EQ(host.events, expected);
    } else {
      host.PumpMessages();
      EXPECT_EQ(CountOf(host.events, "Complete"), 1);
      EXPECT_EQ(host.events.back(), "Stop");
      EXPECT_EQ(host.progressSeen.size(), 1u + 15u);
    }
  }
}

TEST(DioramaCoreTest, SwitchingManualOnStopsTheTimerAndKeepsTheRunBusy) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.picture = Card(6, 5, 5);
  host.Execute();
  for (int tick = 0; tick < 2; ++tick) {
    timer.Tick();
    host.PumpMessages();
  }
  host.SetManual(true);
  EXPECT_EQ(timer.Running(), 0);
  EXPECT_TRUE(host.Busy());
  EXPECT_EQ(host.Progress(), 8);
  host.SetProgress(50);
  host.Stop();
  EXPECT_EQ(host.events,
            (std::vector<std::string>{"Start", "Progress 4", "Progress 8", "Progress 50", "Stop"}));
}

TEST(DioramaCoreTest, LoopSwitchedToManualInsideOnProgressEndsTheLoopButStaysBusy) {
  CoreHost host;
  host.SetThreaded(false);
  host.picture = Card(6, 5, 6);
  host.onProgress = [&] {
    if (host.Progress() == 20) host.SetManual(true);
  };
  host.Execute();
  EXPECT_TRUE(host.Busy());
  EXPECT_EQ(host.Progress(), 20);
  EXPECT_EQ(host.events.back(), "Progress 20");
  host.Stop();
  EXPECT_EQ(host.events.back(), "Stop");
  EXPECT_EQ(CountOf(host.events, "Complete"), 0);
}

TEST(DioramaCoreTest, ReverseFlippedInOnProgressTurnsTheLoopBack) {
  // What the splash window does: at 100 it turns the same run back to 0.
  CoreHost host;
  host.SetThreaded(false);
  host.SetStep(6);
  host.picture = Card(9, 7, 7);
  host.onProgress = [&] {
    if (host.Progress() == 100 && !host.Reverse()) {
      host.SetStyle(52);
      host.SetReverse(true);
    }
  };
  host.Execute();
  std::vector<int> expected = Sequence(6, false);
  const std::vector<int> back = Sequence(6, true);
  EXPECT_EQ(expected.size(), 17u);
  EXPECT_EQ(back.size(), 17u);
  expected.insert(expected.end(), back.begin(), back.end());
  EXPECT_EQ(host.events, RunEvents(expected));
  EXPECT_TRUE(SameImage(host.Screen(), Solid(9, 7, host.ColorPixel())));
}

// --- Stopping, overlapping calls and late messages

TEST(DioramaCoreTest, StopMidwayKeepsTheLastFrameAndFiresOnlyOnStop) {
  CoreHost host;
  host.SetStep(1);
  host.SetDelay(5);
  host.picture = Card(10, 10, 8);
  host.Execute();
  ASSERT_TRUE(host.PumpUntil([&] { return host.progressSeen.size() >= 3; }));
  host.Stop();
  EXPECT_FALSE(host.Busy());
  EXPECT_EQ(host.TimerID(), 0u);
  EXPECT_EQ(host.NewImage(), nullptr);
  EXPECT_EQ(host.events.back(), "Stop") << "Busy is false when OnStop fires";
  const std::size_t count = host.events.size();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  host.PumpMessages();
  EXPECT_EQ(host.events.size(), count) << "nothing follows a Stop";
  EXPECT_EQ(CountOf(host.events, "Complete"), 0);
  EXPECT_LT(host.Progress(), 100);
  host.Stop();
  EXPECT_EQ(host.events.size(), count) << "Stop when not Busy does nothing";
}

TEST(DioramaCoreTest, ExecuteWhileBusyOrWithoutPictureDoesNothing) {
  CoreHost host;
  host.Execute();
  EXPECT_TRUE(host.events.empty());
  host.picture = raster::Bitmap();
  host.Execute();
  EXPECT_TRUE(host.events.empty()) << "a picture without pixels is refused";
  EXPECT_FALSE(host.Busy());

  host.SetManual(true);
  host.picture = Card(4, 4, 9);
  host.Execute();
  const std::uint32_t serial = host.Serial();
  host.picture = Card(5, 5, 10);
  host.Execute();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start"}));
  EXPECT_EQ(host.Serial(), serial);
  EXPECT_EQ(host.SourceRect(), (raster::Rect{0, 0, 4, 4}));
}

TEST(DioramaCoreTest, ProgressMessageOfAStoppedTransitionIsDropped) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.picture = Card(6, 6, 11);
  host.Execute();
  timer.Tick();
  ASSERT_EQ(host.QueuedMessages(), 1u);
  host.Stop();
  host.picture = Card(6, 6, 12);
  host.Execute();
  host.PumpMessages();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Stop", "Start"}));
  EXPECT_EQ(host.Progress(), 0) << "the new transition is undisturbed";
  EXPECT_TRUE(host.Busy());
}

TEST(DioramaCoreTest, FinishedMessageOfAStoppedTransitionIsDropped) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.SetStep(100);
  host.picture = Card(6, 6, 13);
  host.Execute();
  timer.Tick();  // the last step: progress and finished are both queued
  ASSERT_EQ(host.QueuedMessages(), 2u);
  EXPECT_EQ(timer.Running(), 0) << "the timer thread stopped its timer itself";
  host.Stop();
  host.Execute();
  host.PumpMessages();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Stop", "Start"}));
  EXPECT_TRUE(host.Busy());
  timer.Tick();
  host.PumpMessages();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Stop", "Start", "Progress 100", "Complete", "Stop"}));
}

TEST(DioramaCoreTest, RunRestartedBeforeItsEndMessageLeavesNoTimerBehind) {
  // Found by the stress test: the last tick has posted the end, then Manual
  // goes on and off again, which starts a timer the end must also stop.
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.SetStep(100);
  host.picture = Card(6, 6, 29);
  host.Execute();
  timer.Tick();
  host.SetManual(true);
  host.SetManual(false);
  EXPECT_EQ(timer.Running(), 1);
  host.PumpMessages();
  EXPECT_FALSE(host.Busy());
  EXPECT_EQ(timer.Running(), 0);
  EXPECT_EQ(timer.OpenRequests(), 0);
  EXPECT_EQ(host.events.back(), "Stop");
}

TEST(DioramaCoreTest, TickThatFiredBeforeStopDoesNotTouchTheNextTransition) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.picture = Card(6, 6, 14);
  host.Execute();
  const auto stale = timer.Callbacks();  // fired, but not yet at the lock
  host.Stop();
  host.Execute();
  const int computed = host.framesComputed.load();
  for (const auto& callback : stale) {
    std::thread late(callback);
    late.join();
  }
  EXPECT_EQ(host.framesComputed.load(), computed);
  EXPECT_EQ(host.QueuedMessages(), 0u);
  EXPECT_EQ(host.Progress(), 0);
  host.Stop();
  for (const auto& callback : stale) {
    std::thread late(callback);  // and none after the end either
    late.join();
  }
  EXPECT_EQ(host.QueuedMessages(), 0u);
}

TEST(DioramaCoreTest, StopInsideTheLastOnProgressEndsOnceWithoutComplete) {
  CoreHost host;
  host.SetThreaded(false);
  host.SetStep(50);
  host.picture = Card(6, 6, 15);
  host.onProgress = [&] {
    if (host.Progress() == 100) host.Stop();
  };
  host.Execute();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Progress 50", "Progress 100", "Stop"}));
}

TEST(DioramaCoreTest, StopInsideOnStartLeavesNoTimerRunning) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.SetStep(50);
  host.picture = Card(6, 6, 16);
  host.onStart = [&] { host.Stop(); };
  host.Execute();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Stop"}));
  EXPECT_EQ(timer.Running(), 0);
  host.onStart = nullptr;
  host.Execute();
  timer.Tick();
  timer.Tick();
  host.PumpMessages();
  EXPECT_EQ(host.events.back(), "Stop");
  EXPECT_EQ(CountOf(host.events, "Complete"), 1);
}

TEST(DioramaCoreTest, DestroyingARunningTransitionStopsItQuietly) {
  std::vector<std::string> events;
  {
    auto host = std::make_unique<CoreHost>();
    host->picture = Card(32, 32, 17);
    host->onStop = [&] { events.push_back("Stop"); };
    host->Execute();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(events.empty()) << "no events fire during destruction";
}

// --- Timing

TEST(DioramaCoreTest, ExactTimingScalesEachStepByTheTimeThatPassed) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.SetDelay(40);
  host.SetExactTiming(true);
  host.UseFakeTime(1000);
  host.picture = Card(6, 6, 18);
  host.Execute();
  host.AdvanceTime(60);  // half a period late: 1.5 steps
  timer.Tick();
  host.PumpMessages();
  EXPECT_EQ(host.Progress(), 6);
  host.AdvanceTime(4);  // far too early: no step, no frame, no message
  const int computed = host.framesComputed.load();
  timer.Tick();
  EXPECT_EQ(host.Progress(), 6);
  EXPECT_EQ(host.framesComputed.load(), computed);
  EXPECT_EQ(host.LastTick(), 1064);
  host.AdvanceTime(3'000'000'000LL);  // beyond int: the rest of the way
  timer.Tick();
  host.PumpMessages();
  EXPECT_EQ(host.events, (std::vector<std::string>{"Start", "Progress 6", "Progress 100", "Complete", "Stop"}));
}

TEST(DioramaCoreTest, ExactTimingWithoutDelayTakesPlainSteps) {
  CoreHost host;
  host.SetThreaded(false);
  host.SetDelay(0);
  host.SetExactTiming(true);
  host.UseFakeTime(5);
  host.picture = Card(6, 6, 19);
  host.Execute();
  EXPECT_EQ(host.events, RunEvents(Sequence(4, false)));
}

TEST(DioramaCoreTest, LoopModeWaitsOneDelayBetweenSteps) {
  CoreHost host;
  host.SetThreaded(false);
  host.SetDelay(40);
  host.UseFakeTime(0);
  host.picture = Card(6, 6, 20);
  std::vector<std::int64_t> ticks;
  host.onProgress = [&] { ticks.push_back(host.LastTick()); };
  host.Execute();
  ASSERT_EQ(ticks.size(), 25u);
  EXPECT_EQ(ticks.front(), 0) << "the first step comes without a wait";
  EXPECT_EQ(ticks.back(), 24 * 40);
}

// --- Frames

TEST(DioramaCoreTest, FramesStartFromTheStartFrameAndEndOnTheNewPicture) {
  CoreHost host;
  host.SetManual(true);
  host.picture = Card(7, 5, 21);
  std::vector<std::string> order;
  host.onBeforeNewFrame = [&](raster::Bitmap& picture, raster::Bitmap& screen) {
    order.push_back(SameImage(screen, Solid(7, 5, host.ColorPixel())) ? "before:start" : "before:other");
    EXPECT_TRUE(SameImage(picture, *host.picture));
    screen.Canvas().SetBrushColor(0);
    raster::SelectClipRgn(screen.Canvas(), raster::CreateRectRgn(0, 0, 1, 1));  // left behind
  };
  host.onAfterNewFrame = [&](raster::Bitmap&, raster::Bitmap& screen) {
    order.push_back(SameImage(screen, *host.picture) ? "after:picture" : "after:start");
  };
  host.Execute();
  host.SetProgress(100);
  host.SetProgress(0);
  host.SetProgress(100);
  // The first frame is the manual run's start frame, drawn by Execute.
  EXPECT_EQ(order, (std::vector<std::string>{"before:start", "after:start", "before:start", "after:picture",
                                             "before:start", "after:start", "before:start", "after:picture"}));
}

TEST(DioramaCoreTest, ManualExecuteDrawsItsStartFrameAtTheNewProgress) {
  CoreHost host;
  host.SetManual(true);
  host.picture = Card(7, 5, 30);
  std::vector<int> drawnAt;
  host.onBeforeNewFrame = [&](raster::Bitmap&, raster::Bitmap&) { drawnAt.push_back(host.Progress()); };
  host.Execute();
  host.SetProgress(100);
  host.Stop();
  host.picture = Card(9, 5, 31);
  host.Execute();
  EXPECT_EQ(drawnAt, (std::vector<int>{0, 100, 0})) << "not at the last transition's 100";
}

TEST(DioramaCoreTest, CustomStyleDrawsOnlyStrictlyBetweenTheEnds) {
  CoreHost host;
  host.SetManual(true);
  host.SetStyle(0);
  host.picture = Card(5, 5, 22);
  host.Execute();
  host.SetProgress(50);
  EXPECT_TRUE(SameImage(host.Screen(), Solid(5, 5, host.ColorPixel())))
      << "without a handler the start frame stays";
  std::vector<int> drawn;
  host.onCustomDraw = [&](raster::Bitmap&, raster::Bitmap& screen) {
    drawn.push_back(host.Progress());
    screen.Fill(raster::MakePixel(1, 2, 3, 0xFF));
  };
  host.SetProgress(60);
  EXPECT_TRUE(SameImage(host.Screen(), Solid(5, 5, raster::MakePixel(1, 2, 3, 0xFF))));
  host.SetProgress(0);
  host.SetProgress(100);
  EXPECT_EQ(drawn, (std::vector<int>{60}));
  EXPECT_TRUE(SameImage(host.Screen(), *host.picture));
}

TEST(DioramaCoreTest, StyleChangedDuringAManualRunRedrawsAtOnce) {
  CoreHost host;
  host.SetManual(true);
  host.SetStyle(0);
  host.picture = Card(5, 5, 23);
  int custom = 0;
  host.onCustomDraw = [&](raster::Bitmap&, raster::Bitmap&) { ++custom; };
  host.Execute();
  host.SetProgress(30);
  const int invalidations = host.invalidations;
  host.SetStyle(51);
  EXPECT_EQ(host.framesComputed.load(), 3) << "the start frame, progress 30, and 30 again";
  EXPECT_GT(host.invalidations, invalidations);
  host.SetStyle(0);
  EXPECT_EQ(custom, 2);
}

TEST(DioramaCoreTest, OverDrawStartsFromTheShownFrameOnlyAtTheSameSize) {
  const struct {
    bool overDraw;
    int width, height;
    bool overBackground;
  } cases[] = {{true, 6, 4, false}, {true, 7, 4, true}, {false, 6, 4, true}};
  for (const auto& c : cases) {
    CoreHost host;
    host.SetManual(true);
    host.SetOverDraw(c.overDraw);
    host.picture = Card(6, 4, 24);
    host.Execute();
    host.SetProgress(100);
    host.Stop();
    host.picture = Card(c.width, c.height, 25);
    host.Execute();
    EXPECT_EQ(host.OverBackground(), c.overBackground) << c.overDraw << " " << c.width;
    const raster::Bitmap expected = c.overBackground ? Solid(c.width, c.height, host.ColorPixel()) : Card(6, 4, 24);
    EXPECT_TRUE(SameImage(*host.OldImage(), expected));
    EXPECT_TRUE(SameImage(host.Screen(), expected)) << "Screen shows the start frame";
  }
}

// --- Errors

TEST(DioramaCoreTest, ErrorWhilePreparingFreesEverythingAndPassesOn) {
  CoreHost host;
  host.picture = Card(5, 5, 26);
  host.failRender = true;
  EXPECT_THROW(host.Execute(), std::runtime_error);
  EXPECT_FALSE(host.Busy());
  EXPECT_TRUE(host.events.empty());
  EXPECT_TRUE(host.Screen().Empty()) << "Screen keeps what it had";
  host.failRender = false;
  host.SetManual(true);
  host.Execute();
  EXPECT_TRUE(host.Busy());
}

TEST(DioramaCoreTest, ErrorInAFrameHandlerOnTheTimerThreadReachesTheUiThread) {
  FakeTimerService timer;
  CoreHost host;
  host.SetTimerService(timer);
  host.picture = Card(5, 5, 27);
  host.onAfterNewFrame = [&](raster::Bitmap&, raster::Bitmap&) {
    if (host.Progress() == 8) throw std::runtime_error("handler failed");
  };
  host.Execute();
  timer.Tick();
  timer.Tick();
  EXPECT_EQ(timer.Running(), 0);
  EXPECT_THROW(host.PumpMessages(), std::runtime_error);
  EXPECT_FALSE(host.Busy());
  EXPECT_EQ(host.NewImage(), nullptr);
  EXPECT_EQ(CountOf(host.events, "Stop"), 0);
}

TEST(DioramaCoreTest, ClearEmptiesTheScreenOnlyWhenIdle) {
  CoreHost host;
  host.SetManual(true);
  host.picture = Card(5, 5, 28);
  host.Execute();
  host.Clear();
  EXPECT_FALSE(host.Screen().Empty()) << "Clear while Busy does nothing";
  host.Stop();
  const int invalidations = host.invalidations;
  host.Clear();
  EXPECT_TRUE(host.Screen().Empty());
  EXPECT_EQ(host.SourceRect(), raster::Rect{});
  EXPECT_EQ(host.PicRect(), raster::Rect{});
  EXPECT_EQ(host.invalidations, invalidations + 1);
}

}  // namespace
