// What the map benchmarks share: pumping the event loop until a condition holds, running a script
// in the page for its value, and waiting for the frame that shows what the page drew.
#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <string>

#include "framework/web_browser_ui.h"

namespace korvane::bench {

// Sleeps between events: a loop that polls would take a core from the page it waits for.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  QElapsedTimer timer;
  timer.start();
  QTimer wake;  // so that the time-out is looked at without events
  wake.start(20);
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

inline std::string Evaluate(DuiLib::CWebBrowserUI& browser, const std::string& script) {
  bool done = false;
  std::string json;
  browser.RunScript(script, [&](const std::string& value) {
    json = value;
    done = true;
  });
  PumpUntil([&] { return done; });
  return json;
}

// Draws what is pending and waits until the page has produced a frame with it (two animation
// frames, so the one with the new drawing has been presented); returns `countScript`'s value.
inline std::string DrawAndWaitForFrame(DuiLib::CWebBrowserUI& browser,
                                       const std::string& countScript) {
  const std::string count = Evaluate(browser,
                                     "korvaneDrawNow();window.korvaneFrame=0;"
                                     "requestAnimationFrame(function(){"
                                     "requestAnimationFrame(function(){window.korvaneFrame=1})});" +
                                         countScript);
  PumpUntil([&] { return Evaluate(browser, "window.korvaneFrame") == "1"; });
  return count;
}

}  // namespace korvane::bench
