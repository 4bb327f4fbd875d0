#include "export/saved_track.h"

#include <cmath>
#include <cstdio>

#include "telemetry/civil_date.h"
#include "telemetry/g_sensor.h"

namespace korvane {
namespace {

// Integers only, so the text cannot follow a locale's decimal separator.
std::string Angle(double value, char positive, char negative) {
  const double magnitude = std::isfinite(value) ? std::fabs(value) : 0.0;
  const long long thousandths = std::llround(magnitude * 3600.0 * 1000.0);
  char text[48];
  std::snprintf(text, sizeof text, "%c%lld %lld %lld.%03lld", value < 0 ? negative : positive,
                thousandths / 3'600'000, thousandths / 60'000 % 60, thousandths / 1000 % 60,
                thousandths % 1000);
  return text;
}

std::string Knots(float kmh) {
  const double knots = std::isfinite(kmh) && kmh > 0 ? kmh / 1.852 : 0.0;
  const long long hundredths = std::llround(knots * 100.0);
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", hundredths / 100, hundredths % 100);
  return text;
}

std::string Raw(char tag, bool hasG, float g) {
  std::string field{tag, ':'};
  return field + (hasG && std::isfinite(g) ? std::to_string(RawOfG(g)) : kNoGReadingMark);
}

std::string CueStamp(std::int64_t ms) {
  if (ms < 0) ms = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld",
                static_cast<long long>(ms / 3'600'000), static_cast<long long>(ms / 60'000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

}  // namespace

std::string CameraClockText(std::int64_t cameraMs, char timeSeparator) {
  const std::int64_t seconds = cameraMs >= 0 ? cameraMs / 1000 : (cameraMs - 999) / 1000;
  const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const std::int64_t ofDay = seconds - days * 86400;
  const CivilDate date = CivilFromDays(days);
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld%c%02lld%c%02lld",
                static_cast<long long>(date.year), date.month, date.day,
                static_cast<long long>(ofDay / 3600), timeSeparator,
                static_cast<long long>(ofDay / 60 % 60), timeSeparator,
                static_cast<long long>(ofDay % 60));
  return text;
}

std::string SavedTrackLine(const SavedPoint& point) {
  return CameraClockText(point.cameraMs, ':') + '/' + Angle(point.longitude, 'E', 'W') + '/' +
         Angle(point.latitude, 'N', 'S') + '/' + Knots(point.speedKmh) + '/' +
         Raw('X', point.hasG, point.gX) + '/' + Raw('Y', point.hasG, point.gY) + '/' +
         Raw('Z', point.hasG, point.gZ);
}

std::string SavedTrackCues(std::span<const SavedPoint> points, std::int64_t lengthMs) {
  std::string cues;
  int number = 0;
  std::int64_t last = -1;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::int64_t start = points[i].stretchMs;
    if (start < 0 || start <= last) continue;
    std::int64_t end = lengthMs;
    for (std::size_t j = i + 1; j < points.size(); ++j) {
      if (points[j].stretchMs > start) {
        end = points[j].stretchMs;
        break;
      }
    }
    if (end <= start) end = start + 100;
    last = start;
    cues += std::to_string(++number) + '\n' + CueStamp(start) + " --> " + CueStamp(end) + '\n' +
            SavedTrackLine(points[i]) + "\n\n";
  }
  return cues;
}

}  // namespace korvane
