// CBackgroundIndexer: keeps the index up to date with the playlist in the background. It owns one
// thread and at most `slots` serving korvane-indexer processes (low CPU and I/O priority), hands
// them the playlist's clips that the index does not know as they are now, nearest the current
// clip first, and posts the progress to the main window (WM_INDEX_PROGRESS, wParam clips done,
// lParam clips in this run; 0/0 when nothing runs).
//   - while the playing clip's own extraction runs, no clip starts and the running indexers are
//     stopped (SIGSTOP) until it ends; the stopped time does not count;
//   - an indexer that dies during a clip is started again and the clip tried once more, then the
//     clip is marked failed with the reason; a clip that takes longer than the time limit is
//     killed and marked failed at once;
//   - an index that cannot be written turns indexing off until the object is destroyed, with a
//     log line; playback never depends on it.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "index/index_queue.h"
#include "platform/process.h"
#include "platform/tick.h"
#include "platform/window_message.h"

namespace korvane {

// The indexer program, under the program folder.
inline constexpr char kIndexerRelativePath[] = "korvane-indexer";

struct BackgroundIndexerConfig {
  std::string indexerPath;   // the korvane-indexer program
  std::string databasePath;  // the index file (IndexDatabasePath())
  WindowHandle notifyWindow = 0;
  int indexers = 2;            // indexers at once (not "slots": a Qt macro)
  int clipTimeoutMs = 30'000;  // running time one clip may take
  // Asked on the indexer's thread; true while the playing clip's extraction runs. Unset: never.
  std::function<bool()> extractionRunning;
  // Where the log lines go; unset: stderr.
  std::function<void(const std::string&)> log;
};

class CBackgroundIndexer {
 public:
  explicit CBackgroundIndexer(BackgroundIndexerConfig config);
  // Ends the thread and every indexer process it started.
  ~CBackgroundIndexer();
  CBackgroundIndexer(const CBackgroundIndexer&) = delete;
  CBackgroundIndexer& operator=(const CBackgroundIndexer&) = delete;

  // Indexes `clips` (playlist order) nearest `current` first, replacing whatever run was going:
  // its indexers are killed mid-clip (the index keeps what they finished). Returns at once; the
  // index is read on the indexer's thread. Ignored once indexing is off.
  void Start(std::vector<std::string> clips, int current);
  // Ends the current run now (the playlist was cleared or changed folder).
  void Cancel();
  // Ends the run and the thread; no indexer process outlives this call. Called by the destructor.
  void Stop();

  // Indexing was turned off because the index cannot be written.
  bool disabled() const { return disabled_.load(); }
  // Process ids of the running indexers (for the tests' checks on priorities and strays).
  std::vector<pid_t> indexerPids() const;

 private:
  struct Worker {
    ChildProcess process;
    std::string replyBytes;  // a reply line not yet complete
    std::optional<IndexerRequest> job;
    std::int64_t ranMs = 0;  // running time of the job, paused time not counted
    bool stopped = false;    // SIGSTOP while the extraction runs
  };
  struct Command {
    bool pending = false;
    std::vector<std::string> clips;
    int current = 0;
  };

  void Loop();
  void BeginRun(const Command& command);
  void Pause(bool paused);
  void Assign(Worker& worker);
  bool Send(Worker& worker, const IndexerRequest& request);
  void Wait(int timeoutMs);
  void Read(Worker& worker);
  void HandleReply(Worker& worker, const std::string& line);
  void Died(Worker& worker);
  void CheckTimes(std::int64_t elapsedMs);
  void EndWorkers();
  void TurnOff(const std::string& reason);
  // Posts the progress when it changed, or always when `force` (a new run, indexing turned off).
  void Report(bool force = false);
  void PublishPids();
  void Log(const std::string& line) const;

  BackgroundIndexerConfig config_;
  std::vector<std::unique_ptr<Worker>> workers_;
  IndexQueue queue_;
  bool paused_ = false;
  std::size_t reportedDone_ = 0;
  std::size_t reportedTotal_ = 0;

  mutable std::mutex mutex_;  // guards command_ and the pid list
  Command command_;
  std::vector<pid_t> pids_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> disabled_{false};
  std::thread thread_;
};

}  // namespace korvane
