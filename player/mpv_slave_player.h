// The slave-mode player itself: one libmpv instance playing one file, driven by MPlayer slave
// commands on standard input and answering on standard output. Owns the libmpv handle.
#pragma once
#include <chrono>
#include <cstdio>
#include <deque>
#include <string>

#include "slave_options.h"
#include "slave_protocol.h"

struct mpv_handle;
struct mpv_event;

namespace korvane::player {

class MpvSlavePlayer {
 public:
  // Reads commands from `commandFd` and writes replies to `replies`: descriptors of its own rather
  // than 0 and 1, which libraries inside libmpv have been seen to close or write to.
  MpvSlavePlayer(PlayerOptions options, int commandFd, std::FILE* replies);
  ~MpvSlavePlayer();
  MpvSlavePlayer(const MpvSlavePlayer&) = delete;
  MpvSlavePlayer& operator=(const MpvSlavePlayer&) = delete;

  // Plays the file until it ends, "quit" arrives or standard input closes. Returns the process
  // exit code: 0 after a normal end, the quit code, 1 when libmpv or the file cannot be opened.
  int Run();

  // Prints the audio devices, one a line: index, tab, name, tab, description. Returns 0, or 1 when
  // libmpv cannot start.
  static int ListAudioDevices();

 private:
  bool Configure();
  void HandleEvent(const mpv_event& event);
  void HandleInput();
  bool SubtitlePollPending() const;
  // An absolute seek meeting one that waits replaces its target; true when it did.
  bool MergeSeek(const SlaveCommand& command);
  // Commands run at once only once playback has started and no seek is under way.
  bool TakesCommands() const { return started_ && !seeking_; }
  void RunPending();
  void Execute(const SlaveCommand& command);
  // Runs a libmpv command that seeks; later commands wait until the new moment is shown.
  void StartSeek(const char** command);
  // One frame forward or back, paused afterwards; carried out as a seek, so that a question about
  // the time right after the step is answered about the new frame.
  void StepFrame(bool forward);
  void OnFileLoaded();
  void OnPlaybackStarted();
  void OnVideoReconfig();
  void TakeScreenshot();
  void AnswerProperty(const std::string& name);
  void Finish(const char* how, int exitCode);
  double TimePosition();
  // Writes one reply line and flushes; a failed write means the controller is gone.
  void Emit(const std::string& line);
  void Identify(const std::string& line) {
    if (options_.identify) Emit(line);
  }

  PlayerOptions options_;
  int commandFd_;
  std::FILE* replies_;
  mpv_handle* mpv_ = nullptr;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  bool running_ = true;
  int exitCode_ = 0;
  bool loaded_ = false;
  bool started_ = false;
  bool stdinOpen_ = true;
  double lastAspect_ = 0.0;
  bool aspectPending_ = false;
  int screenshotCounter_ = 0;
  std::string inputCarry_;
  // Commands that arrive before playback starts wait, as they do in MPlayer, which reads its
  // input only from the playback loop; an early "sub_log_static" would otherwise report "no
  // subtitle" for a file that has one. So do commands that arrive while a seek is under way, as
  // in MPlayer, which carries out a seek before it reads on: a question about the moment is
  // answered about the moment sought, not the one before.
  std::deque<SlaveCommand> pending_;
  bool seeking_ = false;
  // A seek that libmpv never reports done (a stream that cannot seek) holds the commands back
  // this long at most.
  std::chrono::steady_clock::time_point seekDeadline_;
};

}  // namespace korvane::player
