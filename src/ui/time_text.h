// The play-time texts of the main window: a whole number of seconds as "hh:mm:ss".
#pragma once
#include <string>

namespace korvane {

// "%02d:%02d:%02d" of hours, minutes and seconds (hours may exceed 99). A negative count is shown
// as 0.
std::string FormatClock(int seconds);

// Whether a change of the playing item at `now` is allowed after the last one at `lastSwitch`
// (0 = none yet): more than `guardMs` milliseconds must have passed. The difference is unsigned,
// so it stays right across the wrap of the 32-bit tick.
bool SwitchAllowed(unsigned lastSwitch, unsigned now, unsigned guardMs);

}  // namespace korvane
