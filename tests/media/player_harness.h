// A CMplayer wired for tests: notifications recorded by a RecordingDispatcher, subtitle lines
// collected, screenshots in a temporary folder, and small executable scripts as fake players.
#pragma once
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "media/mplayer.h"
#include "platform/recording_dispatcher.h"
#include "platform/tick.h"
#include "support/temp_dir.h"

namespace korvane::test {

using namespace std::chrono_literals;

constexpr WindowHandle kNotifyWindow = 7;

// True once the process is gone and reaped (a zombie still counts as there).
inline bool ProcessGone(std::uint32_t pid) {
  for (int i = 0; i < 100 && kill(static_cast<pid_t>(pid), 0) == 0; ++i) SleepMs(10);
  return kill(static_cast<pid_t>(pid), 0) != 0;
}

class PlayerHarness {
 public:
  PlayerHarness() : scoped_(&dispatcher_) {
    player.snapshotFolder = folder.str();
    player.notifyWindow = kNotifyWindow;
    player.notifyMessage = WM_PLAYER_NOTIFY;
    player.videoOutput = "null";
    player.audioOutput = "null";
    player.extraArguments = "-sid 0 -idx -nokeepaspect";
    player.lineCallback = [this](const std::string& text, std::uint32_t pid) {
      std::lock_guard lock(mutex_);
      lines_.push_back(text);
      linePids_.push_back(pid);
      lineArrived_.notify_all();
    };
  }
  ~PlayerHarness() { player.Stop(); }

  // Waits for the notification `code`; true when it came within `timeout`.
  bool WaitFor(int code, std::chrono::milliseconds timeout = 10s) {
    return dispatcher_.WaitForMessage(WM_PLAYER_NOTIFY, static_cast<WPARAM>(code), timeout)
        .has_value();
  }
  // Waits up to two seconds for the controller to come back to Idle; true when it did.
  bool WaitForIdle() {
    for (int i = 0; i < 200 && player.state() != PlayerState::Idle; ++i) SleepMs(10);
    return player.state() == PlayerState::Idle;
  }
  // Waits until `count` notifications `code` have arrived in all.
  bool WaitForCount(int code, std::size_t count, std::chrono::milliseconds timeout = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Count(code) < count && std::chrono::steady_clock::now() < deadline) SleepMs(5);
    return Count(code) >= count;
  }
  std::size_t Count(int code) const {
    std::size_t n = 0;
    for (const RecordedMessage& m : dispatcher_.MessagesOf(WM_PLAYER_NOTIFY)) {
      n += m.wParam == static_cast<WPARAM>(code) && m.window == kNotifyWindow && m.lParam == 0;
    }
    return n;
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const RecordedMessage& m : dispatcher_.MessagesOf(WM_PLAYER_NOTIFY)) {
      codes.push_back(static_cast<int>(m.wParam));
    }
    return codes;
  }
  std::size_t MessageCount() const { return dispatcher_.Messages().size(); }
  void ClearMessages() { dispatcher_.Clear(); }

  // The first subtitle line that arrives after `after` lines were already there.
  std::string WaitForLine(std::size_t after, std::chrono::milliseconds timeout = 5s) {
    std::unique_lock lock(mutex_);
    lineArrived_.wait_for(lock, timeout, [&] { return lines_.size() > after; });
    return lines_.size() > after ? lines_[after] : std::string();
  }
  std::size_t LineCount() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
  }
  std::vector<std::uint32_t> LinePids() const {
    std::lock_guard lock(mutex_);
    return linePids_;
  }

  // Writes an executable shell script into the test folder and returns its path.
  std::string Script(const std::string& name, const std::string& body) const {
    const std::string path = folder.str() + name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
    return path;
  }

  TempDir folder;
  CMplayer player;

 private:
  RecordingDispatcher dispatcher_;
  ScopedWindowMessageDispatcher scoped_;
  mutable std::mutex mutex_;
  std::condition_variable lineArrived_;
  std::vector<std::string> lines_;
  std::vector<std::uint32_t> linePids_;
};

}  // namespace korvane::test
