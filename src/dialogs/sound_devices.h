// Sound cards for the settings window: the player program's audio device list, read and parsed,
// the SoundDevice record and the rule that turns a device description into a combo text.
#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// One listed sound card. `number` is its position in the list, which is the index the player
// takes after "device=".
struct SoundDevice {
  int number = 0;
  std::string name;  // " " + the description as listed
};

// Gives the device descriptions in list order; an empty list when there are none.
using SoundDeviceSource = std::function<std::vector<std::string>()>;

// " " + `description` without leading and trailing spaces and with each inner run of spaces
// reduced to one; a description of spaces only (or empty) gives " ".
std::string SoundCardText(std::string_view description);

// The descriptions from the player's "-list-audio-devices" output: lines "index<TAB>name<TAB>
// description". Lines of another shape are skipped; a line without a description gives its name.
std::vector<std::string> ParseAudioDeviceList(std::string_view output);

// Runs `playerProgram -list-audio-devices` and parses its output. An empty list when the program
// is missing, fails, has not finished within `timeoutMs`, or `cancel` (if given) becomes true
// meanwhile (it is then killed).
std::vector<std::string> ListPlayerAudioDevices(const std::string& playerProgram,
                                                int timeoutMs = 5000,
                                                const std::atomic<bool>* cancel = nullptr);

// The player program inside the program folder.
std::string PlayerProgramPath(const std::string& programFolder);

}  // namespace korvane
