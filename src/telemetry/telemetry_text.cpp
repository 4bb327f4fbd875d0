#include "telemetry/telemetry_text.h"

#include <cmath>
#include <cstdio>

namespace korvane {

std::string FormatDegrees(char hemisphere, int degrees, int minutes, double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, " %c %d\xC2\xB0%d'%.2f\"", hemisphere != 0 ? hemisphere : '?',
                degrees, minutes, seconds);
  return text;
}

double SpeedIn(double kmh, SpeedUnit unit) {
  constexpr double kKmPerMile = 1.609344;
  return unit == SpeedUnit::Mph ? kmh / kKmPerMile : kmh;
}

const char* SpeedUnitSymbol(SpeedUnit unit) {
  return unit == SpeedUnit::Mph ? "mph" : "km/h";
}

std::string FormatSpeed(double kmh, SpeedUnit unit) {
  if (!std::isfinite(kmh)) return std::string(" -- ") + SpeedUnitSymbol(unit);
  char text[48];
  std::snprintf(text, sizeof text, " %.1f %s", SpeedIn(kmh, unit), SpeedUnitSymbol(unit));
  return text;
}

std::string FormatDateTime(int year, int month, int day, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return text;
}

}  // namespace korvane
