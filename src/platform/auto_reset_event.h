// An auto-reset event: Set wakes one waiter (or the next one to wait), then the event is clear
// again.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace korvane {

class AutoResetEvent {
 public:
  explicit AutoResetEvent(bool initiallySet = false) : signalled_(initiallySet) {}

  void Set() {
    {
      std::lock_guard lock(mutex_);
      signalled_ = true;
    }
    cv_.notify_one();
  }

  void Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
  }

  // Blocks until set; consumes the signal.
  void Wait() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
  }

  // True when the event was set within the time-out (the signal is consumed); false on time-out.
  bool WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
    signalled_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_;
};

}  // namespace korvane
