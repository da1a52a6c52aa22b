#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace slideshow {

// A re-entrant lock that knows whether the calling thread holds it, so that a
// caller can avoid waiting for a thread that waits for this very lock. Meets
// the standard Lockable requirements (std::lock_guard, std::unique_lock).
class CriticalSection {
 public:
  CriticalSection() = default;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void lock() {
    m_mutex.lock();
    if (m_depth++ == 0) m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
  }

  bool try_lock() {
    if (!m_mutex.try_lock()) return false;
    if (m_depth++ == 0) m_owner.store(std::this_thread::get_id(), std::memory_order_relaxed);
    return true;
  }

  void unlock() {
    if (--m_depth == 0) m_owner.store(std::thread::id(), std::memory_order_relaxed);
    m_mutex.unlock();
  }

  // Only the holder can find its own id here, so a relaxed read suffices.
  bool HeldByCurrentThread() const {
    return m_owner.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

 private:
  std::recursive_mutex m_mutex;
  std::atomic<std::thread::id> m_owner{};
  int m_depth = 0;  // guarded by m_mutex
};

}  // namespace slideshow
