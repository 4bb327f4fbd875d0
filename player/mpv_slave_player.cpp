#include "mpv_slave_player.h"

#include <fcntl.h>
#include <mpv/client.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace korvane::player {
namespace {

constexpr std::chrono::milliseconds kSeekWait{2000};
// The frame rate a frame step assumes for a video that does not tell its own.
constexpr double kAssumedFps = 25.0;

void WakeUp(void* data) {
  const int fd = *static_cast<int*>(data);
  const char byte = 1;
  // A full pipe already holds a wake-up; losing this one is fine.
  [[maybe_unused]] ssize_t ignored = write(fd, &byte, 1);
}

void SetFlag(mpv_handle* mpv, const char* name, bool on) {
  int flag = on ? 1 : 0;
  mpv_set_property(mpv, name, MPV_FORMAT_FLAG, &flag);
}

double DoubleProperty(mpv_handle* mpv, const char* name, double fallback) {
  double value = 0.0;
  if (mpv_get_property(mpv, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value)) {
    return fallback;
  }
  return value;
}

std::int64_t IntProperty(mpv_handle* mpv, const char* name) {
  std::int64_t value = 0;
  return mpv_get_property(mpv, name, MPV_FORMAT_INT64, &value) < 0 ? 0 : value;
}

std::string StringProperty(mpv_handle* mpv, const char* name) {
  char* text = mpv_get_property_string(mpv, name);
  std::string value = text ? text : "";
  mpv_free(text);
  return value;
}

struct AudioDevice {
  std::string name;
  std::string description;
};

void SetOption(mpv_handle* mpv, const char* name, const std::string& value) {
  if (mpv_set_option_string(mpv, name, value.c_str()) < 0) {
    std::fprintf(stderr, "Cannot set option %s=%s\n", name, value.c_str());
  }
}

// Options that make libmpv behave like a hidden slave player rather than mpv's own front end.
void SetCommonOptions(mpv_handle* mpv) {
  SetOption(mpv, "config", "no");
  SetOption(mpv, "load-scripts", "no");
  SetOption(mpv, "ytdl", "no");
  SetOption(mpv, "load-stats-overlay", "no");
  SetOption(mpv, "load-osd-console", "no");
  SetOption(mpv, "load-auto-profiles", "no");
  SetOption(mpv, "terminal", "no");
  SetOption(mpv, "input-default-bindings", "no");
  SetOption(mpv, "input-vo-keyboard", "no");
  SetOption(mpv, "input-cursor", "no");
  SetOption(mpv, "osc", "no");
  SetOption(mpv, "osd-level", "0");
  // Idle, so that the core does not end on its empty playlist before "loadfile" reaches it; the
  // end of the file is handled here (MPV_EVENT_END_FILE).
  SetOption(mpv, "idle", "yes");
  SetOption(mpv, "keep-open", "no");
  SetOption(mpv, "audio-display", "no");
}

// libmpv's audio devices, read from an instance of their own: reading the list from the playing
// instance leaves its later opening of the default output hanging (libmpv 0.35 with PipeWire).
std::optional<std::vector<AudioDevice>> EnumerateAudioDevices() {
  mpv_handle* mpv = mpv_create();
  if (!mpv) return std::nullopt;
  SetCommonOptions(mpv);
  SetOption(mpv, "vo", "null");
  if (mpv_initialize(mpv) < 0) {
    mpv_terminate_destroy(mpv);
    return std::nullopt;
  }
  std::vector<AudioDevice> devices;
  mpv_node list;
  if (mpv_get_property(mpv, "audio-device-list", MPV_FORMAT_NODE, &list) >= 0) {
    if (list.format == MPV_FORMAT_NODE_ARRAY) {
      for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& entry = list.u.list->values[i];
        if (entry.format != MPV_FORMAT_NODE_MAP) continue;
        AudioDevice device;
        for (int k = 0; k < entry.u.list->num; ++k) {
          const mpv_node& value = entry.u.list->values[k];
          if (value.format != MPV_FORMAT_STRING) continue;
          const std::string key = entry.u.list->keys[k];
          if (key == "name") device.name = value.u.string;
          if (key == "description") device.description = value.u.string;
        }
        devices.push_back(device);
      }
    }
    mpv_free_node_contents(&list);
  }
  mpv_terminate_destroy(mpv);
  return devices;
}

