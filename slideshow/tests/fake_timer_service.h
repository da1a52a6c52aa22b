#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "slideshow/timer_service.h"

namespace slideshow_test {

// A timer service whose ticks come only when a test asks for them, each on a
// thread of its own (never the test's thread), so that a test can place a tick
// exactly where it wants it.
class FakeTimerService : public slideshow::TimerService {
 public:
  slideshow::TimerPeriodRange range{1, 1'000'000};
  bool queryFails = false;

  bool QueryPeriodRange(slideshow::TimerPeriodRange& out) const override {
    if (queryFails) return false;
    out = range;
    return true;
  }
  bool BeginResolution(unsigned resolution) override {
    const std::lock_guard lock(m_mutex);
    ++m_openRequests[resolution];
    return true;
  }
  bool EndResolution(unsigned resolution) override {
    const std::lock_guard lock(m_mutex);
    if (m_openRequests[resolution] == 0) return false;
    --m_openRequests[resolution];
    return true;
  }
  slideshow::TimerId StartPeriodic(unsigned period, unsigned resolution,
                                   std::function<void()> callback) override {
    const std::lock_guard lock(m_mutex);
    const slideshow::TimerId id = m_nextId++;
    m_timers[id] = Entry{period, resolution, std::move(callback)};
    m_lastPeriod = period;
    m_lastResolution = resolution;
    return id;
  }
  bool Kill(slideshow::TimerId id, bool) override {
    const std::lock_guard lock(m_mutex);
    return m_timers.erase(id) == 1;
  }

  // Runs one tick of every running timer, each on a fresh thread, and waits
  // for them.
  void Tick() {
    for (const auto& callback : Callbacks()) {
      std::thread tick(callback);
      tick.join();
    }
  }
  // The callbacks of the running timers, to be called later: a tick that
  // fired but had not yet started its work when the timer was stopped.
  std::vector<std::function<void()>> Callbacks() {
    const std::lock_guard lock(m_mutex);
    std::vector<std::function<void()>> callbacks;
    for (const auto& [id, entry] : m_timers) callbacks.push_back(entry.callback);
    return callbacks;
  }
  int Running() {
    const std::lock_guard lock(m_mutex);
    return static_cast<int>(m_timers.size());
  }
  int OpenRequests() {
    const std::lock_guard lock(m_mutex);
    int open = 0;
    for (const auto& [resolution, count] : m_openRequests) open += count;
    return open;
  }
  unsigned LastPeriod() {
    const std::lock_guard lock(m_mutex);
    return m_lastPeriod;
  }
  unsigned LastResolution() {
    const std::lock_guard lock(m_mutex);
    return m_lastResolution;
  }

 private:
  struct Entry {
    unsigned period = 0;
    unsigned resolution = 0;
    std::function<void()> callback;
  };
  std::mutex m_mutex;
  std::map<slideshow::TimerId, Entry> m_timers;
  std::map<unsigned, int> m_openRequests;
  slideshow::TimerId m_nextId = 1;
  unsigned m_lastPeriod = 0;
  unsigned m_lastResolution = 0;
};

}  // namespace slideshow_test
