// The extraction pipeline against the real ffmpeg on the generated sample clips.
#include "telemetry/subtitle_extractor.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/recording_dispatcher.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/extract_clip_maker.h"
#include "telemetry/extract_command.h"
#include "telemetry/navigation_track.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr WindowHandle kMainWindow = 77;
// Generous bounds that only catch a hang; the real figures are far below (see the report).
constexpr auto kRunTimeout = 20s;
constexpr auto kStopBound = 2000ms;

std::vector<std::string> TelemetryLines(const std::string& clip) {
  std::ifstream in(test::TelemetryOf(clip));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The generator's line layout, read back independently of the parser under test.
struct GeneratedPoint {
  int year, month, day, hour, minute, second;
  double longitude, latitude, knots;
  int x, y, z;
};

GeneratedPoint ReadGenerated(const std::string& line) {
  GeneratedPoint p{};
  int lonD, lonM, latD, latM;
  double lonS, latS;
  const int fields =
      std::sscanf(line.c_str(), "%d-%d-%d %d:%d:%d/E%d %d %lf/N%d %d %lf/%lf/X:%d/Y:%d/Z:%d",
                  &p.year, &p.month, &p.day, &p.hour, &p.minute, &p.second, &lonD, &lonM, &lonS,
                  &latD, &latM, &latS, &p.knots, &p.x, &p.y, &p.z);
  EXPECT_EQ(fields, 16) << line;
  p.longitude = lonD + lonM / 60.0 + lonS / 3600.0;
  p.latitude = latD + latM / 60.0 + latS / 3600.0;
  return p;
}

void ExpectPointIs(const TelemetryRecord& point, const std::string& line) {
  const GeneratedPoint want = ReadGenerated(line);
  ASSERT_TRUE(point.valid) << line;
  EXPECT_EQ(point.year, want.year);
  EXPECT_EQ(point.month, want.month);
  EXPECT_EQ(point.day, want.day);
  EXPECT_EQ(point.hour, want.hour);
  EXPECT_EQ(point.minute, want.minute);
  EXPECT_EQ(point.second, want.second);
  EXPECT_NEAR(point.longitude, want.longitude, 1e-6) << line;
  EXPECT_NEAR(point.latitude, want.latitude, 1e-6) << line;
  EXPECT_NEAR(point.speedKmh, want.knots * 1.852, 1e-3) << line;
  EXPECT_EQ(point.accelX, want.x);
  EXPECT_EQ(point.accelY, want.y);
  EXPECT_EQ(point.accelZ, want.z);
}

// The points of the track in order.
std::vector<TelemetryRecord> TrackPoints(const CTrackStore& store) {
  std::vector<TelemetryRecord> points;
  for (int c = 0; c < store.chunkCount(); ++c) {
    const TrackChunk* chunk = store.chunk(c);
    for (int i = 0; i < chunk->count; ++i) points.push_back(chunk->points[i]);
  }
  return points;
}

// A reaped child is gone from the process table; a zombie would still answer.
bool ProcessGone(pid_t pid) {
  return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
}

// The child has ended (a zombie until the extractor reaps it).
bool ProcessEnded(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string pidField, name, state;
  stat >> pidField >> name >> state;
  return !stat || state == "Z";
}

int OpenDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

template <typename Predicate>
bool WaitUntil(Predicate done, Clock::duration timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

template <typename Action>
std::chrono::milliseconds Timed(Action action) {
  const auto start = Clock::now();
  action();
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

// Feeds a clip to ffmpeg through a FIFO, so a test decides how far ffmpeg can read.
class FifoFeeder {
 public:
  explicit FifoFeeder(std::string path) : path_(std::move(path)) {
    if (mkfifo(path_.c_str(), 0600) != 0) ADD_FAILURE() << "mkfifo " << path_;
  }
  ~FifoFeeder() { Close(); }
  const std::string& path() const { return path_; }

  // Opens the write end once ffmpeg has opened the read end; false after `timeout`.
  bool Open(Clock::duration timeout) {
    WaitUntil([&] { return (fd_ = open(path_.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }, timeout);
    if (fd_ < 0) return false;
    fcntl(fd_, F_SETFL, 0);
    return true;
  }
  bool Write(const std::string& bytes) {
    return fd_ >= 0 && write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  std::string path_;
  int fd_ = -1;
};

class SubtitleExtractorTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A FIFO whose reader was killed must fail the feeder's write, not end the test program.
    signal(SIGPIPE, SIG_IGN);
  }

  SubtitleExtractorTest() { extractor_.Configure(Config(kExtractorArguments)); }

  ExtractorConfig Config(const std::string& extraArguments) const {
    ExtractorConfig config;
    config.extractorPath = test::ProgramDir() + kExtractorRelativePath;
    config.extraArguments = extraArguments;
    config.notifyWindow = kMainWindow;
    config.notifyMessage = WM_EXTRACTOR_NOTIFY;
    // Each test its own socket, so test programs running side by side never meet.
    config.socketPath = dir_.str() + kExtractorSocketName;
    config.mapKind = [] { return std::uint8_t{3}; };
    config.locale = [] { return std::string("Oversea"); };
    return config;
  }

  std::vector<WPARAM> Codes() const {
    std::vector<WPARAM> codes;
    for (const RecordedMessage& m : messages_.MessagesOf(WM_EXTRACTOR_NOTIFY)) {
      EXPECT_EQ(m.window, kMainWindow);
      EXPECT_EQ(m.lParam, 0);
      codes.push_back(m.wParam);
    }
    return codes;
  }

  // Extracts the file and waits until the serving thread has ended the run by itself.
  void ExtractToEnd(const std::string& path) {
    extractor_.ExtractFile(path);
    ASSERT_TRUE(WaitUntil(
        [&] {
          return !extractor_.pipeThreadRunning() && extractor_.state() == PipelineState::Idle;
        },
        kRunTimeout))
        << path;
  }

  // Starts a run on a FIFO that gets no byte: ffmpeg opens it and blocks reading the header, so it
  // neither connects nor reads its quit command. Returns its process id.
  pid_t StartBlockedExtractor(FifoFeeder& fifo) {
    extractor_.ExtractFile(fifo.path());
    const pid_t pid = extractor_.extractorPid();
    EXPECT_GT(pid, 0);
    EXPECT_TRUE(fifo.Open(kRunTimeout));
    return pid;
  }

  // Makes a clip of `cues` cues with its index first, starts a run on the FIFO and writes the
  // first `fraction` of the clip; the write end stays open, so ffmpeg waits for the rest.
  void ExtractPartOf(FifoFeeder& fifo, int cues, double fraction) {
    const std::string clip = test::MakeTelemetryClip(test::SourceDir(), dir_.str(), "part", cues,
                                                     /*faststart=*/true);
    ASSERT_FALSE(clip.empty());
    const std::string bytes = test::ReadFileText(clip);
    extractor_.ExtractFile(fifo.path());
    ASSERT_TRUE(fifo.Open(kRunTimeout));
    ASSERT_TRUE(fifo.Write(bytes.substr(0, static_cast<std::size_t>(bytes.size() * fraction))));
  }

  bool SocketFileExists() const { return fs::exists(fs::symlink_status(extractor_.socketPath())); }

  RecordingDispatcher messages_;
  ScopedWindowMessageDispatcher scoped_{&messages_};
  test::TempDir dir_;
  CTrackStore store_;
  CNavigationTrack navigation_;
  CSubtitleExtractor extractor_{store_, &navigation_};
};

struct ClipCase {
  const char* name;
  std::string clip;
  std::string extraArguments;
  std::vector<WPARAM> codes;
  int points;       // kept lines plus the appended last one
  int readyChunks;  //
  bool lastAppended;
  bool telemetry;  // the lines are camera telemetry (else ordinary subtitles, invalid points)
};

void PrintTo(const ClipCase& c, std::ostream* out) {
  *out << c.name;
}

class ExtractsClips : public SubtitleExtractorTest, public testing::WithParamInterface<ClipCase> {};

TEST_P(ExtractsClips, StoresEveryTenthCueAndReportsEachBatch) {
  const ClipCase& c = GetParam();
  extractor_.Configure(Config(c.extraArguments));
  ExtractToEnd(c.clip);

  EXPECT_EQ(Codes(), c.codes);
  EXPECT_EQ(store_.totalPoints(), c.points);
  EXPECT_EQ(store_.readyChunks(), c.readyChunks);
  EXPECT_EQ(extractor_.batchCount(), 0);
  EXPECT_FALSE(SocketFileExists());

  const std::vector<std::string> lines = TelemetryLines(c.clip);
  const std::vector<TelemetryRecord> points = TrackPoints(store_);
  ASSERT_EQ(static_cast<int>(points.size()), c.points);
  for (std::size_t k = 0; k < points.size(); ++k) {
    const bool appended = c.lastAppended && k + 1 == points.size();
    const std::size_t cue = appended ? lines.size() - 1 : 10 * k;
    const std::string& line = lines.at(cue);
    if (c.telemetry) {
      ExpectPointIs(points[k], line);
      // The generator's cues start every 100 ms; the appended last one keeps its own start.
      EXPECT_EQ(points[k].mediaTimeMs, static_cast<std::int32_t>(cue * 100)) << k;
    } else {
      EXPECT_FALSE(points[k].valid) << line;
    }
  }
  // The navigation track holds the same timed points, and knows the run read everything.
  EXPECT_EQ(navigation_.size(), c.telemetry ? points.size() : 0u);
  EXPECT_TRUE(navigation_.complete());
  if (c.telemetry && !points.empty()) {
    EXPECT_EQ(navigation_.endMs(), points.back().mediaTimeMs);
  }
}

std::string WithArgument(const std::string& extra) {
  return std::string(kExtractorArguments) + " " + extra;
}

INSTANTIATE_TEST_SUITE_P(
    SampleClips, ExtractsClips,
    testing::Values(
        ClipCase{
            "FiveCues", test::CuesClip(5), kExtractorArguments, {516, 518, 520}, 2, 1, true, true},
        ClipCase{"OneFullBatch",
                 test::CuesClip(640),
                 kExtractorArguments,
                 {516, 518, 520},
                 64,
                 1,
                 false,
                 true},
        ClipCase{"FullBatchAndTwoLines",
                 test::CuesClip(641),
                 kExtractorArguments,
                 {516, 518, 516, 520},
                 66,
                 2,
                 true,
                 true},
        ClipCase{"SixHundredCues",
                 test::DefaultClip(),
                 kExtractorArguments,
                 {516, 518, 520},
                 61,
                 1,
                 true,
                 true},
        ClipCase{"OrdinarySubtitles",
                 test::PlainSubtitleClip(),
                 kExtractorArguments,
                 {516, 518, 520},
                 7,
                 1,
                 true,
                 false},
        // ffmpeg connects and writes no cue at all.
        ClipCase{
            "NoCueKept", test::CuesClip(5), WithArgument("-t 0"), {518, 520}, 0, 0, false, true}),
    [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });

TEST_F(SubtitleExtractorTest, ALongCueIsStoredAsItsFirst127Bytes) {
  const std::string clip = test::SamplePath("long_cue.mp4");
  ExtractToEnd(clip);
  const std::vector<std::string> lines = TelemetryLines(clip);
  ASSERT_EQ(lines.at(0).size(), 300u);
  // The slot holds the cue as ffmpeg wrote it: number, times, then the line.
  const std::string cue = "1\n00:00:00,000 --> 00:00:00,100\n" + lines[0] + "\n\n";
  EXPECT_EQ(std::string(extractor_.lineSlot(0)), cue.substr(0, 127));
  const std::vector<TelemetryRecord> points = TrackPoints(store_);
  ASSERT_EQ(points.size(), 2u);
  ExpectPointIs(points[0], lines[0]);
  ExpectPointIs(points[1], lines.back());
}

class OddFileNames : public SubtitleExtractorTest,
                     public testing::WithParamInterface<const char*> {};

TEST_P(OddFileNames, AreExtractedLikeAnyOther) {
  const fs::path copy = dir_.path() / GetParam();
  fs::copy_file(test::CuesClip(5), copy);
  ExtractToEnd(copy.string());
  EXPECT_EQ(Codes(), (std::vector<WPARAM>{516, 518, 520}));
  const std::vector<std::string> lines = TelemetryLines(test::CuesClip(5));
  const std::vector<TelemetryRecord> points = TrackPoints(store_);
  ASSERT_EQ(points.size(), 2u);
  ExpectPointIs(points[0], lines[0]);
  ExpectPointIs(points[1], lines[4]);
}

INSTANTIATE_TEST_SUITE_P(Names, OddFileNames,
                         testing::Values("with  spaces .mp4", "it's \"quoted\".mp4",
                                         "行车记录 ドライブ.mp4", "-leading-dash.mp4", "-",
                                         "http:not-a-url.mp4", "semi;colon $HOME `x`.mp4"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return "Name" + std::to_string(info.index);
                         });

TEST_F(SubtitleExtractorTest, AMissingFileChangesNothing) {
  ExtractToEnd(test::CuesClip(5));
  messages_.Clear();
  extractor_.ExtractFile(dir_.str() + "missing.mp4");
  extractor_.ExtractFile("");
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_EQ(extractor_.inputPath(), test::CuesClip(5));
  EXPECT_EQ(store_.totalPoints(), 2) << "the track of the last file stays";
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(SubtitleExtractorTest, AMissingExtractorEndsTheRunAtOnceWithItsErrorCode) {
  ExtractorConfig config = Config(kExtractorArguments);
  config.extractorPath = dir_.str() + "FFMpeg/ffmpeg";
  extractor_.Configure(config);
  extractor_.ExtractFile(test::CuesClip(5));
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_EQ(extractor_.StartRun(), ENOENT);
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_FALSE(extractor_.pipeThreadRunning());
  EXPECT_FALSE(SocketFileExists());
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(SubtitleExtractorTest, AFileWithoutSubtitlesPostsNothingAndTheNextFileStartsAtOnce) {
  extractor_.ExtractFile(test::NoSubtitleClip());
  const pid_t first = extractor_.extractorPid();
  ASSERT_GT(first, 0);
  ASSERT_TRUE(WaitUntil([&] { return ProcessEnded(first); }, kRunTimeout));
  // ffmpeg has given up without connecting; the serving thread still waits for it, but the
  // extraction no longer works (background indexing may go on).
  EXPECT_EQ(extractor_.state(), PipelineState::Running);
  EXPECT_TRUE(extractor_.pipeThreadRunning());
  EXPECT_TRUE(WaitUntil([&] { return !extractor_.extractorRunning(); }, kRunTimeout));

  const auto took = Timed([&] { extractor_.ExtractFile(test::CuesClip(5)); });
  EXPECT_LT(took, kStopBound);
  EXPECT_TRUE(ProcessGone(first));
  ASSERT_TRUE(WaitUntil([&] { return extractor_.state() == PipelineState::Idle; }, kRunTimeout));
  EXPECT_EQ(Codes(), (std::vector<WPARAM>{516, 518, 520}));
  EXPECT_EQ(store_.totalPoints(), 2);
}

// ffmpeg ends at the end of the track, or at once for a file without subtitles: either way it is
// reaped then, not left a zombie until the next file.
TEST_F(SubtitleExtractorTest, AnExtractorThatEndedIsReapedBeforeTheNextFile) {
  for (const std::string& clip : {test::CuesClip(5), test::NoSubtitleClip()}) {
    extractor_.ExtractFile(clip);
    const pid_t pid = extractor_.extractorPid();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(WaitUntil([&] { return ProcessGone(pid); }, kRunTimeout)) << clip;
  }
}

TEST_F(SubtitleExtractorTest, StopKillsAnExtractorThatIsBlockedAndNeverConnects) {
  FifoFeeder fifo(dir_.str() + "blocked.mp4");
  const pid_t pid = StartBlockedExtractor(fifo);
  EXPECT_TRUE(extractor_.extractorRunning());
  const auto took = Timed([&] { extractor_.Stop(); });
  EXPECT_FALSE(extractor_.extractorRunning());
  EXPECT_LT(took, kStopBound);
  EXPECT_GE(took, 400ms) << "ffmpeg got its 500 ms to obey the quit command";
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_TRUE(ProcessGone(pid));
  EXPECT_FALSE(SocketFileExists());
  EXPECT_TRUE(Codes().empty());
}

TEST_F(SubtitleExtractorTest, ExtractFileWhileStoppingDoesNothing) {
  FifoFeeder fifo(dir_.str() + "blocked.mp4");
  StartBlockedExtractor(fifo);
  // The stop takes 500 ms (ffmpeg is blocked); a second caller meets the Stopping state.
  std::atomic<bool> calledWhileStopping{false};
  std::thread other([&] {
    if (!WaitUntil([&] { return extractor_.state() == PipelineState::Stopping; }, kRunTimeout)) {
      return;
    }
    extractor_.ExtractFile(test::CuesClip(5));
    calledWhileStopping = extractor_.state() == PipelineState::Stopping;
  });
  extractor_.Stop();
  other.join();
  ASSERT_TRUE(calledWhileStopping);
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_EQ(extractor_.inputPath(), fifo.path());
  EXPECT_EQ(extractor_.extractorPid(), -1);
  EXPECT_TRUE(Codes().empty());
}

TEST_F(SubtitleExtractorTest, StopDuringARunPostsNoFurtherChunk) {
  // 1300 cues: three quarters of the file carry batch 0 (cue 631) but not batch 1 (cue 1271).
  // ffmpeg writes each cue at once here, so how far it has read decides what arrives.
  extractor_.Configure(Config("-y -vn -an -scodec srt -f srt"));
  FifoFeeder fifo(dir_.str() + "fifo.mp4");
  ASSERT_NO_FATAL_FAILURE(ExtractPartOf(fifo, 1300, 0.75));
  ASSERT_TRUE(messages_.WaitForMessage(WM_EXTRACTOR_NOTIFY, 518, kRunTimeout));
  EXPECT_FALSE(extractor_.stopRequested());

  const auto took = Timed([&] { extractor_.Stop(); });
  EXPECT_LT(took, kStopBound);
  fifo.Close();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(Codes(), (std::vector<WPARAM>{516, 518})) << "a stopped track is not complete";
  EXPECT_FALSE(navigation_.complete());
  EXPECT_EQ(navigation_.size(), 64u) << "batch 0 came before the stop";
  EXPECT_TRUE(extractor_.stopRequested()) << "no batch 0 of this run cleared it";
  EXPECT_EQ(store_.readyChunks(), 1);
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_FALSE(SocketFileExists());
}

TEST_F(SubtitleExtractorTest, SeesTheMarksOfATelemetryTrackInTheConsoleOutput) {
  FifoFeeder fifo(dir_.str() + "fifo.mp4");
  // ffmpeg has described the streams and waits for the rest.
  ASSERT_NO_FATAL_FAILURE(ExtractPartOf(fifo, 50, 0.9));
  EXPECT_TRUE(WaitUntil([&] { return extractor_.movTextSeen() && extractor_.ambarellaSeen(); },
                        kRunTimeout));
  extractor_.Stop();
  EXPECT_FALSE(extractor_.movTextSeen());
  EXPECT_FALSE(extractor_.ambarellaSeen());
}

// Stand-in extractors for the quit command's failure paths; each closes its standard input first.
struct QuitCase {
  const char* name;
  const char* script;      // after "exec 0<&-"
  bool endsBeforeTheStop;  //
  std::vector<WPARAM> codes;
};

class QuitCommand : public SubtitleExtractorTest, public testing::WithParamInterface<QuitCase> {};

TEST_P(QuitCommand, FailsOnlyForAnExtractorThatStillRuns) {
  const std::string fake = dir_.str() + "fake-extractor";
  const std::string marker = dir_.str() + "stdin-closed";
  test::WriteFileText(
      fake, std::string("#!/bin/sh\nexec 0<&-\n: > '") + marker + "'\n" + GetParam().script);
  fs::permissions(fake, fs::perms::owner_all);
  ExtractorConfig config = Config(kExtractorArguments);
  config.extractorPath = fake;
  extractor_.Configure(config);
  extractor_.ExtractFile(test::CuesClip(5));
  const pid_t pid = extractor_.extractorPid();
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(marker); }, kRunTimeout));
  if (GetParam().endsBeforeTheStop) {
    ASSERT_TRUE(WaitUntil([&] { return ProcessEnded(pid); }, kRunTimeout));
  }

  extractor_.Stop();
  EXPECT_EQ(Codes(), GetParam().codes);
  EXPECT_EQ(extractor_.state(), PipelineState::Idle);
  EXPECT_TRUE(ProcessGone(pid));
  EXPECT_FALSE(SocketFileExists());
}

void PrintTo(const QuitCase& c, std::ostream* out) {
  *out << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Extractors, QuitCommand,
    testing::Values(QuitCase{"LingersWithoutInput", "exec sleep 30\n", false, {512}},
                    // Its console output stays open (held by a short-lived child), so only the
                    // failed write can tell that it has gone: still no failure to report.
                    QuitCase{"HasEnded", "sleep 2 &\nexit 0\n", true, {}}),
    [](const testing::TestParamInfo<QuitCase>& info) { return std::string(info.param.name); });

TEST_F(SubtitleExtractorTest, PostsWithTheUnconfiguredMessageAndNotAtAllWithoutAWindow) {
  ExtractorConfig config = Config(kExtractorArguments);
  config.notifyMessage = kExtractorUnconfiguredMessage;
  extractor_.Configure(config);
  ExtractToEnd(test::CuesClip(5));
  EXPECT_EQ(messages_.Count(WM_USER + 65), 3u);  // 516, 518 and 520

  messages_.Clear();
  config.notifyWindow = 0;
  extractor_.Configure(config);
  ExtractToEnd(test::CuesClip(5));
  EXPECT_EQ(store_.totalPoints(), 2);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST(SubtitleExtractorLifetime, LeavesNoProcessSocketOrDescriptorBehind) {
  signal(SIGPIPE, SIG_IGN);
  test::TempDir dir;
  RecordingDispatcher messages;
  ScopedWindowMessageDispatcher scoped(&messages);
  CTrackStore store;
  FifoFeeder fifo(dir.str() + "blocked.mp4");
  const std::string socket = dir.str() + kExtractorSocketName;
  const int descriptorsBefore = OpenDescriptorCount();
  pid_t finished = -1;
  pid_t running = -1;
  {
    CSubtitleExtractor extractor(store);
    ExtractorConfig config;
    config.extractorPath = test::ProgramDir() + kExtractorRelativePath;
    config.extraArguments = kExtractorArguments;
    config.socketPath = socket;
    extractor.Configure(config);
    // A run that ended by itself, then one still running when the object goes.
    extractor.ExtractFile(test::CuesClip(5));
    finished = extractor.extractorPid();
    ASSERT_TRUE(WaitUntil([&] { return extractor.state() == PipelineState::Idle; }, kRunTimeout));
    extractor.ExtractFile(fifo.path());
    running = extractor.extractorPid();
    ASSERT_TRUE(fifo.Open(kRunTimeout));
    EXPECT_TRUE(fs::exists(fs::symlink_status(socket)));
    EXPECT_EQ(fs::status(socket).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
  }
  fifo.Close();
  EXPECT_TRUE(ProcessGone(finished));
  EXPECT_TRUE(ProcessGone(running));
  EXPECT_FALSE(fs::exists(fs::symlink_status(socket)));
  EXPECT_EQ(OpenDescriptorCount(), descriptorsBefore);
}

TEST(SubtitleExtractorCommand, PassesTheInputAsAFileUrlAndSplitsTheExtraArguments) {
  EXPECT_EQ(BuildExtractorArguments("/v/-a b.mp4", "-y  -vn -an -scodec srt -f srt ", "/run/p"),
            (std::vector<std::string>{"-i", "file:/v/-a b.mp4", "-y", "-vn", "-an", "-scodec",
                                      "srt", "-f", "srt", "unix:/run/p"}));
  EXPECT_EQ(BuildExtractorArguments("x.mp4", "", "/s"),
            (std::vector<std::string>{"-i", "file:x.mp4", "unix:/s"}));
}

}  // namespace
}  // namespace korvane
