// One telemetry sample as the camera wrote it (WGS-84), plus the map-datum coordinates the track
// conversion adds. The parser fills it; the track store keeps one per track point.
#pragma once
#include <cstdint>
#include <limits>

namespace korvane {

struct TelemetryRecord {
  bool valid = false;  // the last full parse into this record succeeded
  std::int32_t year = 0;
  // Date, time and the degree/minute parts hold the low 8 bits of what was read: no range check.
  std::uint8_t month = 0;
  std::uint8_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  double longitude = 0.0;  // signed decimal degrees, east positive
  char lonHemisphere = 0;  // 'E' or 'W'
  std::uint8_t lonDegrees = 0;
  std::uint8_t lonMinutes = 0;
  float lonSeconds = 0.0f;
  double mapLongitude = 0.0;  // in the selected map's datum; written only by the track conversion
  double latitude = 0.0;      // signed decimal degrees, north positive
  char latHemisphere = 0;     // 'N' or 'S'
  std::uint8_t latDegrees = 0;
  std::uint8_t latMinutes = 0;
  float latSeconds = 0.0f;
  double mapLatitude = 0.0;  // in the selected map's datum; written only by the track conversion
  float speedKmh = 0.0f;
  std::int32_t accelX = 0;  // G-sensor readings as the camera wrote them
  std::int32_t accelY = 0;
  std::int32_t accelZ = 0;
  // What sources other than the camera's subtitle line give: the fix time's milliseconds, the
  // altitude and heading (NaN where unknown), and accelerations already in g (with `accelInG`;
  // the raw readings above are then the chart's units of the same values).
  std::uint16_t millisecond = 0;
  float altitudeM = std::numeric_limits<float>::quiet_NaN();
  float headingDeg = std::numeric_limits<float>::quiet_NaN();
  bool accelInG = false;
  float gX = 0.0f;
  float gY = 0.0f;
  float gZ = 0.0f;
  // Where the line's cue starts in the clip, in ms; −1 when its head did not parse. The parser
  // never writes it: the track builder takes it from the cue head.
  std::int32_t mediaTimeMs = -1;
  // The last full line carried the no-reading mark (kNoGReadingMark) instead of G readings: the
  // raw readings above then hold 0 G.
  bool noGReading = false;
};

}  // namespace korvane
