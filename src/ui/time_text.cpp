#include "ui/time_text.h"

#include <cstdio>

#include "platform/tick.h"

namespace korvane {

std::string FormatClock(int seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60,
                seconds % 60);
  return text;
}

bool SwitchAllowed(unsigned lastSwitch, unsigned now, unsigned guardMs) {
  return lastSwitch == 0 || TickElapsed(lastSwitch, now) > guardMs;
}

}  // namespace korvane
