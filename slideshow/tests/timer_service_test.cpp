#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "slideshow/timer_service.h"

namespace {

using namespace std::chrono_literals;
using slideshow::SystemTimerService;
using slideshow::TimerId;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(TimerServiceTest, ReportsItsRangeAndRefusesPeriodsOutsideIt) {
  auto& service = SystemTimerService();
  slideshow::TimerPeriodRange range;
  ASSERT_TRUE(service.QueryPeriodRange(range));
  EXPECT_EQ(range.Minimum, 1u);
  EXPECT_EQ(range.Maximum, 1'000'000u);
  EXPECT_EQ(service.StartPeriodic(0, 0, [] {}), 0u);
  EXPECT_EQ(service.StartPeriodic(1'000'001, 0, [] {}), 0u);
  EXPECT_EQ(service.StartPeriodic(5, 0, nullptr), 0u);
  EXPECT_FALSE(service.Kill(0));
}

TEST(TimerServiceTest, ResolutionRequestsPairLikeBrackets) {
  auto& service = SystemTimerService();
  EXPECT_FALSE(service.BeginResolution(0));
  EXPECT_TRUE(service.BeginResolution(4));
  EXPECT_TRUE(service.BeginResolution(4));
  EXPECT_TRUE(service.EndResolution(4));
  EXPECT_TRUE(service.EndResolution(4));
  EXPECT_FALSE(service.EndResolution(4)) << "an end without its begin";
}

TEST(TimerServiceTest, TicksComeRepeatedlyOnAnotherThreadUntilKilled) {
  auto& service = SystemTimerService();
  std::atomic<int> ticks{0};
  std::atomic<bool> onCaller{false};
  const auto caller = std::this_thread::get_id();
  const TimerId id = service.StartPeriodic(2, 0, [&] {
    if (std::this_thread::get_id() == caller) onCaller.store(true);
    ++ticks;
  });
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(WaitFor([&] { return ticks.load() >= 3; }));
  EXPECT_TRUE(service.Kill(id));
  const int after = ticks.load();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks.load(), after) << "no tick after Kill has returned";
  EXPECT_FALSE(onCaller.load());
  EXPECT_FALSE(service.Kill(id));
}

TEST(TimerServiceTest, KillWaitsForARunningTick) {
  auto& service = SystemTimerService();
  std::atomic<bool> inside{false};
  std::atomic<bool> finished{false};
  const TimerId id = service.StartPeriodic(1, 0, [&] {
    if (finished.load()) return;
    inside.store(true);
    std::this_thread::sleep_for(30ms);
    finished.store(true);
  });
  ASSERT_TRUE(WaitFor([&] { return inside.load(); }));
  service.Kill(id);
  EXPECT_TRUE(finished.load());
}

TEST(TimerServiceTest, KillFromItsOwnTickEndsWithoutWaitingForItself) {
  auto& service = SystemTimerService();
  std::atomic<TimerId> id{0};
  std::atomic<int> ticks{0};
  std::atomic<bool> killed{false};
  id.store(service.StartPeriodic(1, 0, [&] {
    ++ticks;
    while (id.load() == 0) std::this_thread::yield();
    if (!killed.exchange(true)) service.Kill(id.load());
  }));
  ASSERT_TRUE(WaitFor([&] { return killed.load(); }));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ticks.load(), 1);
}

TEST(TimerServiceTest, ManyTimersRunSideBySide) {
  auto& service = SystemTimerService();
  std::atomic<int> a{0}, b{0};
  const TimerId first = service.StartPeriodic(1, 1, [&] { ++a; });
  const TimerId second = service.StartPeriodic(3, 0, [&] { ++b; });
  ASSERT_NE(first, second);
  ASSERT_TRUE(WaitFor([&] { return a.load() >= 5 && b.load() >= 2; }));
  service.Kill(first);
  service.Kill(second);
}

}  // namespace
