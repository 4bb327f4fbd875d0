// States of the player controller and the notification codes it posts with WM_PLAYER_NOTIFY.
#pragma once

namespace korvane {

// The codes other parts of the program compare against (0..4).
enum class PlayerState : int { Idle = 0, Stopping = 1, Starting = 2, Playing = 3, Paused = 4 };

// wParam of WM_PLAYER_NOTIFY; lParam is always 0. Code 23 is not used.
enum PlayerNotification : int {
  kPlayerPipeFailed = 16,  // process closed, state Idle
  kPlayerStarted = 17,     // state Playing, length known
  kPlayerQuit = 18,        // the player quit on request
  kPlayerEndOfFile = 19,   // the player reached the end of the file
  kPlayerAspect = 20,      // aspect known
  kPlayerPosition = 21,    // a time position arrived
  kPlayerScreenshot = 22,  // a screenshot was saved (GetScreenshotPath)
  kPlayerNoSubtitle = 24,  // no subtitle at the current time
};

// The flag of one notification in CMplayer::notifyCodes.
constexpr unsigned NotificationBit(PlayerNotification code) {
  return 1u << (code - kPlayerPipeFailed);
}
constexpr unsigned kEveryNotification = ~0u;

}  // namespace korvane