// Standard output of this program run with one argument (stderr dropped); empty on failure.
std::string RunSelf(const char* argument) {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return {};
  self[length] = '\0';
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    char* const argv[] = {self, const_cast<char*>(argument), nullptr};
    execv(self, argv);
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; child > 0 && (got = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  close(out[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return text;
}

}  // namespace

MpvSlavePlayer::MpvSlavePlayer(PlayerOptions options, int commandFd, std::FILE* replies)
    : options_(std::move(options)), commandFd_(commandFd), replies_(replies) {}

MpvSlavePlayer::~MpvSlavePlayer() {
  if (mpv_) {
    // libmpv's shutdown waits for its video output, which hangs when the output never came up
    // (a window whose parent keeps it from being mapped, say). A player told to end must end.
    std::thread([code = exitCode_] {
      std::this_thread::sleep_for(std::chrono::seconds(3));
      std::_Exit(code);
    }).detach();
    mpv_terminate_destroy(mpv_);
  }
  if (wakeRead_ >= 0) close(wakeRead_);
  if (wakeWrite_ >= 0) close(wakeWrite_);
}

int MpvSlavePlayer::ListAudioDevices() {
  const auto devices = EnumerateAudioDevices();
  if (!devices) return 1;
  for (std::size_t i = 0; i < devices->size(); ++i) {
    std::printf("%zu\t%s\t%s\n", i, (*devices)[i].name.c_str(), (*devices)[i].description.c_str());
  }
  std::fflush(stdout);
  return 0;
}

bool MpvSlavePlayer::Configure() {
  const AudioChoice audio = MapAudioOutput(options_.audioOutput);
  // Entry 0 of the list is libmpv's automatic choice, which needs no setting. The list is read
  // in a child process, before libmpv starts here: reading it in this process leaves the later
  // opening of the default output hanging now and then (libmpv 0.35 with PipeWire).
  std::string audioDevice;
  if (audio.deviceIndex && *audio.deviceIndex != 0) {
    const auto name = AudioDeviceName(RunSelf("-list-audio-devices"), *audio.deviceIndex);
    if (name) {
      audioDevice = *name;
    } else {
      std::fprintf(stderr, "Audio device %d does not exist; using the default\n",
                   *audio.deviceIndex);
    }
  }

  mpv_ = mpv_create();
  if (!mpv_) return false;
  SetCommonOptions(mpv_);
  // The telemetry subtitle is read through sub-text, never drawn over the picture.
  SetOption(mpv_, "sub-visibility", "no");
  SetOption(mpv_, "screenshot-format", "png");
  SetOption(mpv_, "keepaspect", options_.keepAspect ? "yes" : "no");
  if (!options_.videoOutput.empty()) SetOption(mpv_, "vo", MapVideoOutput(options_.videoOutput));
  if (RequestsPbo(options_.videoOutput)) SetOption(mpv_, "opengl-pbo", "yes");
  if (!audio.ao.empty()) SetOption(mpv_, "ao", audio.ao);
  if (!audioDevice.empty()) SetOption(mpv_, "audio-device", audioDevice);
  if (options_.wid != 0) mpv_set_option(mpv_, "wid", MPV_FORMAT_INT64, &options_.wid);
  if (options_.volume) SetOption(mpv_, "volume", std::to_string(*options_.volume));
  if (options_.mute) SetOption(mpv_, "mute", *options_.mute ? "yes" : "no");
  if (options_.speed) mpv_set_option(mpv_, "speed", MPV_FORMAT_DOUBLE, &*options_.speed);
  // MPlayer counts subtitle streams from 0, libmpv's track ids from 1.
  if (options_.subtitleId) {
    SetOption(mpv_, "sid",
              *options_.subtitleId < 0 ? "no" : std::to_string(*options_.subtitleId + 1));
  }
  mpv_request_log_messages(mpv_, options_.verbose ? "v" : options_.quiet ? "error" : "warn");

  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  wakeRead_ = fds[0];
  wakeWrite_ = fds[1];
  mpv_set_wakeup_callback(mpv_, WakeUp, &wakeWrite_);
  if (mpv_initialize(mpv_) < 0) return false;
  const char* load[] = {"loadfile", options_.file.c_str(), nullptr};
  return mpv_command(mpv_, load) >= 0;
}

int MpvSlavePlayer::Run() {
  if (!Configure()) {
    Emit("Failed to open " + options_.file + ".");
    Finish("End of file", 1);
    return exitCode_;
  }
  while (running_) {
    pollfd fds[2] = {{wakeRead_, POLLIN, 0}, {commandFd_, POLLIN, 0}};
    const nfds_t count = options_.slave && stdinOpen_ ? 2 : 1;
    int timeout = -1;
    if (seeking_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          seekDeadline_ - std::chrono::steady_clock::now());
      timeout = static_cast<int>(std::max<std::int64_t>(0, left.count()));
    }
    if (poll(fds, count, timeout) < 0 && errno != EINTR) break;
    if (seeking_ && std::chrono::steady_clock::now() >= seekDeadline_) {
      seeking_ = false;
      RunPending();
    }
    if (fds[0].revents) {
      char drain[64];
      while (read(wakeRead_, drain, sizeof drain) > 0) {
      }
      while (running_) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        HandleEvent(*event);
      }
    }
    if (running_ && count == 2 && fds[1].revents) HandleInput();
  }
  return exitCode_;
}

