// The window-message dispatcher of the framework: delivers korvane::PostWindowMessage and
// SendWindowMessage to the CWindowWnd with that handle on the UI thread. Installed automatically
// when the first window is created (unless another dispatcher, e.g. a test's, is installed).
#pragma once
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/window_message.h"

class QObject;

namespace DuiLib {

class CWindowWnd;

class CWindowMessageDispatcher : public korvane::IWindowMessageDispatcher {
 public:
  static CWindowMessageDispatcher& Instance();
  // Installs Instance() as the process-wide dispatcher when none is installed.
  static void EnsureInstalled();

  // Any thread. False when the window is unknown, closing or the loop has ended.
  bool Post(korvane::WindowHandle window, std::uint32_t message, korvane::WPARAM wParam,
            korvane::LPARAM lParam) override;
  // Any thread; blocks until handled. 0 at once for unknown or closing windows and after the
  // application's loop ended; a window destroyed while the sender waits releases it with 0.
  korvane::LRESULT Send(korvane::WindowHandle window, std::uint32_t message, korvane::WPARAM wParam,
                        korvane::LPARAM lParam) override;

  // UI thread: a new window gets its handle; the target receives the queued events.
  korvane::WindowHandle Register(CWindowWnd* window, QObject* target);
  // UI thread: the window stops receiving; waiting senders are released with 0.
  void Unregister(korvane::WindowHandle window);
  CWindowWnd* Find(korvane::WindowHandle window);
  // Everything after this returns 0/false at once (the application is quitting).
  void Shutdown();

  struct PendingSend;

 private:
  struct Entry {
    CWindowWnd* window = nullptr;
    QObject* target = nullptr;
    std::vector<std::shared_ptr<PendingSend>> pending;
  };
  std::mutex mutex_;
  std::map<korvane::WindowHandle, Entry> windows_;
  korvane::WindowHandle next_ = 0x10;
  bool shutdown_ = false;
};

}  // namespace DuiLib
