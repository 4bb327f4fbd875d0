// Window messages between threads: the stand-in for HWND, PostMessage and SendMessage.
// Core code posts and sends through these functions without knowing Qt; the UI framework installs
// the real dispatcher, tests install a recording one (platform/recording_dispatcher.h).
#pragma once
#include <cstdint>

namespace korvane {

// A window's identity; 0 is "no window".
using WindowHandle = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_PLAYER_NOTIFY = WM_USER + 1;  // 1025, posted by the player controller
constexpr std::uint32_t WM_EXTRACTOR_NOTIFY =
    WM_USER + 2;                                          // 1026, posted by the extraction pipeline
constexpr std::uint32_t WM_TELEMETRY_LIVE = WM_USER + 3;  // 1027, sent by the live telemetry worker
constexpr std::uint32_t WM_INDEX_PROGRESS = WM_USER + 4;  // 1028, posted by the background indexer
constexpr std::uint32_t WM_PLAYLIST_DELETE = WM_USER + 100;  // 1124, the playlist's delete button

class IWindowMessageDispatcher {
 public:
  virtual ~IWindowMessageDispatcher() = default;
  // Queues the message for the window's thread; false when the window is unknown or gone.
  virtual bool Post(WindowHandle window, std::uint32_t message, WPARAM wParam, LPARAM lParam) = 0;
  // Delivers the message and waits until the window's thread has handled it. Called on that thread
  // it runs directly. Returns 0 at once when the window is unknown, being destroyed, or its loop
  // has ended, so a worker blocked here can never deadlock shutdown.
  virtual LRESULT Send(WindowHandle window, std::uint32_t message, WPARAM wParam,
                       LPARAM lParam) = 0;
};

// Installs the process-wide dispatcher (nullptr removes it). Not thread-safe against concurrent
// posts: install before any worker starts and remove after they have ended.
void SetWindowMessageDispatcher(IWindowMessageDispatcher* dispatcher);
IWindowMessageDispatcher* GetWindowMessageDispatcher();

// Thread-safe. False (or 0) when no dispatcher is installed or the window is 0.
bool PostWindowMessage(WindowHandle window, std::uint32_t message, WPARAM wParam, LPARAM lParam);
LRESULT SendWindowMessage(WindowHandle window, std::uint32_t message, WPARAM wParam, LPARAM lParam);

}  // namespace korvane
