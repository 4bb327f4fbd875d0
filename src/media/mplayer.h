// CMplayer: the controller of the slave-mode player process. Owns the child process, its pipes
// and the reply reader thread; holds the configuration, runs the state machine, writes the slave
// commands and turns the replies into WM_PLAYER_NOTIFY notifications and subtitle hand-overs.
// One instance lives for the whole run and is reused for every file.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "media/player_state.h"
#include "media/reply_handler.h"
#include "platform/process.h"
#include "platform/window_message.h"

namespace korvane {

class CMplayer {
 public:
  // Receives each non-empty subtitle text with the process id of the player that showed it; runs
  // on the reader thread and must not block.
  using LineCallback = std::function<void(const std::string& text, std::uint32_t processId)>;

  CMplayer() = default;
  virtual ~CMplayer();
  CMplayer(const CMplayer&) = delete;
  CMplayer& operator=(const CMplayer&) = delete;

  // Configuration: written before Play (at start-up and by the caller that opens a file).
  std::string playerPath;
  std::string snapshotFolder;  // the player's working folder; screenshots land there
  std::string extraArguments;
  std::string mediaPath;
  std::string videoOutput = "directx:noaccel";
  std::string audioOutput = "dsound";
  int soundDevice = 0;
  WindowHandle notifyWindow = 0;
  WindowHandle videoWindow = 0;
  std::uint32_t notifyMessage = WM_USER + 64;
  // The notifications posted to notifyWindow (NotificationBit flags): a player whose state is
  // read by its owner instead tells the window only what the window must answer.
  unsigned notifyCodes = kEveryNotification;
  LineCallback lineCallback;
  // False for a clip whose telemetry is not its subtitle track: the poll and the questions after
  // a move ask only for the time, since every subtitle answer would be "none" (kPlayerNoSubtitle)
  // and reset what that clip's track shows.
  std::atomic<bool> pollSubtitles{true};

  // Stops a running player, then starts one on mediaPath with its reader thread. Returns 0, the
  // errno of a failed process start (state Idle, nothing posted), or 1 when the reader thread
  // could not be started.
  int Play();
  // Ends the player: "quit", the short waits, then kill. Returns 0; sends nothing in Idle.
  int Stop();

  // Writes one command line. Returns 1 without writing in Idle or Stopping, without a process,
  // or for a text too long for one command; 1 after a failed write, which with `reportFailure`
  // also closes the process and posts 16.
  int SendCommand(std::string_view command, bool reportFailure);
  // Playing → Paused ("get_time_pos", "pause"); Paused → Playing ("pause", then the volume or
  // "mute 1"). Nothing in other states. Returns 0.
  int TogglePause();
  // Clamps to 0..100 and stores; sends it only while Playing and not muted. Returns 0.
  int SetVolume(int value);
  // Sends "mute 0|1" while Playing (and restores the volume on unmute); else only stores. Returns
  // 0.
  int SetMute(bool mute);
  // Seeks to `seconds`, clamped to 0 … length (not above when the length is unknown), while
  // Playing or Paused, leaving the pause as it is; then asks at once for the time and the subtitle
  // of the new moment, and drops the answers still on their way from before the seek. Returns 0
  // when sent; 1 (nothing changes) in other states or for a target that is not a finite number.
  int Seek(double seconds);
  // While Paused: one frame forward or back, the player left paused; then, as Seek does, asks for
  // the time and the subtitle of the new moment. Returns 0 when sent; 1 (nothing sent) otherwise.
  int StepFrame(bool forward);
  // Stores the playback speed, which the next player is started with ("-speed"), and sends it,
  // with a question for the speed the player then plays at, to a player that starts, plays or is
  // paused. A speed that is not a positive finite number changes nothing. Returns 0.
  int SetSpeed(double speed);
  double speed() const { return speed_.load(); }
  // snapshotFolder followed by the name of the last screenshot the player reported.
  std::string GetScreenshotPath() const;

  PlayerState state() const { return state_.load(); }
  std::uint32_t processId() const { return processId_.load(); }
  int volume() const { return volume_.load(); }
  bool muted() const { return muted_.load(); }
  // A copy of the values the replies set, taken under the lock.
  ReplyFields replyFields() const;
  double length() const { return replyFields().length; }
  int position() const { return replyFields().position; }
  double timePosition() const { return replyFields().timePosition; }

 protected:
  // The body of the reader thread (one per player process).
  void ReaderLoop();
  // One reply line, on the reader thread; returns what it did.
  ReplyOutcome HandleReplyLine(std::string_view line);
  int StartProcess();
  void CloseProcess();

 private:
  void CloseProcessLocked();
  // Closes the process after a failed pipe and posts 16, once, unless a stop is under way.
  void FailPipe();
  void Notify(int code) const;
  // Sends a command that moves to another moment, then the questions about the new moment; the
  // answers still on their way from before it are dropped. 0 when the command was written.
  int SendMove(std::string_view command);
  void ResetReplyFields();
  // Waits for a finished reader thread and releases what is left of the last process.
  void ReleaseFinished();
  bool OnReaderThread() const { return std::this_thread::get_id() == readerThread_.get_id(); }
  // Moves `from` to `to` only when the state is still `from`.
  bool ChangeState(PlayerState from, PlayerState to) {
    return state_.compare_exchange_strong(from, to);
  }

  std::atomic<PlayerState> state_{PlayerState::Idle};
  std::atomic<bool> readerRunning_{false};
  std::atomic<std::uint32_t> processId_{0};
  std::atomic<int> volume_{50};
  std::atomic<bool> muted_{false};
  std::atomic<double> speed_{1.0};

  mutable std::mutex fieldsMutex_;  // guards reply_
  ReplyFields reply_;

  // Guards child_ against a write, close or kill from the other thread; the reply pipe is read
  // without it because only the reader thread closes it (or anyone after the reader is joined).
  std::mutex processMutex_;
  ChildProcess child_;
  int replyPipe_ = -1;
  std::thread readerThread_;
};

}  // namespace korvane
