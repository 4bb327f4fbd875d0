#include "index/background_indexer.h"

#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "index/clip_file.h"
#include "index/index_reader.h"
#include "index/indexer_limits.h"
#include "platform/process_priority.h"

namespace korvane {

namespace {

constexpr int kLoopMs = 100;          // how soon commands, pauses and time limits are noticed
constexpr int kGracefulEndMs = 1000;  // an idle indexer told to end has this long before the kill

}  // namespace

CBackgroundIndexer::CBackgroundIndexer(BackgroundIndexerConfig config)
    : config_(std::move(config)) {
  for (int i = 0; i < config_.indexers; ++i) workers_.push_back(std::make_unique<Worker>());
  try {
    thread_ = std::thread([this] { Loop(); });
  } catch (const std::system_error& error) {
    // Indexing is a convenience: the program runs on without it.
    disabled_ = true;
    Log(std::string("indexing off until the program closes: cannot start its thread: ") +
        error.what());
  }
}

CBackgroundIndexer::~CBackgroundIndexer() {
  Stop();
}

void CBackgroundIndexer::Start(std::vector<std::string> clips, int current) {
  std::lock_guard lock(mutex_);
  command_ = {true, std::move(clips), current};
}

void CBackgroundIndexer::Cancel() {
  Start({}, 0);
}

void CBackgroundIndexer::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::vector<pid_t> CBackgroundIndexer::indexerPids() const {
  std::lock_guard lock(mutex_);
  return pids_;
}

void CBackgroundIndexer::Loop() {
  std::uint32_t last = GetTick();
  while (!stop_) {
    Command command;
    {
      std::lock_guard lock(mutex_);
      std::swap(command, command_);
    }
    if (command.pending) BeginRun(command);
    Pause(config_.extractionRunning && config_.extractionRunning());
    if (!paused_ && !disabled_) {
      for (auto& worker : workers_) {
        if (!worker->job) Assign(*worker);
      }
    }
    Wait(kLoopMs);
    const std::uint32_t now = GetTick();
    CheckTimes(paused_ ? 0 : TickElapsed(last, now));
    last = now;
    if (queue_.finished()) EndWorkers();
    Report();
  }
  EndWorkers();
}

void CBackgroundIndexer::BeginRun(const Command& command) {
  EndWorkers();
  std::vector<std::string> clips;
  if (!disabled_) {
    CIndexReader reader(config_.databasePath);
    const int count = static_cast<int>(command.clips.size());
    for (int i : NearestFirst(count, command.current)) {
      if (stop_) break;
      const std::string& clip = command.clips[static_cast<std::size_t>(i)];
      const ClipSummary stored = reader.GetClip(clip);
      std::string factsError;
      if (IsStoredRowCurrent(stored, factsError)) continue;
      if (!factsError.empty()) continue;  // gone since the playlist listed it
      clips.push_back(clip);
    }
  }
  queue_.Reset(std::move(clips));
  if (!disabled_) Report(true);  // at once: the first clip may be done before the loop reports
}

void CBackgroundIndexer::Pause(bool paused) {
  if (paused == paused_) return;
  paused_ = paused;
  for (auto& worker : workers_) {
    if (worker->job && worker->process.IsStarted()) {
      kill(worker->process.pid(), paused ? SIGSTOP : SIGCONT);
      worker->stopped = paused;
    }
  }
}

void CBackgroundIndexer::Assign(Worker& worker) {
  std::optional<IndexerRequest> request = queue_.Next();
  if (!request) return;
  worker.job = std::move(request);
  worker.ranMs = 0;
  worker.replyBytes.clear();
  if (!Send(worker, *worker.job) && !disabled_) Died(worker);
}

bool CBackgroundIndexer::Send(Worker& worker, const IndexerRequest& request) {
  const std::string line = FormatRequest(request);
  // An idle indexer may have died since its last clip: one fresh start before giving up.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!worker.process.IsStarted()) {
      ProcessOptions options;
      options.program = config_.indexerPath;
      options.args = {"--db", config_.databasePath, "--serve", "--background"};
      options.pipeStdin = options.pipeStdout = true;
      if (const int rc = worker.process.Start(options); rc != 0) {
        TurnOff("cannot start " + config_.indexerPath + ": " + std::strerror(rc));
        return false;
      }
      // At once, before the indexer has even loaded its libraries.
      SetBackgroundPriority(worker.process.pid());
      PublishPids();
    }
    if (worker.process.WriteStdin(line)) return true;
    worker.process.Release();
  }
  return false;
}

