// A test-only window onto the running program, off unless KORVANE_TEST_PROBE names a file: the
// main window then writes its state there (labels, player state, time, curve lengths, the event
// marks and the current clip, the marked stretch on the progress bar ("progressMarks") and the
// chart ("chartStretch"), and the map page's state, the video's screen position) every 50 ms,
// so whole-program tests can watch it from outside, and runs the commands a test leaves in
// "<file>.cmd" as the user would give them: "click <control>", "seek <seconds>" (the progress
// slider), "key <virtual key>", "drop <path without spaces>" (as a file dropped on the window),
// "close window", "ask speed" and "ask time" (the player's answers
// show as "playerSpeed" and "timePosition"), "ask dropped" (every player's dropped-frame count,
// "droppedFrames" in channel order); and "maptarget <fraction>", which asks the map page
// where on the screen the route point at that fraction of the route lies ("mapTarget": [x, y, t] in
// the state), the stretch marks ("markStart", "markEnd"), the screen rectangles of their two
// buttons ("markStartButton", "markEndButton") and whether a save runs ("saving"), and
// "linetarget <clip>,<fraction>", the same for the overview line of the clip of
// that number (every route of the folder on).
//
// For the figures of a click on the route it keeps, in wall-clock ms, when the click reached the
// program, when the seek was written to the player, and when the GPS panel and the chart cursor
// first showed the clicked moment (the page keeps when its marker got there).
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

namespace DuiLib {
class CChartModel;
}

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
  // A click on the route asked for moment `ms`; the seek has been written.
  void RouteClicked(std::int32_t ms);
  void SeekSent() { click_.seekSentMs = NowMs(); }
  // The header was given indexing progress; a whole folder can be indexed between two ticks, so
  // the last running text is kept for the file.
  void IndexProgressShown(const std::string& text) {
    if (!text.empty()) indexProgressSeen_ = text;
  }
  // UI thread: every message of the main window passes here; the tick writes the file.
  void OnMessage(std::uint32_t message);

 private:
  static std::int64_t NowMs();
  void Write();
  void RunCommands();
  void RunCommand(const std::string& verb, const std::string& argument);
  // Notes when the panel and the cursor first show the clicked moment.
  void WatchClick();
  std::string ClickJson() const;
  // The chart once the start-up worker, which sets up the chart's binding and model, has
  // finished; null before.
  DuiLib::CChartModel* SetUpChart() const;

  CPlayerFrameWnd& window_;
  std::string path_;
  // Shared with the page's answers, which may come after the probe is gone (the page answers
  // every waiting call when it is destroyed).
  std::shared_ptr<std::string> mapState_ = std::make_shared<std::string>("null");
  std::int64_t shownMs_ = 0;
  std::int64_t startupDoneMs_ = 0;
  std::int64_t pageReadyMs_ = 0;
  std::string indexProgressSeen_;
  struct Click {
    std::int32_t t = -1;   // the moment clicked, ms
    std::string dateTime;  // the camera's date-time there, as the panel shows it
    double cursorX = 0;    // where the chart cursor stands for it
    std::int64_t clickMs = 0, seekSentMs = 0, panelMs = 0, cursorMs = 0;
  } click_;
  std::shared_ptr<std::string> mapTarget_ = std::make_shared<std::string>("null");
  std::atomic<bool> stop_{false};
  std::thread timer_;
};

}  // namespace korvane
