#include "telemetry/snapshot_tags.h"

#include <cmath>
#include <cstdio>

#include "telemetry/telemetry_text.h"

namespace korvane {
namespace {

bool DateTimeInRange(const TelemetryRecord& r) {
  return r.year >= 1 && r.year <= 9999 && r.month >= 1 && r.month <= 12 && r.day >= 1 &&
         r.day <= 31 && r.hour <= 23 && r.minute <= 59 && r.second <= 60;
}

// EXIF keeps an angle as three unsigned rationals; the sign goes into the reference letter.
// Rounded once to hundredths of a second, so 59.996" carries into the next minute.
std::string Angle(double degrees) {
  const long long hundredths = std::llround(std::fabs(degrees) * 360000.0);
  char text[64];
  std::snprintf(text, sizeof text, "%lld/1 %lld/1 %lld/100", hundredths / 360000,
                hundredths % 360000 / 6000, hundredths % 6000);
  return text;
}

}  // namespace

std::vector<ExifTag> SnapshotExifTags(const TelemetryRecord& r) {
  std::vector<ExifTag> tags;
  if (!r.valid) return tags;
  if (DateTimeInRange(r)) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", r.year, r.month, r.day,
                  r.hour, r.minute, r.second);
    tags.push_back({"Exif.Photo.DateTimeOriginal", text});
  }
  const bool positionKnown = std::isfinite(r.latitude) && std::isfinite(r.longitude) &&
                             std::fabs(r.latitude) <= 90.0 && std::fabs(r.longitude) <= 180.0;
  if (positionKnown) {
    char speed[32];
    std::snprintf(speed, sizeof speed, "%ld/10",
                  std::lround(std::fmax(0.0, static_cast<double>(r.speedKmh)) * 10.0));
    tags.push_back({"Exif.GPSInfo.GPSVersionID", "2 3 0 0"});
    tags.push_back({"Exif.GPSInfo.GPSLatitudeRef", std::signbit(r.latitude) ? "S" : "N"});
    tags.push_back({"Exif.GPSInfo.GPSLatitude", Angle(r.latitude)});
    tags.push_back({"Exif.GPSInfo.GPSLongitudeRef", std::signbit(r.longitude) ? "W" : "E"});
    tags.push_back({"Exif.GPSInfo.GPSLongitude", Angle(r.longitude)});
    tags.push_back({"Exif.GPSInfo.GPSSpeedRef", "K"});
    tags.push_back({"Exif.GPSInfo.GPSSpeed", speed});
    tags.push_back({"Exif.GPSInfo.GPSMapDatum", "WGS-84"});
  }
  return tags;
}

std::string SnapshotStampLine(const TelemetryRecord& r, SpeedUnit unit) {
  if (!r.valid) return {};
  return FormatDateTime(r) + " " +
         FormatDegrees(r.latHemisphere, r.latDegrees, r.latMinutes, r.latSeconds) + " " +
         FormatDegrees(r.lonHemisphere, r.lonDegrees, r.lonMinutes, r.lonSeconds) + " " +
         FormatSpeed(r.speedKmh, unit);
}

}  // namespace korvane