void CBackgroundIndexer::Wait(int timeoutMs) {
  std::vector<pollfd> fds;
  std::vector<Worker*> polled;
  for (auto& worker : workers_) {
    if (worker->job && worker->process.stdoutFd() >= 0) {
      fds.push_back({worker->process.stdoutFd(), POLLIN, 0});
      polled.push_back(worker.get());
    }
  }
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return;
  for (std::size_t i = 0; i < fds.size(); ++i) {
    if (fds[i].revents != 0) Read(*polled[i]);
  }
}

void CBackgroundIndexer::Read(Worker& worker) {
  char buffer[4096];
  const ssize_t got = worker.process.ReadStdout(buffer, sizeof buffer);
  if (got <= 0) {
    Died(worker);
    return;
  }
  worker.replyBytes.append(buffer, static_cast<std::size_t>(got));
  for (std::size_t end; worker.job && (end = worker.replyBytes.find('\n')) != std::string::npos;) {
    const std::string line = worker.replyBytes.substr(0, end);
    worker.replyBytes.erase(0, end + 1);
    HandleReply(worker, line);
  }
}

void CBackgroundIndexer::HandleReply(Worker& worker, const std::string& line) {
  const std::optional<IndexerReply> reply = ParseReply(line);
  if (!reply || reply->databaseError) {
    TurnOff(reply ? reply->reason : "the indexer answered \"" + line + "\"");
    return;
  }
  queue_.Answered(*worker.job);
  worker.job.reset();
}

void CBackgroundIndexer::Died(Worker& worker) {
  const int code = worker.process.WaitForExit(kGracefulEndMs) ? worker.process.exitCode() : -1;
  worker.process.Release();
  if (!worker.job) return;
  const std::string reason = IndexerEndReason(code);
  Log(reason + " on " + worker.job->path);
  if (IsClipLimitEnd(code)) {
    queue_.TimedOut(*worker.job, reason);
  } else {
    queue_.Crashed(*worker.job, reason);
  }
  worker.job.reset();
  worker.stopped = false;
}

void CBackgroundIndexer::CheckTimes(std::int64_t elapsedMs) {
  for (auto& worker : workers_) {
    if (!worker->job || worker->stopped) continue;
    worker->ranMs += elapsedMs;
    if (worker->ranMs <= config_.clipTimeoutMs) continue;
    worker->process.Release();  // kills it
    const std::string reason =
        "took longer than " + std::to_string(config_.clipTimeoutMs / 1000) + " s";
    Log(reason + " on " + worker->job->path);
    queue_.TimedOut(*worker->job, reason);
    worker->job.reset();
  }
}

void CBackgroundIndexer::EndWorkers() {
  // Busy indexers are killed (their clip's transaction never commits); idle ones are told to end,
  // which lets them close the index cleanly, and all of them share one grace period.
  for (auto& worker : workers_) {
    if (!worker->process.IsStarted()) continue;
    if (worker->job) {
      worker->process.Kill();
    } else {
      worker->process.CloseStdin();
    }
  }
  const std::uint32_t start = GetTick();
  for (auto& worker : workers_) {
    if (!worker->process.IsStarted()) continue;
    const std::int64_t left = kGracefulEndMs - std::int64_t{TickElapsed(start, GetTick())};
    worker->process.WaitForExit(static_cast<int>(std::max<std::int64_t>(left, 0)));
    worker->process.Release();
    worker->job.reset();
    worker->stopped = false;
  }
  std::lock_guard lock(mutex_);
  pids_.clear();
}

void CBackgroundIndexer::TurnOff(const std::string& reason) {
  Log("indexing off until the program closes: " + reason);
  disabled_ = true;
  EndWorkers();
  queue_.Reset({});
  Report(true);
}

void CBackgroundIndexer::Report(bool force) {
  PublishPids();
  if (!force && queue_.done() == reportedDone_ && queue_.total() == reportedTotal_) return;
  reportedDone_ = queue_.done();
  reportedTotal_ = queue_.total();
  PostWindowMessage(config_.notifyWindow, WM_INDEX_PROGRESS, reportedDone_,
                    static_cast<LPARAM>(reportedTotal_));
}

// Published as soon as an indexer starts: it may open its clip before the loop reports.
void CBackgroundIndexer::PublishPids() {
  std::lock_guard lock(mutex_);
  pids_.clear();
  for (auto& worker : workers_) {
    if (worker->process.IsStarted()) pids_.push_back(worker->process.pid());
  }
}

void CBackgroundIndexer::Log(const std::string& line) const {
  if (config_.log) {
    config_.log(line);
  } else {
    std::fprintf(stderr, "KORVANE index: %s\n", line.c_str());
  }
}

}  // namespace korvane
