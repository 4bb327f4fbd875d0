#include "telemetry/subtitle_extractor.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "telemetry/extract_command.h"
#include "telemetry/navigation_track.h"
#include "telemetry/track_store.h"

namespace korvane {

namespace {
// How long a thread waits for data before it looks at the stop request again.
constexpr int kPollMs = 20;
// How long ffmpeg gets to obey "q" before it is killed.
constexpr int kQuitWaitMs = 500;
constexpr std::size_t kSocketReadSize = 4096;
constexpr std::size_t kConsoleReadSize = 4096;

bool PathExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

void Join(std::thread& thread) {
  if (thread.joinable()) thread.join();
}

// Moves a run that is starting or running to `to`; a run already stopping or idle stays as it is.
void LeaveActiveState(std::atomic<PipelineState>& state, PipelineState to) {
  PipelineState current = state.load();
  while ((current == PipelineState::Starting || current == PipelineState::Running) &&
         !state.compare_exchange_weak(current, to)) {
  }
}
}  // namespace

CSubtitleExtractor::CSubtitleExtractor(CTrackStore& store, CNavigationTrack* navigation)
    : store_(store), navigation_(navigation) {}

CSubtitleExtractor::~CSubtitleExtractor() {
  if (state_ != PipelineState::Idle) Stop();
  // A run that ended by itself still holds its child, threads and pipes.
  ReleaseRun();
}

void CSubtitleExtractor::Configure(ExtractorConfig config) {
  config_ = std::move(config);
}

void CSubtitleExtractor::notify(WPARAM code) {
  PostWindowMessage(config_.notifyWindow, config_.notifyMessage, code, 0);
}

void CSubtitleExtractor::ExtractFile(const std::string& path) {
  if (!PathExists(path)) return;
  const PipelineState state = state_.load();
  if (state != PipelineState::Idle && state != PipelineState::Running) return;
  if (state == PipelineState::Idle) {
    ReleaseRun();
  } else {
    Stop();
  }
  store_.Reset();
  if (navigation_ != nullptr) navigation_->Clear();
  inputPath_ = path;
  StartRun();
}

int CSubtitleExtractor::StartRun() {
  socketPath_ = config_.socketPath.empty() ? DefaultExtractorSocketPath() : config_.socketPath;
  // Without a socket the run goes on: ffmpeg cannot connect, and nothing comes of the run.
  listening_ = server_.Listen(socketPath_) == 0;
  stopThreads_ = false;
  pipeThreadRunning_ = false;
  marks_.Reset();
  try {
    pipeThread_ = std::thread(&CSubtitleExtractor::PipeServerThread, this);
  } catch (const std::system_error&) {
    server_.Close();
    return 1;
  }
  state_ = PipelineState::Starting;
  if (const int error = LaunchExtractor(); error != 0) {
    EndThreads();
    server_.Close();
    state_ = PipelineState::Idle;
    return error;
  }
  extractorRunning_ = true;
  try {
    outputThread_ = std::thread(&CSubtitleExtractor::OutputReaderThread, this);
  } catch (const std::system_error&) {
    Stop();
    return 1;
  }
  // The serving thread may already have seen the whole (short) stream and ended the run.
  PipelineState starting = PipelineState::Starting;
  state_.compare_exchange_strong(starting, PipelineState::Running);
  return 0;
}

int CSubtitleExtractor::LaunchExtractor() {
  ProcessOptions options;
  options.program = config_.extractorPath;
  options.args = BuildExtractorArguments(inputPath_, config_.extraArguments, socketPath_);
  options.pipeStdin = true;
  options.pipeStdout = true;
  options.stderrToStdout = true;
  return process_.Start(options);
}

int CSubtitleExtractor::Stop() {
  if (state_ == PipelineState::Idle) return 0;
  stopRequested_ = true;
  SendQuit();
  state_ = PipelineState::Stopping;
  ReleaseRun();
  return 0;
}

void CSubtitleExtractor::SendQuit() {
  const PipelineState state = state_.load();
  if (state != PipelineState::Starting && state != PipelineState::Running) return;
  {
    std::lock_guard<std::mutex> lock(quitLock_);
    if (process_.stdinFd() < 0) return;
    // An extractor that has already ended closed its end of the pipe: there was nothing to quit,
    // whether or not the console reader has noticed yet.
    if (process_.WriteStdin("q\n") || process_.WaitForExit(0)) return;
  }
  ReleaseRun();
  notify(kExtractorQuitFailed);
}

void CSubtitleExtractor::EndThreads() {
  LeaveActiveState(state_, PipelineState::Stopping);
  stopThreads_ = true;
  Join(pipeThread_);
  Join(outputThread_);
}

void CSubtitleExtractor::ReleaseRun() {
  EndThreads();
  server_.Close();
  if (process_.IsStarted() && !process_.WaitForExit(kQuitWaitMs)) process_.Kill();
  process_.Release();
  extractorRunning_ = false;
  state_ = PipelineState::Idle;
  movTextSeen_ = false;
  ambarellaSeen_ = false;
}

void CSubtitleExtractor::PipeServerThread() {
  pipeThreadRunning_ = true;
  // ffmpeg never connects when the file has no subtitle stream: the wait then lasts until a stop.
  if (!listening_ ||
      server_.Accept(stopThreads_, kPollMs) != UnixSocketServer::AcceptResult::Connected) {
    server_.Close();
    pipeThreadRunning_ = false;
    return;
  }
  ReadLoop();
  pipeThreadRunning_ = false;
  server_.Close();
  LeaveActiveState(state_, PipelineState::Idle);
  movTextSeen_ = false;
  ambarellaSeen_ = false;
}

void CSubtitleExtractor::ReadLoop() {
  batcher_.BeginRun();
  splitter_.Reset();
  bool builderStopped = false;
  bool endOfStream = false;
  char buffer[kSocketReadSize];
  while (!builderStopped && !stopThreads_ && state_ != PipelineState::Stopping) {
    if (!server_.WaitReadable(kPollMs)) continue;
    const ssize_t size = server_.Read(buffer, sizeof buffer);
    if (size <= 0) {
      // A read failure counts as the end of the stream.
      endOfStream = true;
      break;
    }
    std::string_view rest(buffer, static_cast<std::size_t>(size));
    while (!rest.empty() && !builderStopped) {
      rest.remove_prefix(splitter_.Feed(rest));
      if (splitter_.ready()) builderStopped = !batcher_.Add(splitter_.cue(), *this);
    }
  }
  // A last cue without its blank line is whole only when the stream really ended.
  if (endOfStream && splitter_.Finish()) batcher_.Add(splitter_.cue(), *this);
  batcher_.Finish(*this);
  // Only a stream read to its end is a whole track; a stopped run's points are for nobody.
  if (!endOfStream || stopThreads_ || state_ == PipelineState::Stopping) return;
  if (navigation_ != nullptr) navigation_->MarkComplete();
  notify(kExtractorTrackComplete);
}

void CSubtitleExtractor::OutputReaderThread() {
  char buffer[kConsoleReadSize];
  bool watching = true;
  while (!stopThreads_ && state_ != PipelineState::Stopping) {
    if (!process_.WaitStdoutReadable(kPollMs)) continue;
    const ssize_t size = process_.ReadStdout(buffer, sizeof buffer);
    if (size <= 0) break;  // ffmpeg has gone
    // Once both marks are known the output is still drained: ffmpeg must never block on a full
    // console pipe, nor get SIGPIPE from a closed one, while it is still writing the track.
    if (!watching) continue;
    watching = !marks_.Feed(std::string_view(buffer, static_cast<std::size_t>(size)));
    if (marks_.movTextSeen()) movTextSeen_ = true;
    if (marks_.ambarellaSeen()) ambarellaSeen_ = true;
  }
  process_.CloseStdout();
  extractorRunning_ = false;
  {
    std::lock_guard<std::mutex> lock(quitLock_);
    process_.CloseStdin();
  }
  // ffmpeg closed its output because it is ending: reap it now rather than leave a zombie until
  // the next file. A stop meanwhile reaps it itself once this thread has ended.
  if (!stopThreads_) WaitForExitGuarded(process_, quitLock_, kQuitWaitMs);
}

int CSubtitleExtractor::ProcessBatch(std::int32_t batchIndex) {
  const std::uint8_t mapKind = config_.mapKind ? config_.mapKind() : 0;
  const std::string locale = config_.locale ? config_.locale() : std::string();
  const int result = korvane::ProcessBatch(batchIndex, *this, store_, mapKind, locale);
  // Batch k fills chunk k exactly; its points go to the navigation track as they were stored.
  const TrackChunk* chunk = result == -1 ? nullptr : store_.chunk(batchIndex);
  if (chunk != nullptr && navigation_ != nullptr) {
    for (std::int32_t i = 0; i < chunk->count && i < TrackChunk::kCapacity; ++i) {
      navigation_->Append(chunk->points[static_cast<std::size_t>(i)]);
    }
  }
  return result;
}

void CSubtitleExtractor::NothingKept() {
  notify(kExtractorFirstChunkOrNothing);
}

}  // namespace korvane
