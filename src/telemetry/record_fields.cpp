#include "telemetry/record_fields.h"

#include <cmath>

#include "telemetry/civil_date.h"
#include "telemetry/g_sensor.h"

namespace korvane {
namespace {

// Whole degrees, minutes and the seconds left of |degrees|, as the camera's lines carry them.
void SplitDegrees(double degrees, std::uint8_t& whole, std::uint8_t& minutes, float& seconds) {
  const double a = std::fabs(degrees);
  whole = static_cast<std::uint8_t>(a);
  const double m = (a - whole) * 60.0;
  minutes = static_cast<std::uint8_t>(m);
  seconds = static_cast<float>((m - minutes) * 60.0);
}

}  // namespace

void SetRecordTime(TelemetryRecord& r, std::int64_t timeMs) {
  const std::int64_t seconds = timeMs >= 0 ? timeMs / 1000 : (timeMs - 999) / 1000;
  const CivilTime t = CivilFromSeconds(seconds);
  r.year = static_cast<std::int32_t>(t.year);
  r.month = static_cast<std::uint8_t>(t.month);
  r.day = static_cast<std::uint8_t>(t.day);
  r.hour = static_cast<std::uint8_t>(t.hour);
  r.minute = static_cast<std::uint8_t>(t.minute);
  r.second = static_cast<std::uint8_t>(t.second);
  r.millisecond = static_cast<std::uint16_t>(timeMs - seconds * 1000);
}

void SetRecordPosition(TelemetryRecord& r, double latitude, double longitude) {
  r.latitude = latitude;
  r.latHemisphere = latitude < 0 ? 'S' : 'N';
  SplitDegrees(latitude, r.latDegrees, r.latMinutes, r.latSeconds);
  r.longitude = longitude;
  r.lonHemisphere = longitude < 0 ? 'W' : 'E';
  SplitDegrees(longitude, r.lonDegrees, r.lonMinutes, r.lonSeconds);
}

void SetRecordG(TelemetryRecord& record, float gX, float gY, float gZ) {
  record.accelInG = true;
  record.gX = gX;
  record.gY = gY;
  record.gZ = gZ;
  record.accelX = RawOfG(gX);
  record.accelY = RawOfG(gY);
  record.accelZ = RawOfG(gZ);
}

}  // namespace korvane
