// The telemetry of a saved stretch as the subtitle track the player reads back: one line per
// point in the camera's own line format, on the camera clock, the cues timed from the stretch's
// start. Pure, no I/O; numbers never depend on the process's locale.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace korvane {

struct SavedPoint {
  std::int64_t stretchMs = 0;  // media time in the saved file
  std::int64_t cameraMs = 0;   // camera clock, ms since 1970, the folder's offset applied
  double latitude = 0.0;       // WGS-84, signed
  double longitude = 0.0;
  float speedKmh = 0.0f;  // negative or not finite writes 0
  bool hasG = false;
  float gX = 0.0f;  // in g, with hasG
  float gY = 0.0f;
  float gZ = 0.0f;
};

// "2026-05-18 08:30:07" for a camera time in ms since 1970 (the ms dropped), the time's fields
// parted by `timeSeparator` (':' in lines, '-' in file names).
std::string CameraClockText(std::int64_t cameraMs, char timeSeparator);

// "2026-05-18 08:30:07/E127 1 23.456/N37 30 12.300/6.75/X:2000/Y:2000/Z:2333": degrees, minutes
// and seconds to a thousandth, the speed in knots, the raw G readings, or
// kNoGReadingMark (telemetry/g_sensor.h) for a point without them.
std::string SavedTrackLine(const SavedPoint& point);

// The points (in stretchMs order; the others are left out) as SubRip cues, each lasting until the
// next point and the last one until `lengthMs` (at least 100 ms).
std::string SavedTrackCues(std::span<const SavedPoint> points, std::int64_t lengthMs);

}  // namespace korvane
