#include "ui/player_keys.h"

#include "framework/window_wnd.h"

namespace korvane {

PlayerKey PlayerKeyOf(WPARAM key, LPARAM flags) {
  using namespace DuiLib;
  const auto modifiers = static_cast<WPARAM>(flags);
  if ((flags & KEY_TEXTFIELD) != 0 || (modifiers & (MK_CONTROL | MK_ALT)) != 0) return {};
  const int seek = (modifiers & MK_SHIFT) != 0 ? kSeekKeyShiftSeconds : kSeekKeySeconds;
  switch (key) {
    case VK_RETURN:
      return {KeyAction::kFullScreenOn};
    case VK_ESCAPE:
      return {KeyAction::kFullScreenOff};
    case VK_F8:
      return {KeyAction::kSnapshot};
    case VK_SPACE:
      return {KeyAction::kPlayPause};
    case VK_LEFT:
      return {KeyAction::kSeek, -seek};
    case VK_RIGHT:
      return {KeyAction::kSeek, seek};
    case VK_UP:
      return {KeyAction::kVolume, kVolumeKeyStep};
    case VK_DOWN:
      return {KeyAction::kVolume, -kVolumeKeyStep};
    case 'M':
      return {KeyAction::kMute};
    case VK_OEM_COMMA:
      return {KeyAction::kFrameStep, -1};
    case VK_OEM_PERIOD:
      return {KeyAction::kFrameStep, 1};
    case VK_OEM_4:
      return {KeyAction::kSpeedStep, -1};
    case VK_OEM_6:
      return {KeyAction::kSpeedStep, 1};
    case 'P':
      return {KeyAction::kEvent, -1};
    case 'N':
      return {KeyAction::kEvent, 1};
    case 'I':
      return {KeyAction::kMarkStart};
    case 'O':
      return {KeyAction::kMarkEnd};
    case 'S':
      return {KeyAction::kSaveMoment};
    case 'C':
      return {KeyAction::kCancelSave};
    case 'V':
      return {KeyAction::kSwapPicture};
    case 'H':
      return {KeyAction::kSmallPictures};
    default:
      return {};
  }
}

}  // namespace korvane
