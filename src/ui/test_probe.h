// A test-only window onto the running program, off unless KORVANE_TEST_PROBE names a file: the
// main window then writes its state there (labels, player state, time, curve lengths and the map
// page's state) every 50 ms, so whole-program tests can watch it from outside, and runs the
// commands a test leaves in "<file>.cmd" as the user would give them: "click <control>",
// "seek <seconds>" (the progress slider), "key <virtual key>", "close window".
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace korvane {

class CPlayerFrameWnd;

// The message the probe's timer thread posts to the main window.
constexpr std::uint32_t kMsgProbeTick = 0x0400 + 12;
inline constexpr char kProbeVariable[] = "KORVANE_TEST_PROBE";

class CTestProbe {
 public:
  // Null unless the variable names a file.
  static std::unique_ptr<CTestProbe> FromEnvironment(CPlayerFrameWnd& window);
  CTestProbe(CPlayerFrameWnd& window, std::string path);
  ~CTestProbe();
  CTestProbe(const CTestProbe&) = delete;
  CTestProbe& operator=(const CTestProbe&) = delete;

  void StartupDone() { startupDoneMs_ = NowMs(); }
  // UI thread: every message of the main window passes here; the tick writes the file.
  void OnMessage(std::uint32_t message);

 private:
  static std::int64_t NowMs();
  void Write();
  void RunCommands();
  void RunCommand(const std::string& verb, const std::string& argument);

  CPlayerFrameWnd& window_;
  std::string path_;
  std::string mapState_ = "null";
  std::int64_t shownMs_ = 0;
  std::int64_t startupDoneMs_ = 0;
  std::int64_t pageReadyMs_ = 0;
  std::atomic<bool> stop_{false};
  std::thread timer_;
};

}  // namespace korvane
