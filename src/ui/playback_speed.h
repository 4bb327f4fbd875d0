// The playback speeds "[" and "]" step through, and how the speed reads beside the play time.
// Pure.
#pragma once
#include <array>
#include <string>

namespace korvane {

// Slowest first; 1 is normal speed.
inline constexpr std::array<double, 7> kSpeedLadder{0.25, 0.5, 1.0, 1.5, 2.0, 4.0, 8.0};

// The speed `rungs` rungs up the ladder from `speed` (down when negative), held at both ends. A
// speed between rungs counts as the rung nearest to it.
double SpeedAfterSteps(double speed, int rungs);

// "1.5×", "0.25×", "2×" (UTF-8), with a point whatever the locale; empty at normal
// speed, where nothing is shown.
std::string SpeedText(double speed);

}  // namespace korvane