void MpvSlavePlayer::HandleInput() {
  char buffer[4096];
  const ssize_t got = read(commandFd_, buffer, sizeof buffer);
  if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (got <= 0) {
    // The controller has gone; a player nobody drives must not play on.
    stdinOpen_ = false;
    Finish("Quit", 0);
    return;
  }
  inputCarry_.append(buffer, static_cast<std::size_t>(got));
  std::size_t start = 0;
  for (std::size_t end; running_ && (end = inputCarry_.find('\n', start)) != std::string::npos;
       start = end + 1) {
    const SlaveCommand command =
        ParseSlaveCommand(std::string_view(inputCarry_).substr(start, end - start));
    if (command.kind == SlaveCommand::Kind::kUnknown) continue;
    if (TakesCommands() || command.kind == SlaveCommand::Kind::kQuit) {
      Execute(command);
    } else if (!MergeSeek(command) && (started_ || !SubtitlePollPending() ||
                                       command.kind != SlaveCommand::Kind::kSubLogStatic)) {
      pending_.push_back(command);
    }
  }
  inputCarry_.erase(0, start);
  if (inputCarry_.size() > 65536) inputCarry_.clear();  // no line is that long
}

bool MpvSlavePlayer::MergeSeek(const SlaveCommand& command) {
  // Like MPlayer, which carries out only the last of the seeks it read in one go: a slider dragged
  // across the clip must not queue up a seek for every step.
  constexpr int kAbsolute = 2;
  if (command.kind != SlaveCommand::Kind::kSeek || command.type != kAbsolute) return false;
  for (SlaveCommand& waiting : pending_) {
    if (waiting.kind == SlaveCommand::Kind::kSeek && waiting.type == kAbsolute) {
      waiting.value = command.value;
      return true;
    }
  }
  return false;
}

bool MpvSlavePlayer::SubtitlePollPending() const {
  // One answer is enough for all the polls of a slow start.
  for (const SlaveCommand& command : pending_) {
    if (command.kind == SlaveCommand::Kind::kSubLogStatic) return true;
  }
  return false;
}

