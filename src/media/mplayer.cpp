#include "media/mplayer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "media/line_splitter.h"
#include "media/player_command_line.h"
#include "media/slave_commands.h"
#include "media/subtitle_poll.h"
#include "platform/fd_io.h"
#include "platform/tick.h"

namespace korvane {
namespace {

constexpr int kReaderIdleMs = 50;
constexpr int kProcessWaitMs = 500;
constexpr std::size_t kReadBlock = 4096;

bool StopsReader(PlayerState state) {
  return state == PlayerState::Stopping || state == PlayerState::Idle;
}

}  // namespace

CMplayer::~CMplayer() {
  if (state_.load() != PlayerState::Idle) Stop();
  ReleaseFinished();
}

int CMplayer::Play() {
  if (state_.load() != PlayerState::Idle) Stop();
  ReleaseFinished();
  state_.store(PlayerState::Starting);
  if (const int error = StartProcess(); error != 0) {
    state_.store(PlayerState::Idle);
    return error;
  }
  readerRunning_.store(false);
  try {
    readerThread_ = std::thread(&CMplayer::ReaderLoop, this);
  } catch (const std::system_error&) {
    Stop();
    ReleaseFinished();
    return 1;
  }
  return 0;
}

int CMplayer::StartProcess() {
  PlayerLaunch launch;
  // The player runs in the snapshot folder, so a relative path would name another file there.
  launch.mediaPath = mediaPath.empty() || mediaPath.front() == '/'
                         ? mediaPath
                         : std::filesystem::absolute(mediaPath).string();
  launch.videoWindow = videoWindow;
  launch.videoOutput = videoOutput;
  launch.audioOutput = audioOutput;
  launch.soundDevice = soundDevice;
  launch.volume = volume_.load();
  launch.muted = muted_.load();
  launch.speed = speed_.load();
  launch.extraArguments = extraArguments;

  ProcessOptions options;
  options.program = playerPath;
  options.args = BuildPlayerArguments(launch);
  options.workingFolder = snapshotFolder;
  options.pipeStdin = true;
  options.pipeStdout = true;
  options.stderrToStdout = true;
  if (!snapshotFolder.empty()) {
    std::error_code ignored;
    std::filesystem::create_directory(snapshotFolder, ignored);
  }

  std::lock_guard lock(processMutex_);
  if (const int error = child_.Start(options); error != 0) return error;
  processId_.store(static_cast<std::uint32_t>(child_.pid()));
  replyPipe_ = child_.stdoutFd();
  return 0;
}

int CMplayer::Stop() {
  if (state_.load() == PlayerState::Idle) {
    // Nothing is sent; only the remains of a player that ended by itself are cleared away.
    if (!OnReaderThread()) ReleaseFinished();
    return 0;
  }
  SendCommand("quit", true);
  state_.store(PlayerState::Stopping);
  SleepMs(50);
  for (int i = 0; i < 10; ++i) {
    if (!readerRunning_.load()) break;
    SleepMs(10);
    // Goes out only if a reply has put the state back meanwhile ("Starting playback" after the
    // first "quit").
    SendCommand("quit", true);
  }
  CloseProcess();
  if (!OnReaderThread()) ReleaseFinished();
  return 0;
}

void CMplayer::CloseProcess() {
  std::lock_guard lock(processMutex_);
  CloseProcessLocked();
}

void CMplayer::CloseProcessLocked() {
  if (child_.IsStarted() && !child_.WaitForExit(kProcessWaitMs)) child_.Kill();
  processId_.store(0);
  // The reply pipe stays open until the reader thread has let go of it (ReaderLoop's exit or
  // ReleaseFinished); closing it under a running reader could hand its descriptor number to an
  // unrelated file.
  child_.CloseStdin();
  state_.store(PlayerState::Idle);
  ResetReplyFields();
}

void CMplayer::ResetReplyFields() {
  std::lock_guard lock(fieldsMutex_);
  reply_.length = 0.0;
  reply_.aspect = 0.0;
  reply_.videoWidth = 0;
  reply_.videoHeight = 0;
  reply_.position = 0;
  reply_.timePosition = 0.0;
  reply_.seekAnswerPending = false;
  reply_.staleAnswersDropped = 0;
  reply_.speed = 0.0;
}

void CMplayer::ReleaseFinished() {
  if (readerThread_.joinable()) readerThread_.join();
  std::lock_guard lock(processMutex_);
  child_.Release();
  replyPipe_ = -1;
}

void CMplayer::FailPipe() {
  {
    std::lock_guard lock(processMutex_);
    // Whoever saw the failure first has closed the process and told the window already; during a
    // stop the failure is expected.
    if (StopsReader(state_.load())) return;
    CloseProcessLocked();
  }
  Notify(kPlayerPipeFailed);
}

int CMplayer::SendCommand(std::string_view command, bool reportFailure) {
  if (StopsReader(state_.load())) return 1;
  const std::optional<std::string> line = CommandLine(command);
  if (!line) return 1;
  bool written = false;
  {
    std::lock_guard lock(processMutex_);
    if (child_.stdinFd() < 0) return 1;
    written = child_.WriteStdin(line->data(), line->size());
  }
  if (written) return 0;
  if (reportFailure) FailPipe();
  return 1;
}

int CMplayer::TogglePause() {
  if (state_.load() == PlayerState::Playing) {
    SendCommand("get_time_pos", true);
    SendCommand("pause", true);
    // A failed write has closed the process: the state stays Idle then.
    ChangeState(PlayerState::Playing, PlayerState::Paused);
  } else if (state_.load() == PlayerState::Paused) {
    SendCommand("pause", true);
    if (!ChangeState(PlayerState::Paused, PlayerState::Playing)) return 0;
    if (!muted_.load()) {
      SetVolume(volume_.load());
    } else {
      SendCommand(MuteCommand(true), true);
      muted_.store(true);
    }
  }
  return 0;
}

int CMplayer::SetVolume(int value) {
  value = std::clamp(value, 0, 100);
  volume_.store(value);
  if (state_.load() == PlayerState::Playing && !muted_.load()) {
    SendCommand(VolumeCommand(value), true);
  }
  return 0;
}

int CMplayer::SetMute(bool mute) {
  if (state_.load() == PlayerState::Playing) {
    SendCommand(MuteCommand(mute), true);
    muted_.store(mute);
    if (!mute) SetVolume(volume_.load());
  } else {
    muted_.store(mute);
  }
  return 0;
}

int CMplayer::Seek(double seconds) {
  const PlayerState state = state_.load();
  if ((state != PlayerState::Playing && state != PlayerState::Paused) || !std::isfinite(seconds)) {
    return 1;
  }
  double target = std::max(seconds, 0.0);
  {
    std::lock_guard lock(fieldsMutex_);
    if (reply_.length > 0.0) target = std::min(target, reply_.length);
    reply_.position = static_cast<int>(target);
    reply_.timePosition = target;
  }
  return SendMove(SeekCommand(target));
}

int CMplayer::StepFrame(bool forward) {
  if (state_.load() != PlayerState::Paused) return 1;
  return SendMove(forward ? kFrameStepCommand : kFrameBackStepCommand);
}

int CMplayer::SendMove(std::string_view command) {
  {
    std::lock_guard lock(fieldsMutex_);
    // Set before the command goes out, so that every answer still on its way from before the
    // move is one of those dropped.
    reply_.seekAnswerPending = true;
    reply_.staleAnswersDropped = 0;
  }
  if (SendCommand(command, true) != 0) return 1;
  SendCommand(kSeekTimeQuery, true);
  if (pollSubtitles.load()) SendCommand(kSeekSubtitleQuery, false);
  return 0;
}

int CMplayer::SetSpeed(double speed) {
  if (!std::isfinite(speed) || speed <= 0.0) return 0;
  speed_.store(speed);
  // Refused without a player, or while one stops; a starting player reads it once it plays.
  if (SendCommand(SpeedCommand(speed), true) == 0) SendCommand(kSpeedQuery, true);
  return 0;
}

std::string CMplayer::GetScreenshotPath() const {
  std::string path = snapshotFolder;
  if (!path.empty() && path.back() != '/') path += '/';
  std::lock_guard lock(fieldsMutex_);
  return path + reply_.screenshotName;
}

ReplyFields CMplayer::replyFields() const {
  std::lock_guard lock(fieldsMutex_);
  return reply_;
}

void CMplayer::Notify(int code) const {
  if (notifyWindow == 0 ||
      (notifyCodes & NotificationBit(static_cast<PlayerNotification>(code))) == 0) {
    return;
  }
  PostWindowMessage(notifyWindow, notifyMessage, code, 0);
}

ReplyOutcome CMplayer::HandleReplyLine(std::string_view line) {
  ReplyOutcome outcome;
  std::string subtitle;
  {
    std::lock_guard lock(fieldsMutex_);
    outcome = ApplyReplyLine(line, reply_);
    if (outcome.deliverSubtitle) subtitle = reply_.subtitleLine;
  }
  if (outcome.newState) state_.store(*outcome.newState);
  if (outcome.deliverSubtitle && lineCallback) lineCallback(subtitle, processId_.load());
  if (outcome.notification != 0) Notify(outcome.notification);
  return outcome;
}

void CMplayer::ReaderLoop() {
  readerRunning_.store(true);
  const int pipe = replyPipe_;
  LineSplitter splitter;
  SubtitlePollClock pollClock;
  std::array<char, kReadBlock> buffer;
  bool playerEnded = false;  // the player said it ends, or its pipe closed
  const auto handle = [this, &playerEnded](std::string_view line) {
    if (HandleReplyLine(line).newState == PlayerState::Stopping) playerEnded = true;
  };

  while (!StopsReader(state_.load())) {
    const bool paused = state_.load() == PlayerState::Paused;
    if (pollClock.Due(paused, GetTick())) {
      SendCommand(pollSubtitles.load() ? "sub_log_static" : "get_time_pos", false);
    }
    // Waiting for readability rather than sleeping lets a reply through as soon as it comes; the
    // wait ends early when the next poll is due.
    const auto wait = pollClock.MsUntilDue(paused, GetTick(), kReaderIdleMs);
    if (!WaitFdReadable(pipe, static_cast<int>(wait))) continue;
    const ssize_t got = ReadFd(pipe, buffer.data(), buffer.size());
    if (got <= 0) {
      // The player has gone; its last words may lack a line break ("ID_EXIT=EOF").
      splitter.Flush(handle);
      playerEnded = true;
      FailPipe();
      break;
    }
    splitter.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)), handle);
  }

  readerRunning_.store(false);
  // A player that announced its end is on its way out: reap it here rather than leave a zombie
  // until the next file. The wait does not hold the lock: a Stop on the UI thread closes the
  // process meanwhile with its own bounded wait and is never held up by this one as well.
  if (playerEnded) WaitForExitGuarded(child_, processMutex_, kProcessWaitMs);
  {
    std::lock_guard lock(processMutex_);
    child_.CloseStdin();
    child_.CloseStdout();
    replyPipe_ = -1;
  }
  state_.store(PlayerState::Idle);
  ResetReplyFields();
}

}  // namespace korvane
