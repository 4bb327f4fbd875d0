// The benchmarks' window for the background indexer's progress messages: lets a benchmark wait
// for the message that says every clip of a run is done, and times one such run.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "index/background_indexer.h"
#include "platform/window_message.h"

namespace korvane {

class ProgressWaiter : public IWindowMessageDispatcher {
 public:
  bool Post(WindowHandle, std::uint32_t message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_INDEX_PROGRESS) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = static_cast<int>(wParam);
    total_ = static_cast<int>(lParam);
    arrived_.notify_all();
    return true;
  }
  LRESULT Send(WindowHandle, std::uint32_t, WPARAM, LPARAM) override { return 0; }
  // Forgets the last run's figures, so a new run is not taken as done before it starts.
  void Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = total_ = 0;
  }
  // False when `total` clips were not all done within five minutes.
  bool WaitForAll(int total) {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::seconds(300),
                             [&] { return total_ == total && done_ == total; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  int done_ = 0;
  int total_ = 0;
};

// One run of the background indexer over `clips` into a new index at `databasePath`, its
// progress posted to `window` (which `waiter` dispatches): the seconds it took until every clip
// was done, nullopt when they were not all done in time.
inline std::optional<double> IndexClipsOnce(ProgressWaiter& waiter, WindowHandle window,
                                            const std::string& indexerPath,
                                            const std::string& databasePath,
                                            const std::vector<std::string>& clips) {
  BackgroundIndexerConfig config;
  config.indexerPath = indexerPath;
  config.databasePath = databasePath;
  config.notifyWindow = window;
  waiter.Reset();
  const auto start = std::chrono::steady_clock::now();
  {
    // Timed to the end of its stop, as a run that is over.
    CBackgroundIndexer indexer(config);
    indexer.Start(clips, 0);
    if (!waiter.WaitForAll(static_cast<int>(clips.size()))) return std::nullopt;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace korvane
