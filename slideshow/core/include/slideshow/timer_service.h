#pragma once

#include <cstdint>
#include <functional>

namespace slideshow {

// The periods a timer of the service may have.
struct TimerPeriodRange {
  unsigned Minimum = 0;  // milliseconds
  unsigned Maximum = 0;  // milliseconds
};

using TimerId = std::uint32_t;  // 0 means "no timer"

// The periodic timer the picture show's threaded mode runs on. Each timer
// calls its callback once per period on a thread of its own, never on the
// thread that started it. A callback that overruns its period is followed by
// the next one at once, without a burst of the ticks it missed.
//
// A resolution request says how late a tick may come: while requests are
// active, every timer wakes within the finest of them (and within its own).
class TimerService {
 public:
  virtual ~TimerService() = default;

  // The supported periods; false (range left (0, 0)) when they are unknown.
  virtual bool QueryPeriodRange(TimerPeriodRange& range) const = 0;

  // Begins and ends a resolution request; the two calls pair like brackets.
  // False for a resolution outside the period range, or for an end without
  // its begin.
  virtual bool BeginResolution(unsigned resolution) = 0;  // milliseconds
  virtual bool EndResolution(unsigned resolution) = 0;    // milliseconds

  // Starts a periodic timer; its first tick comes one period after the call.
  // Gives 0 when the timer cannot start (period outside the range, no thread).
  virtual TimerId StartPeriodic(unsigned period, unsigned resolution,
                                std::function<void()> callback) = 0;  // milliseconds

  // Stops a timer; false when there is no such timer. When it returns, no new
  // tick of the timer starts. With waitForCallback, a tick that is running on
  // another thread has also ended; a call from inside the timer's own callback
  // never waits for itself. A caller must not wait while it holds a lock that
  // the callback takes.
  virtual bool Kill(TimerId id, bool waitForCallback = true) = 0;
};

// The process's timer service: one thread per running timer, steady clock,
// periods of 1 ms to 1000 s; on Linux a resolution becomes the timer thread's
// wake-up slack.
TimerService& SystemTimerService();

}  // namespace slideshow
