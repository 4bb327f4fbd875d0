// The player's keys: which key presses the main window keeps for itself, wherever the focus is
// inside it, and what each asks of the playback controller. The table is the whole rule; the main
// window applies it before any control or hosted widget sees the key.
#pragma once
#include "platform/window_message.h"

namespace korvane {

enum class KeyAction {
  kNone,           // not the player's: the key goes on to where the focus is
  kFullScreenOn,   // Enter
  kFullScreenOff,  // Escape
  kSnapshot,       // F8
  kPlayPause,      // Space
  kSeek,           // Left/Right: `amount` seconds, 30 with Shift
  kVolume,         // Up/Down: `amount` volume steps of the 0..100 scale
  kMute,           // M: mute or unmute
  kFrameStep,      // "," / ".": `amount` -1 one frame back, 1 one frame forward
  kSpeedStep,      // "[" / "]": `amount` -1 one rung slower, 1 one rung faster
  kEvent,          // P / N: `amount` -1 the previous, 1 the next driving event
  kMarkStart,      // I: the stretch to save starts at the playing moment
  kMarkEnd,        // O: the stretch to save ends at the playing moment
  kSaveMoment,     // S: save the stretch around the playing moment (kMomentSeconds each way)
  kCancelSave,     // C: stop the running save, leaving no file
  kSwapPicture,    // V: the next channel of the moment becomes the main picture
  kSmallPictures,  // H: hide or show the small pictures of the moment's other channels
};

struct PlayerKey {
  KeyAction action = KeyAction::kNone;
  int amount = 0;
  friend bool operator==(const PlayerKey&, const PlayerKey&) = default;
};

// Seconds of a seek key, without and with Shift, and the volume step of Up and Down.
constexpr int kSeekKeySeconds = 5;
constexpr int kSeekKeyShiftSeconds = 30;
constexpr int kVolumeKeyStep = 5;
// How far "this moment" reaches before and after the playing moment.
constexpr int kMomentSeconds = 15;

// The action of a key press: `key` a virtual key, `flags` the lParam of WM_KEYDOWN (modifiers and
// KEY_TEXTFIELD). kNone for keys not in the table, for any key with Control or Alt held (those
// combinations are left to the controls and the system), and for every key headed for a text
// field, which keeps all its keys.
PlayerKey PlayerKeyOf(WPARAM key, LPARAM flags);

}  // namespace korvane
