#include "slideshow/timer_service.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace slideshow {

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kMinimumPeriod = 1;          // milliseconds
constexpr unsigned kMaximumPeriod = 1'000'000;  // milliseconds

// What the timer threads read of the service. Shared, because a thread that
// stopped its own timer ends on its own and may outlive the service at exit.
struct SharedState {
  std::atomic<unsigned> finestRequest{0};  // milliseconds; 0 = no request
};

struct Timer {
  Clock::duration period;
  unsigned resolution = 0;  // milliseconds
  std::function<void()> callback;
  std::shared_ptr<const SharedState> shared;

  std::mutex mutex;
  std::condition_variable wake;
  bool cancelled = false;  // guarded by mutex
  std::thread thread;
};

// Lets the kernel put the thread's wake-ups off by up to the resolution, so
// that a coarse request costs fewer wake-ups and a fine one keeps its time.
void ApplyWakeSlack(unsigned resolution, unsigned& applied) {
  if (resolution == applied) return;
  applied = resolution;
#if defined(__linux__)
  // 0 puts the thread back to the default slack (50 microseconds).
  const unsigned long nanoseconds = static_cast<unsigned long>(resolution) * 1'000'000UL;
  prctl(PR_SET_TIMERSLACK, nanoseconds, 0, 0, 0);
#endif
}

unsigned EffectiveResolution(const Timer& timer) {
  const unsigned finest = timer.shared->finestRequest.load();
  if (finest == 0) return timer.resolution;
  if (timer.resolution == 0) return finest;
  return std::min(timer.resolution, finest);
}

void RunTimer(const std::shared_ptr<Timer>& timer) {
  unsigned appliedSlack = 0;
  ApplyWakeSlack(EffectiveResolution(*timer), appliedSlack);
  Clock::time_point due = Clock::now() + timer->period;
  std::unique_lock lock(timer->mutex);
  for (;;) {
    if (timer->wake.wait_until(lock, due, [&] { return timer->cancelled; })) return;
    lock.unlock();
    timer->callback();
    ApplyWakeSlack(EffectiveResolution(*timer), appliedSlack);
    lock.lock();
    // Keep to the original schedule while the callbacks fit into it; after an
    // overrun, go on from now instead of catching up with a burst.
    due += timer->period;
    const Clock::time_point now = Clock::now();
    if (due < now) due = now;
  }
}

class ThreadTimerService final : public TimerService {
 public:
  ThreadTimerService() : m_shared(std::make_shared<SharedState>()) {}

  ~ThreadTimerService() override {
    std::vector<TimerId> ids;
    {
      const std::lock_guard lock(m_mutex);
      for (const auto& [id, timer] : m_timers) ids.push_back(id);
    }
    for (const TimerId id : ids) Kill(id, true);
  }

  bool QueryPeriodRange(TimerPeriodRange& range) const override {
    range = {kMinimumPeriod, kMaximumPeriod};
    return true;
  }

  bool BeginResolution(unsigned resolution) override {
    if (resolution < kMinimumPeriod || resolution > kMaximumPeriod) return false;
    const std::lock_guard lock(m_mutex);
    m_requests.insert(resolution);
    m_shared->finestRequest.store(*m_requests.begin());
    return true;
  }

  bool EndResolution(unsigned resolution) override {
    const std::lock_guard lock(m_mutex);
    const auto found = m_requests.find(resolution);
    if (found == m_requests.end()) return false;
    m_requests.erase(found);
    m_shared->finestRequest.store(m_requests.empty() ? 0 : *m_requests.begin());
    return true;
  }

  TimerId StartPeriodic(unsigned period, unsigned resolution,
                        std::function<void()> callback) override {
    if (period < kMinimumPeriod || period > kMaximumPeriod || !callback) return 0;
    auto timer = std::make_shared<Timer>();
    timer->period = std::chrono::milliseconds(period);
    timer->resolution = std::min(resolution, kMaximumPeriod);
    timer->callback = std::move(callback);
    timer->shared = m_shared;
    const std::lock_guard lock(m_mutex);
    TimerId id = m_nextId;
    while (id == 0 || m_timers.contains(id)) ++id;
    m_nextId = id + 1;
    try {
      // The thread holds the timer too: after a Kill from its own callback it
      // finishes that callback on its own.
      timer->thread = std::thread([timer] { RunTimer(timer); });
    } catch (const std::system_error&) {
      return 0;
    }
    m_timers.emplace(id, std::move(timer));
    return id;
  }

  bool Kill(TimerId id, bool waitForCallback) override {
    std::shared_ptr<Timer> timer;
    {
      const std::lock_guard lock(m_mutex);
      const auto found = m_timers.find(id);
      if (found == m_timers.end()) return false;
      timer = std::move(found->second);
      m_timers.erase(found);
    }
    {
      const std::lock_guard lock(timer->mutex);
      timer->cancelled = true;
    }
    timer->wake.notify_all();
    if (waitForCallback && timer->thread.get_id() != std::this_thread::get_id()) {
      timer->thread.join();
    } else {
      timer->thread.detach();
    }
    return true;
  }

 private:
  std::shared_ptr<SharedState> m_shared;
  std::mutex m_mutex;
  std::map<TimerId, std::shared_ptr<Timer>> m_timers;  // guarded by m_mutex
  std::multiset<unsigned> m_requests;                  // guarded by m_mutex
  TimerId m_nextId = 1;                                // guarded by m_mutex
};

}  // namespace

TimerService& SystemTimerService() {
  static ThreadTimerService service;
  return service;
}

}  // namespace slideshow
