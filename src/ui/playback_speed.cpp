#include "ui/playback_speed.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvane {

double SpeedAfterSteps(double speed, int rungs) {
  int nearest = 0;
  for (int i = 1; i < static_cast<int>(kSpeedLadder.size()); ++i) {
    if (std::fabs(kSpeedLadder[i] - speed) < std::fabs(kSpeedLadder[nearest] - speed)) nearest = i;
  }
  const int last = static_cast<int>(kSpeedLadder.size()) - 1;
  return kSpeedLadder[std::clamp(nearest + std::clamp(rungs, -last, last), 0, last)];
}

std::string SpeedText(double speed) {
  if (speed == 1.0) return {};
  char number[32];
  const auto written = std::to_chars(number, number + sizeof number, speed);
  if (written.ec != std::errc()) return {};
  return std::string(number, written.ptr) + "\u00d7";
}

}  // namespace korvane
