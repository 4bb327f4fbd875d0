// The player's argument vector, built from the controller's configuration in the order the
// player expects. Pure: no I/O.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_message.h"

namespace korvane {

struct PlayerLaunch {
  std::string mediaPath;
  WindowHandle videoWindow = 0;  // 0: no "-wid"
  std::string videoOutput;
  std::string audioOutput;
  int soundDevice = 0;
  int volume = 50;
  bool muted = false;
  double speed = 1.0;
  std::string extraArguments;  // split at spaces
};

// The arguments after the program name: the file; "-wid N" when a window is set; "-vo V -slave
// -quiet -identify -ao A -volume N -muteset 0|1", where A is "dsound:device=N" when the audio
// output is "dsound" in any case and the output itself otherwise; "-speed S" (two decimals) when
// the speed is not 1; then the extra arguments.
// Never fails; empty texts are passed on as they are.
std::vector<std::string> BuildPlayerArguments(const PlayerLaunch& launch);

// The words of `text` between spaces; runs of spaces make no empty words.
std::vector<std::string> SplitAtSpaces(std::string_view text);

// True when `text` is "dsound" in any mix of upper and lower case.
bool IsDirectSoundOutput(std::string_view text);

}  // namespace korvane
