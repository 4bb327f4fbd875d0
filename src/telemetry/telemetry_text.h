// How a telemetry record reads as text: the values the GPS panel shows after its captions, also
// stamped into snapshots. Pure formatting.
#pragma once
#include <string>

#include "settings/settings.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

// " E 113°56'7.50\"": hemisphere, degrees, minutes and seconds with two decimals. A hemisphere of
// 0 (never parsed) is written as '?'.
std::string FormatDegrees(char hemisphere, int degrees, int minutes, double seconds);
// A speed given in km/h, in `unit`.
double SpeedIn(double kmh, SpeedUnit unit);
// "km/h" or "mph".
const char* SpeedUnitSymbol(SpeedUnit unit);
// " 12.3 km/h", or " 7.6 mph"; " -- km/h" for a speed that is not a number.
std::string FormatSpeed(double kmh, SpeedUnit unit = SpeedUnit::Kmh);
// "2024-05-01 12:00:07".
std::string FormatDateTime(int year, int month, int day, int hour, int minute, int second);
// The same of anything with those fields: a telemetry record, a point of the navigation track.
template <typename Moment>
std::string FormatDateTime(const Moment& m) {
  return FormatDateTime(m.year, m.month, m.day, m.hour, m.minute, m.second);
}

}  // namespace korvane