void MpvSlavePlayer::Execute(const SlaveCommand& command) {
  using Kind = SlaveCommand::Kind;
  switch (command.kind) {
    case Kind::kPause: {
      const char* cycle[] = {"cycle", "pause", nullptr};
      mpv_command(mpv_, cycle);
      break;
    }
    case Kind::kGetTimePos:
      Emit(TimePositionReply(TimePosition()));
      break;
    case Kind::kGetTimeLength:
      Emit(LengthAnswer(DoubleProperty(mpv_, "duration", 0.0)));
      break;
    case Kind::kGetDroppedFrames:
      // Both kinds: the decoder skips frames it cannot decode in time, the video output drops the
      // ones it could not show in time; either is a frame the viewer did not see.
      Emit(DroppedFramesReply(IntProperty(mpv_, "frame-drop-count") +
                              IntProperty(mpv_, "decoder-frame-drop-count")));
      break;
    case Kind::kSeek: {
      const std::string target = std::to_string(command.value);
      const char* mode = command.type == 2   ? "absolute"
                         : command.type == 1 ? "absolute-percent"
                                             : "relative";
      const char* seek[] = {"seek", target.c_str(), mode, nullptr};
      StartSeek(seek);
      break;
    }
    case Kind::kFrameStep:
    case Kind::kFrameBackStep:
      StepFrame(command.kind == Kind::kFrameStep);
      break;
    case Kind::kSpeedSet: {
      double speed = std::clamp(command.value, kMinSpeed, kMaxSpeed);
      mpv_set_property(mpv_, "speed", MPV_FORMAT_DOUBLE, &speed);
      break;
    }
    case Kind::kVolume: {
      double volume = command.value;
      if (command.type == 0) volume += DoubleProperty(mpv_, "volume", 100.0);
      volume = std::clamp(volume, 0.0, 100.0);
      mpv_set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &volume);
      break;
    }
    case Kind::kMute:
      if (command.hasValue) {
        SetFlag(mpv_, "mute", command.value != 0.0);
      } else {
        const char* cycle[] = {"cycle", "mute", nullptr};
        mpv_command(mpv_, cycle);
      }
      break;
    case Kind::kScreenshot:
      TakeScreenshot();
      break;
    case Kind::kQuit:
      Finish("Quit", static_cast<int>(command.value));
      break;
    case Kind::kSubLogStatic:
      Emit(SubtitleLogReply(StringProperty(mpv_, "sub-text")));
      // The position moves on the controller's side only through these unasked answers.
      Emit(TimePositionReply(TimePosition()));
      break;
    case Kind::kGetProperty:
      AnswerProperty(command.name);
      break;
    case Kind::kUnknown:
      break;
  }
}

void MpvSlavePlayer::StartSeek(const char** command) {
  // Until libmpv reports the seek done (MPV_EVENT_PLAYBACK_RESTART), later commands wait.
  if (mpv_command(mpv_, command) >= 0) {
    seeking_ = true;
    seekDeadline_ = std::chrono::steady_clock::now() + kSeekWait;
  }
}

void MpvSlavePlayer::StepFrame(bool forward) {
  SetFlag(mpv_, "pause", true);
  if (!forward) {
    const char* back[] = {"frame-back-step", nullptr};
    StartSeek(back);
    return;
  }
  // libmpv's own "frame-step" lets the clock run until the next frame is shown and reports the
  // new time only some moments later; an exact seek half a frame ahead lands on the next frame
  // (the first whose time is at or after the target) and reports when it is shown.
  double fps = DoubleProperty(mpv_, "container-fps", kAssumedFps);
  if (fps <= 0.0) fps = kAssumedFps;
  const std::string target = std::to_string(TimePosition() + 0.5 / fps);
  const char* seek[] = {"seek", target.c_str(), "absolute+exact", nullptr};
  StartSeek(seek);
}

void MpvSlavePlayer::AnswerProperty(const std::string& name) {
  auto flag = [this](const char* property) {
    int value = 0;
    mpv_get_property(mpv_, property, MPV_FORMAT_FLAG, &value);
    return value != 0;
  };
  if (name == "volume") {
    Emit(PropertyAnswer(name, DoubleProperty(mpv_, "volume", 0.0)));
  } else if (name == "mute") {
    Emit(PropertyAnswer(name, flag("mute")));
  } else if (name == "pause") {
    Emit(PropertyAnswer(name, flag("pause")));
  } else if (name == "time_pos") {
    Emit(PropertyAnswer(name, TimePosition()));
  } else if (name == "length") {
    Emit(PropertyAnswer(name, DoubleProperty(mpv_, "duration", 0.0)));
  } else if (name == "speed") {
    Emit(PropertyAnswer(name, DoubleProperty(mpv_, "speed", 1.0)));
  } else {
    Emit(UnknownPropertyAnswer(name));
  }
}

void MpvSlavePlayer::TakeScreenshot() {
  const std::string name = NextScreenshotName(
      screenshotCounter_, [](const std::string& file) { return std::filesystem::exists(file); });
  if (name.empty()) {
    std::fprintf(stderr, "No free screenshot name left\n");
    return;
  }
  // Asynchronous, so that encoding a large picture does not hold up the replies; the line is
  // printed once the file is written (MPV_EVENT_COMMAND_REPLY).
  const char* shot[] = {"screenshot-to-file", name.c_str(), "video", nullptr};
  mpv_command_async(mpv_, static_cast<std::uint64_t>(screenshotCounter_), shot);
}

