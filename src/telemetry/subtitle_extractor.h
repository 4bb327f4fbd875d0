// CSubtitleExtractor: copies the telemetry subtitle track of a whole file out with ffmpeg, one run
// per file. It owns the run: the ffmpeg child with its quit and console pipes, the socket ffmpeg
// writes SRT into, the socket-serving and console-reading threads, and the 64 line slots.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/process.h"
#include "platform/socket_server.h"
#include "platform/window_message.h"
#include "telemetry/extract_console_marks.h"
#include "telemetry/extract_cue_splitter.h"
#include "telemetry/extract_line_batcher.h"
#include "telemetry/pipeline_lines.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {

class CNavigationTrack;
class CTrackStore;

// The message posted until the pipeline is configured (WM_USER + 65).
constexpr std::uint32_t kExtractorUnconfiguredMessage = WM_USER + 65;

// Set once at start-up, before the first ExtractFile.
struct ExtractorConfig {
  std::string extractorPath;   // program folder + kExtractorRelativePath
  std::string extraArguments;  // kExtractorArguments
  WindowHandle notifyWindow = 0;
  std::uint32_t notifyMessage = kExtractorUnconfiguredMessage;
  std::string socketPath;  // empty: DefaultExtractorSocketPath()
  // Asked on the pipeline's thread before each batch; unset: map kind 0, locale "".
  std::function<std::uint8_t()> mapKind;
  std::function<std::string()> locale;
};

class CSubtitleExtractor final : public IPipelineLines, private IBatchSink {
 public:
  // `navigation` (may be null) gets every point of the track with a media time; a new file clears
  // it and the end of the extractor's output marks it complete.
  explicit CSubtitleExtractor(CTrackStore& store, CNavigationTrack* navigation = nullptr);
  // Stops a run and releases whatever a finished run still holds: no ffmpeg, thread or socket
  // file outlives the object.
  ~CSubtitleExtractor() override;
  CSubtitleExtractor(const CSubtitleExtractor&) = delete;
  CSubtitleExtractor& operator=(const CSubtitleExtractor&) = delete;

  // Takes the configuration as given: an empty or wrong extractor path shows only as the launch
  // error of each run. Call before the first ExtractFile, never during a run.
  void Configure(ExtractorConfig config);
  const ExtractorConfig& config() const { return config_; }

  // Ends the current run, resets the track store, clears the navigation track and starts a run on
  // `path`. Does nothing for a
  // path that does not exist or while a start or a stop is under way. UI thread only, as are the
  // calls below.
  void ExtractFile(const std::string& path);
  // Opens the socket, starts the serving thread, launches ffmpeg, starts the console reader.
  // 0, 1 when a thread cannot be started, or LaunchExtractor's error (then the state is Idle).
  int StartRun();
  // Starts ffmpeg on the input path: 0 or an errno value (ENOENT for a missing ffmpeg).
  int LaunchExtractor();
  // Ends the run and returns when it has ended, within about 500 ms: ffmpeg gets "q" and is killed
  // when it has not ended 500 ms later. Always 0.
  int Stop();
  // Writes "q" to ffmpeg's standard input while starting or running; a failed write to an ffmpeg
  // that still runs releases the run and posts 512.
  void SendQuit();
  // Ends the run's threads, waits up to 500 ms for ffmpeg (then kills it), closes everything the
  // run holds; state Idle. Harmless when nothing is held.
  void ReleaseRun();

  // IPipelineLines, for the track builder on the serving thread.
  PipelineState state() const override { return state_.load(); }
  std::int32_t lineCount() const override { return batcher_.lineCount(); }
  const char* lineSlot(std::int32_t index) const override { return batcher_.slot(index); }
  CTelemetryParser& parser() override { return parser_; }
  void clearStopRequested() override { stopRequested_ = false; }
  void notify(WPARAM code) override;

  std::int32_t batchCount() const { return batcher_.batchCount(); }
  bool stopRequested() const { return stopRequested_.load(); }
  bool movTextSeen() const { return movTextSeen_.load(); }
  bool ambarellaSeen() const { return ambarellaSeen_.load(); }
  bool pipeThreadRunning() const { return pipeThreadRunning_.load(); }
  const std::string& inputPath() const { return inputPath_; }
  // The socket of the current or last run.
  const std::string& socketPath() const { return socketPath_; }
  // From ffmpeg's launch until its output ends (it has exited) or the run is released: while the
  // extraction itself works. A run left waiting for a connection that never comes (a file without
  // subtitles) does not count once ffmpeg has ended. Any thread.
  bool extractorRunning() const { return extractorRunning_.load(); }
  // ffmpeg's process id while a run holds it, else -1.
  pid_t extractorPid() const { return process_.IsStarted() ? process_.pid() : -1; }

 private:
  // IBatchSink
  int ProcessBatch(std::int32_t batchIndex) override;
  void NothingKept() override;

  void PipeServerThread();
  void ReadLoop();
  void OutputReaderThread();
  // Stops and joins the run's threads; a run still going no longer reports.
  void EndThreads();

  CTrackStore& store_;
  CNavigationTrack* navigation_;
  CTelemetryParser parser_;
  ExtractorConfig config_;
  LineBatcher batcher_;  // the line slots, allocated once
  CueSplitter splitter_{kLineSlotSize - 1};
  ConsoleMarkScanner marks_;

  std::string inputPath_;
  std::string socketPath_;
  ChildProcess process_;
  UnixSocketServer server_;
  bool listening_ = false;
  std::thread pipeThread_;
  std::thread outputThread_;
  // The quit write end is written by SendQuit and closed by the console reader when ffmpeg has
  // gone, which then reaps ffmpeg; the lock keeps a write from meeting a close and the two
  // threads' checks of the process apart.
  std::mutex quitLock_;

  std::atomic<PipelineState> state_{PipelineState::Idle};
  std::atomic<bool> stopThreads_{false};  // the cooperative stop both threads watch
  std::atomic<bool> pipeThreadRunning_{false};
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> movTextSeen_{false};
  std::atomic<bool> ambarellaSeen_{false};
  std::atomic<bool> extractorRunning_{false};
};

}  // namespace korvane
