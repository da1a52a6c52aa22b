#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "core_host.h"

namespace {

using namespace std::chrono_literals;
using slideshow_test::Card;
using slideshow_test::CoreHost;

// Every Start is followed by exactly one Stop before the next Start, with at
// most one Complete in between, and Busy is false whenever OnStop fires.
void ExpectWellFormed(const std::vector<std::string>& events) {
  bool running = false;
  int completes = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const std::string& event = events[i];
    if (event == "Start") {
      ASSERT_FALSE(running) << "Start without a Stop before it, at " << i;
      running = true;
      completes = 0;
    } else if (event == "Stop") {
      ASSERT_TRUE(running) << "a second Stop, at " << i;
      running = false;
    } else if (event == "Complete") {
      ASSERT_TRUE(running && ++completes == 1) << "a stray Complete, at " << i;
    } else {
      ASSERT_TRUE(running && event.rfind("Progress ", 0) == 0) << event << " at " << i;
    }
  }
  EXPECT_FALSE(running);
}

TEST(DioramaStressTest, ShortThreadedTransitionsBackToBackWithRandomStops) {
  std::mt19937 random(20240611);
  const auto draw = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
  CoreHost host;
  host.client = {0, 0, 80, 60};
  raster::Bitmap client(80, 60);
  const auto pumpFor = [&](std::chrono::milliseconds time) {
    host.PumpUntil([] { return false; }, time);
    host.PaintContent(client.Canvas());  // reads Screen while the timer thread writes it
  };

  int started = 0;
  for (int round = 0; round < 300; ++round) {
    host.SetStep(static_cast<std::uint16_t>(draw(5, 50)));
    host.SetDelay(static_cast<std::uint16_t>(draw(1, 3)));
    host.SetReverse(draw(0, 4) == 0);
    host.SetExactTiming(draw(0, 1) == 1);
    host.SetStyle(draw(0, 176));
    const int size = draw(0, 2);
    host.picture = Card(16 + 8 * size, 12 + 6 * size, static_cast<std::uint8_t>(round));
    host.Execute();
    ++started;
    switch (draw(0, 5)) {
      case 0:
        host.Stop();
        break;
      case 1:
        pumpFor(std::chrono::milliseconds(draw(0, 12)));
        host.Stop();
        break;
      case 2:
        ASSERT_TRUE(host.PumpUntil([&] { return !host.Busy(); }))
            << "round " << round << " progress " << host.Progress() << " timer " << host.TimerID() << " delay "
            << host.Delay() << " step " << host.Step() << " reverse " << host.Reverse() << " manual "
            << host.Manual() << " exact " << host.ExactTiming();
        break;
      case 3:
        pumpFor(std::chrono::milliseconds(draw(0, 5)));
        host.SetManual(true);
        host.SetProgress(draw(0, 100));
        host.SetCenter(!host.Center());
        host.SetManual(false);
        pumpFor(std::chrono::milliseconds(draw(0, 5)));
        host.Stop();
        break;
      case 4:
        host.Execute();  // ignored while Busy
        host.SetStretch(!host.Stretch());
        pumpFor(std::chrono::milliseconds(draw(0, 6)));
        host.Stop();
        break;
      default:
        pumpFor(std::chrono::milliseconds(draw(0, 8)));
        host.Stop();
        host.SetManual(false);
        break;
    }
    if (host.Manual()) host.SetManual(false);
    ASSERT_FALSE(host.Busy()) << "round " << round;
    // A few rounds leave their late messages queued into the next one.
    if (draw(0, 3) != 0) pumpFor(1ms);
  }
  host.PumpUntil([] { return false; }, 20ms);
  EXPECT_FALSE(host.eventOffUiThread.load());
  ExpectWellFormed(host.events);
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "Start"), started);
}

}  // namespace
