// Background indexing with the real korvane-indexer: order and counts, at most two low-priority
// indexers, pause while the extraction runs, a killed indexer restarted and its clip retried once,
// the time limit, cancel and stop leaving no process behind, and an unwritable index.
#include "index/background_indexer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/ioprio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "index/index_reader.h"
#include "platform/recording_dispatcher.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/extract_clip_maker.h"

namespace korvane::test {
namespace {

using namespace std::chrono_literals;

constexpr WindowHandle kWindow = 11;

TEST(NearestFirst, GoesOutwardFromTheCurrentClipAfterBeforeBefore) {
  EXPECT_EQ(NearestFirst(6, 2), (std::vector<int>{2, 3, 1, 4, 0, 5}));
  EXPECT_EQ(NearestFirst(4, 3), (std::vector<int>{3, 2, 1, 0}));
  EXPECT_EQ(NearestFirst(3, 0), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(NearestFirst(3, -1), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(NearestFirst(3, 7), (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(NearestFirst(0, 0).empty());
}

TEST(IndexQueue, ACrashIsRetriedOnceThenMarkedFailedAndATimeOutAtOnce) {
  IndexQueue queue;
  queue.Reset({"a", "b", "c"});
  const auto a = queue.Next();
  const auto b = queue.Next();
  ASSERT_TRUE(a && b);
  queue.Crashed(*a, "killed by signal 9");
  auto retry = queue.Next();
  ASSERT_TRUE(retry);
  EXPECT_EQ(retry->path, "a");
  EXPECT_EQ(retry->kind, IndexerRequest::Kind::Index) << "retried before the clips after it";
  queue.Crashed(*retry, "killed by signal 11");
  auto mark = queue.Next();
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->kind, IndexerRequest::Kind::Fail);
  EXPECT_EQ(mark->reason, "killed by signal 11");
  queue.Answered(*mark);

  queue.TimedOut(*b, "took longer than 30 s");
  mark = queue.Next();
  ASSERT_TRUE(mark);
  EXPECT_EQ(mark->kind, IndexerRequest::Kind::Fail) << "no retry after a time-out";
  queue.Crashed(*mark, "killed");  // a mark that dies is given up, not repeated
  EXPECT_EQ(queue.done(), 2u);
  const auto c = queue.Next();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->path, "c");
  EXPECT_FALSE(queue.Next());
  EXPECT_FALSE(queue.finished());
  queue.Answered(*c);
  EXPECT_TRUE(queue.finished());
  EXPECT_EQ(queue.total(), 3u);
}

// Field `n` (1-based, as proc(5) counts) of /proc/<pid>/stat; "" when the process is gone.
std::string StatField(pid_t pid, int n) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  const auto close = text.rfind(')');
  if (close == std::string::npos) return "";
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  for (int i = 3; i <= n && fields >> field; ++i) {
  }
  return field;
}
char ProcessState(pid_t pid) {
  const std::string state = StatField(pid, 3);
  return state.empty() ? '?' : state[0];
}
// A zombie still answers kill(pid, 0), so the state is read.
bool Running(pid_t pid) {
  return ProcessState(pid) != '?' && ProcessState(pid) != 'Z';
}

template <typename Predicate>
bool WaitUntil(Predicate done, std::chrono::milliseconds timeout = 60s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

// A named pipe posing as a clip: the indexer blocks reading it until the test writes or kills.
class FifoClip {
 public:
  explicit FifoClip(std::string path) : path_(std::move(path)) { mkfifo(path_.c_str(), 0600); }
  ~FifoClip() { Close(); }
  const std::string& path() const { return path_; }
  // Waits until an indexer has opened the pipe; true when one did.
  bool WaitForReader() {
    return WaitUntil([&] {
      fd_ = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      return fd_ >= 0;
    });
  }
  // Feeds the reader `bytes` (in a thread, as the pipe holds only 64 kB) and closes.
  void Feed(const std::string& bytes) {
    fcntl(fd_, F_SETFL, 0);
    std::thread([fd = fd_, bytes] {
      for (std::size_t at = 0; at < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
        if (n <= 0) break;
        at += static_cast<std::size_t>(n);
      }
      close(fd);
    }).detach();
    fd_ = -1;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

class BackgroundIndexing : public testing::Test {
 protected:
  BackgroundIndexerConfig Config() {
    BackgroundIndexerConfig config;
    config.indexerPath = ProgramDir() + "korvane-indexer";
    config.databasePath = db;
    config.notifyWindow = kWindow;
    config.extractionRunning = [this] { return extracting.load(); };
    config.log = [this](const std::string& line) {
      std::lock_guard lock(logMutex);
      log.push_back(line);
    };
    return config;
  }
  // True once the progress message (done, total) has been posted.
  bool WaitForProgress(std::size_t done, std::size_t total, std::chrono::milliseconds t = 60s) {
    return dispatcher
        .WaitFor(
            [&](const RecordedMessage& m) {
              return m.message == WM_INDEX_PROGRESS && m.window == kWindow && m.wParam == done &&
                     m.lParam == static_cast<LPARAM>(total);
            },
            t)
        .has_value();
  }
  std::string LogText() {
    std::lock_guard lock(logMutex);
    std::string text;
    for (const std::string& line : log) text += line + "\n";
    return text;
  }
  // A faststart clip (readable from a pipe) and its bytes.
  std::string StreamableClipBytes() {
    const std::string clip = MakeTelemetryClip(SourceDir(), dir.str(), "stream", 50, true);
    return clip.empty() ? "" : ReadFileText(clip);
  }

  TempDir dir;
  std::string db = dir.str() + "cache/index.sqlite";
  std::atomic<bool> extracting{false};
  std::mutex logMutex;
  std::vector<std::string> log;
  RecordingDispatcher dispatcher;
  ScopedWindowMessageDispatcher scoped{&dispatcher};
};

TEST_F(BackgroundIndexing, IndexesThePlaylistWithAtMostTwoLowPriorityIndexers) {
  std::vector<std::string> clips;
  const std::vector<std::string> sources = {DefaultClip(), CuesClip(641),       NoSubtitleClip(),
                                            CuesClip(640), PlainSubtitleClip(), DefaultClip()};
  for (std::size_t i = 0; i < sources.size(); ++i) {
    clips.push_back(dir.str() + "clips/" + std::to_string(i) + ".mp4");
    std::filesystem::create_directories(dir.str() + "clips");
    std::filesystem::copy_file(sources[i], clips.back());
  }
  CBackgroundIndexer indexer(Config());
  indexer.Start(clips, 2);
  std::size_t most = 0;
  std::set<pid_t> seen;
  const bool finished = WaitUntil([&] {
    const std::vector<pid_t> pids = indexer.indexerPids();
    most = std::max(most, pids.size());
    for (pid_t pid : pids) {
      if (seen.contains(pid)) continue;
      const long ioprio = syscall(SYS_ioprio_get, IOPRIO_WHO_PROCESS, pid);
      const std::string nice = StatField(pid, 19);
      // An indexer that has ended gave up its I/O priority with its other resources: it is
      // looked at only while it still runs (read after the priority, so the reading was its own).
      if (!Running(pid)) continue;
      seen.insert(pid);
      EXPECT_EQ(nice, "19") << "nice";
      EXPECT_EQ(IOPRIO_PRIO_CLASS(ioprio), IOPRIO_CLASS_IDLE);
    }
    return !dispatcher.MessagesOf(WM_INDEX_PROGRESS).empty() &&
           dispatcher.MessagesOf(WM_INDEX_PROGRESS).back().wParam == clips.size();
  });
  ASSERT_TRUE(finished) << LogText();
  EXPECT_LE(most, 2u);
  EXPECT_GE(most, 1u);

  // Progress counts up from 0 to the whole playlist, each report more than the one before (two
  // clips that end in one pass of the indexer's loop are one report).
  const std::vector<RecordedMessage> progress = dispatcher.MessagesOf(WM_INDEX_PROGRESS);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.front().wParam, 0u);
  for (std::size_t i = 0; i < progress.size(); ++i) {
    EXPECT_EQ(progress[i].lParam, static_cast<LPARAM>(clips.size()));
    if (i > 0) {
      EXPECT_GT(progress[i].wParam, progress[i - 1].wParam);
    }
  }
  CIndexReader reader(db);
  EXPECT_EQ(reader.GetClip(clips[0]).pointCount, 600);
  EXPECT_EQ(reader.GetClip(clips[1]).pointCount, 641);
  EXPECT_EQ(reader.GetClip(clips[2]).status, ClipStatus::NoTelemetry);
  EXPECT_EQ(reader.GetClip(clips[4]).status, ClipStatus::NoTelemetry);
  EXPECT_TRUE(WaitUntil([&] { return indexer.indexerPids().empty(); }, 5s))
      << "the indexers end with the run";
  for (pid_t pid : seen) EXPECT_FALSE(Running(pid));

  // Nothing changed: nothing to do. A changed clip and a deleted index: only what is needed.
  dispatcher.Clear();
  indexer.Start(clips, 0);
  ASSERT_TRUE(WaitForProgress(0, 0));
  std::filesystem::last_write_time(clips[3], std::filesystem::file_time_type::clock::now());
  indexer.Start(clips, 0);
  ASSERT_TRUE(WaitForProgress(1, 1));
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
  indexer.Start(clips, 0);
  ASSERT_TRUE(WaitForProgress(clips.size(), clips.size())) << LogText();
  EXPECT_EQ(reader.GetClip(clips[5]).pointCount, 600) << "a deleted index is made again";
  EXPECT_FALSE(indexer.disabled());
}

TEST_F(BackgroundIndexing, AKilledIndexerIsRestartedAndTheClipTriedOnceMore) {
  const std::string bytes = StreamableClipBytes();
  ASSERT_FALSE(bytes.empty());
  FifoClip killedOnce(dir.str() + "once.mp4");
  FifoClip killedTwice(dir.str() + "twice.mp4");
  BackgroundIndexerConfig config = Config();
  config.indexers = 1;  // one clip at a time, so the test knows which one an indexer holds
  CBackgroundIndexer indexer(config);
  indexer.Start({killedOnce.path(), killedTwice.path()}, 0);

  auto killReader = [&](FifoClip& clip) {
    EXPECT_TRUE(clip.WaitForReader());
    const std::vector<pid_t> pids = indexer.indexerPids();
    EXPECT_EQ(pids.size(), 1u);
    if (pids.empty()) return;
    kill(pids[0], SIGKILL);
    EXPECT_TRUE(WaitUntil([&] { return indexer.indexerPids() != pids; }));
    clip.Close();
  };
  killReader(killedOnce);
  ASSERT_TRUE(killedOnce.WaitForReader()) << "retried by a new indexer";
  killedOnce.Feed(bytes);
  killReader(killedTwice);
  killReader(killedTwice);
  ASSERT_TRUE(WaitForProgress(2, 2)) << LogText();

  CIndexReader reader(db);
  EXPECT_EQ(reader.GetClip(killedOnce.path()).status, ClipStatus::Indexed);
  EXPECT_EQ(reader.GetClip(killedOnce.path()).pointCount, 50);
  const ClipSummary failed = reader.GetClip(killedTwice.path());
  EXPECT_EQ(failed.status, ClipStatus::Failed);
  EXPECT_EQ(failed.reason, "the indexer was killed by signal 9");
  EXPECT_NE(LogText().find("killed by signal 9 on " + killedTwice.path()), std::string::npos);
}

TEST_F(BackgroundIndexing, AClipOverTheTimeLimitIsKilledAndMarkedFailedWithoutRetry) {
  FifoClip stuck(dir.str() + "stuck.mp4");  // never fed: the indexer waits on it for ever
  BackgroundIndexerConfig config = Config();
  config.clipTimeoutMs = 3000;
  CBackgroundIndexer indexer(config);
  indexer.Start({stuck.path()}, 0);
  ASSERT_TRUE(WaitForProgress(1, 1)) << LogText();
  const ClipSummary failed = CIndexReader(db).GetClip(stuck.path());
  EXPECT_EQ(failed.status, ClipStatus::Failed);
  EXPECT_EQ(failed.reason, "took longer than 3 s");
  EXPECT_TRUE(WaitUntil([&] { return indexer.indexerPids().empty(); }, 5s));
  EXPECT_LT(open(stuck.path().c_str(), O_WRONLY | O_NONBLOCK), 0) << "no second reader";
}

TEST_F(BackgroundIndexing, AClipOverItsProcessorTimeIsMarkedFailedWithoutRetry) {
  // The kernel's signal at the processor-time limit, sent early: the indexer waits on the clip.
  FifoClip stuck(dir.str() + "stuck.mp4");
  CBackgroundIndexer indexer(Config());
  indexer.Start({stuck.path()}, 0);
  ASSERT_TRUE(stuck.WaitForReader());
  ASSERT_EQ(kill(indexer.indexerPids().at(0), SIGXCPU), 0);
  ASSERT_TRUE(WaitForProgress(1, 1)) << LogText();
  const ClipSummary failed = CIndexReader(db).GetClip(stuck.path());
  EXPECT_EQ(failed.status, ClipStatus::Failed);
  EXPECT_EQ(failed.reason, "used more than 20 s of processor time");
  EXPECT_TRUE(WaitUntil([&] { return indexer.indexerPids().empty(); }, 5s));
  EXPECT_LT(open(stuck.path().c_str(), O_WRONLY | O_NONBLOCK), 0) << "no second reader";
}

TEST_F(BackgroundIndexing, WaitsWhileTheExtractionRunsWithoutCountingThatTime) {
  const std::string bytes = StreamableClipBytes();
  ASSERT_FALSE(bytes.empty());
  FifoClip clip(dir.str() + "clip.mp4");
  const std::string other = dir.str() + "other.mp4";
  std::filesystem::copy_file(CuesClip(5), other);
  BackgroundIndexerConfig config = Config();
  config.clipTimeoutMs = 4000;  // start-up included, which a loaded machine may make slow
  config.indexers = 1;
  CBackgroundIndexer indexer(config);
  indexer.Start({clip.path(), other}, 0);
  ASSERT_TRUE(clip.WaitForReader());
  const pid_t pid = indexer.indexerPids().at(0);

  extracting = true;
  EXPECT_TRUE(WaitUntil([&] { return ProcessState(pid) == 'T'; }, 5s)) << "stopped";
  std::this_thread::sleep_for(4500ms);  // longer than the time limit
  EXPECT_EQ(CIndexReader(db).GetClip(other).status, ClipStatus::Unknown) << "nothing started";
  extracting = false;
  EXPECT_TRUE(WaitUntil([&] { return ProcessState(pid) != 'T'; }, 5s)) << "continued";
  clip.Feed(bytes);
  ASSERT_TRUE(WaitForProgress(2, 2)) << LogText();
  EXPECT_EQ(CIndexReader(db).GetClip(clip.path()).status, ClipStatus::Indexed);
  EXPECT_EQ(CIndexReader(db).GetClip(other).status, ClipStatus::Indexed);
}

TEST_F(BackgroundIndexing, CancelAndStopLeaveNoIndexerBehind) {
  FifoClip first(dir.str() + "first.mp4");
  FifoClip second(dir.str() + "second.mp4");
  auto indexer = std::make_unique<CBackgroundIndexer>(Config());
  indexer->Start({first.path()}, 0);
  ASSERT_TRUE(first.WaitForReader());
  const pid_t cancelled = indexer->indexerPids().at(0);
  indexer->Cancel();
  ASSERT_TRUE(WaitForProgress(0, 0, 5s));
  EXPECT_TRUE(WaitUntil([&] { return !Running(cancelled); }, 5s));
  EXPECT_EQ(CIndexReader(db).GetClip(first.path()).status, ClipStatus::Unknown)
      << "a cancelled clip is not marked";

  indexer->Start({second.path()}, 0);
  ASSERT_TRUE(second.WaitForReader());
  const pid_t stopped = indexer->indexerPids().at(0);
  indexer.reset();
  EXPECT_FALSE(Running(stopped));
}

TEST_F(BackgroundIndexing, AnIndexThatCannotBeWrittenTurnsIndexingOffWithALogLine) {
  WriteFileText(dir.str() + "cache", "a file where the cache folder should be");
  CBackgroundIndexer indexer(Config());
  indexer.Start({CuesClip(5), CuesClip(640)}, 0);
  ASSERT_TRUE(WaitUntil([&] { return indexer.disabled(); })) << LogText();
  EXPECT_NE(LogText().find("indexing off until the program closes"), std::string::npos);
  ASSERT_TRUE(WaitForProgress(0, 0, 5s));
  dispatcher.Clear();
  indexer.Start({CuesClip(641)}, 0);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(indexer.indexerPids().empty());
  EXPECT_EQ(dispatcher.Count(WM_INDEX_PROGRESS), 0u);
}

}  // namespace
}  // namespace korvane::test
