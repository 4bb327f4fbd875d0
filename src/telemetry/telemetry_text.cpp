#include "telemetry/telemetry_text.h"

#include <cstdio>

namespace korvane {

std::string FormatDegrees(char hemisphere, int degrees, int minutes, double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, " %c %d\xC2\xB0%d'%.2f\"", hemisphere != 0 ? hemisphere : '?',
                degrees, minutes, seconds);
  return text;
}

std::string FormatSpeed(double kmh) {
  char text[48];
  std::snprintf(text, sizeof text, " %.1f km/h", kmh);
  return text;
}

std::string FormatDateTime(int year, int month, int day, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return text;
}

}  // namespace korvane
