// What an export writes: tracks (one per clip or trip) of full-rate points in UTC, and the rule
// that turns a clip's index points into them. Pure, no I/O.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "export/camera_time_zone.h"
#include "index/index_point.h"

namespace korvane {

struct ExportPoint {
  std::int32_t mediaMs = 0;
  std::int64_t utcTimeMs = 0;  // ms since 1970, UTC
  double latitude = 0.0;       // WGS-84
  double longitude = 0.0;
  float altitudeM = 0.0f;  // NaN where unknown
  float speedKmh = 0.0f;
  float gX = 0.0f;  // accelerations in g
  float gY = 0.0f;
  float gZ = 0.0f;
};

struct ExportClip {
  std::string name;  // the clip's file name
  std::vector<ExportPoint> points;
  bool hasGSensor = true;  // false: the points' G fields are not readings and are left empty
};

// One track of the output: a clip, or the clips of a trip in time order.
struct ExportTrack {
  std::string name;
  std::vector<ExportClip> clips;
};

// What was left out, for the log.
struct ExportCounts {
  std::int64_t written = 0;
  std::int64_t badPositions = 0;  // outside the earth's ranges, not finite, or 0/0 (no fix)
  std::int64_t badDates = 0;      // camera date not a real date
};

// True for a position that can be written: finite, latitude within ±90, longitude within ±180,
// and not exactly 0/0, which cameras write while they have no fix.
bool IsExportablePosition(double latitude, double longitude);

// The zone of a clip's times: a receiver's are UTC, whatever the camera's clock.
CameraTimeZone ZoneOfSource(const SourceTraits& source, const CameraTimeZone& cameraZone);

// The points of a clip that can be written, in track order, with UTC times: each time (with its
// milliseconds) plus `clockOffsetSeconds` (the camera clock offset), read in `zone`. The others are
// counted in `counts`.
std::vector<ExportPoint> ExportPointsOf(std::span<const IndexPoint> points,
                                        const CameraTimeZone& zone, int clockOffsetSeconds,
                                        ExportCounts& counts);

}  // namespace korvane