double MpvSlavePlayer::TimePosition() {
  return DoubleProperty(mpv_, "time-pos", 0.0);
}

void MpvSlavePlayer::HandleEvent(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_LOG_MESSAGE: {
      const auto* message = static_cast<const mpv_event_log_message*>(event.data);
      std::fprintf(stderr, "[%s] %s", message->prefix, message->text);
      std::fflush(stderr);
      break;
    }
    case MPV_EVENT_FILE_LOADED:
      OnFileLoaded();
      break;
    case MPV_EVENT_VIDEO_RECONFIG:
      OnVideoReconfig();
      break;
    case MPV_EVENT_PLAYBACK_RESTART:
      if (!started_) {
        OnPlaybackStarted();
      } else if (seeking_) {
        seeking_ = false;
        RunPending();
      }
      break;
    case MPV_EVENT_COMMAND_REPLY: {
      if (event.reply_userdata == 0) break;
      char name[24];
      std::snprintf(name, sizeof name, "shot%04d.png", static_cast<int>(event.reply_userdata));
      if (event.error >= 0) {
        Emit(ScreenshotReply(name));
      } else {
        std::fprintf(stderr, "Screenshot %s failed: %s\n", name, mpv_error_string(event.error));
      }
      break;
    }
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      if (end->reason == MPV_END_FILE_REASON_ERROR) {
        if (!loaded_) Emit("Failed to open " + options_.file + ".");
        Finish("End of file", 1);
      } else if (end->reason == MPV_END_FILE_REASON_EOF) {
        Finish("End of file", 0);
      }
      break;
    }
    case MPV_EVENT_SHUTDOWN:
      Finish("Quit", exitCode_);
      break;
    default:
      break;
  }
}

void MpvSlavePlayer::OnFileLoaded() {
  loaded_ = true;
  const std::int64_t width = IntProperty(mpv_, "width");
  const std::int64_t height = IntProperty(mpv_, "height");
  Identify("ID_FILENAME=" + options_.file);
  if (width > 0 && height > 0) {
    Identify("ID_VIDEO_WIDTH=" + std::to_string(width));
    Identify("ID_VIDEO_HEIGHT=" + std::to_string(height));
    // As MPlayer does for a stream without an aspect of its own: 0 now, the real value once the
    // first frame is decoded.
    Identify(AspectIdentification(0.0));
  }
  Identify(LengthIdentification(DoubleProperty(mpv_, "duration", 0.0)));
  int seekable = 0;
  mpv_get_property(mpv_, "seekable", MPV_FORMAT_FLAG, &seekable);
  Identify(std::string("ID_SEEKABLE=") + (seekable ? "1" : "0"));
}

void MpvSlavePlayer::OnVideoReconfig() {
  const double aspect = DoubleProperty(mpv_, "video-params/aspect", 0.0);
  if (aspect <= 0.0 || std::fabs(aspect - lastAspect_) < 1e-4) return;
  lastAspect_ = aspect;
  if (started_) {
    Identify(AspectIdentification(aspect));
  } else {
    aspectPending_ = true;
  }
}

void MpvSlavePlayer::OnPlaybackStarted() {
  started_ = true;
  Emit("Starting playback...");
  if (aspectPending_) Identify(AspectIdentification(lastAspect_));
  aspectPending_ = false;
  RunPending();
}

void MpvSlavePlayer::RunPending() {
  // A seek among them holds back the ones after it again.
  while (running_ && TakesCommands() && !pending_.empty()) {
    const SlaveCommand command = pending_.front();
    pending_.pop_front();
    Execute(command);
  }
}

void MpvSlavePlayer::Finish(const char* how, int exitCode) {
  if (!running_) return;
  running_ = false;
  exitCode_ = exitCode;
  Emit(std::string("Exiting... (") + how + ")");
  Identify(std::string("ID_EXIT=") + (std::string(how) == "Quit" ? "QUIT" : "EOF"));
}

void MpvSlavePlayer::Emit(const std::string& line) {
  if (std::fputs(line.c_str(), replies_) < 0 || std::fputc('\n', replies_) < 0 ||
      std::fflush(replies_) != 0) {
    running_ = false;  // nobody reads any more: end instead of playing on unseen
  }
}

}  // namespace korvane::player
