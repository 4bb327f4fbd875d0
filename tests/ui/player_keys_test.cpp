// The player's key table: each key with and without modifiers, and what is never the player's.
#include "ui/player_keys.h"

#include <gtest/gtest.h>

#include "framework/window_wnd.h"

namespace korvane {
namespace {

using namespace DuiLib;

struct KeyCase {
  const char* name;
  WPARAM key;
  LPARAM flags;
  PlayerKey expected;
};

class PlayerKeyTable : public testing::TestWithParam<KeyCase> {};

TEST_P(PlayerKeyTable, NamesTheAction) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(PlayerKeyOf(c.key, c.flags), c.expected);
}

constexpr LPARAM kShift = static_cast<LPARAM>(MK_SHIFT);

INSTANTIATE_TEST_SUITE_P(
    Keys, PlayerKeyTable,
    testing::Values(
        KeyCase{"Enter", VK_RETURN, 0, {KeyAction::kFullScreenOn}},
        KeyCase{"F8", VK_F8, 0, {KeyAction::kSnapshot}},
        KeyCase{"Space", VK_SPACE, 0, {KeyAction::kPlayPause}},
        KeyCase{"Left", VK_LEFT, 0, {KeyAction::kSeek, -5}},
        KeyCase{"ShiftRight", VK_RIGHT, kShift, {KeyAction::kSeek, 30}},
        KeyCase{"Up", VK_UP, 0, {KeyAction::kVolume, 5}},
        KeyCase{"ShiftDown", VK_DOWN, kShift, {KeyAction::kVolume, -5}},
        KeyCase{"M", 'M', 0, {KeyAction::kMute}}, KeyCase{"N", 'N', 0, {KeyAction::kEvent, 1}},
        KeyCase{"ShiftP", 'P', kShift, {KeyAction::kEvent, -1}},
        KeyCase{"I", 'I', 0, {KeyAction::kMarkStart}}, KeyCase{"O", 'O', 0, {KeyAction::kMarkEnd}},
        KeyCase{"S", 'S', 0, {KeyAction::kSaveMoment}},
        KeyCase{"C", 'C', 0, {KeyAction::kCancelSave}},
        KeyCase{"V", 'V', 0, {KeyAction::kSwapPicture}},
        KeyCase{"ShiftH", 'H', kShift, {KeyAction::kSmallPictures}},
        KeyCase{"ControlLeftIsNotThePlayers", VK_LEFT, static_cast<LPARAM>(MK_CONTROL), {}},
        KeyCase{"AltSpaceIsNotThePlayers", VK_SPACE, static_cast<LPARAM>(MK_ALT), {}},
        KeyCase{"SpaceInATextFieldIsTheFields", VK_SPACE, KEY_TEXTFIELD, {}},
        KeyCase{"PageDownIsNotThePlayers", VK_NEXT, 0, {}},
        KeyCase{"LetterIsNotThePlayers", 'A', 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
