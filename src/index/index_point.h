// One full-rate track point as the index keeps it, and a clip's summary as the index answers it.
// Plain values only: the index's readers and its only writer (the indexer program) share them.
#pragma once
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "telemetry/drive_event.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

// The cameraTime of a point whose camera date is not a real date (month 13, 31 April, hour 25).
inline constexpr std::int64_t kNoCameraTime = INT64_MIN;

struct IndexPoint {
  std::int32_t mediaMs = 0;     // time in the clip, from the clip's start
  std::int64_t cameraTime = 0;  // the camera's clock as written, in seconds since 1970-01-01 00:00,
                                // or kNoCameraTime
  double latitude = 0.0;        // WGS-84 as the camera wrote it, north positive
  double longitude = 0.0;       // east positive
  float speedKmh = 0.0f;
  std::int32_t accelX = 0;  // raw G-sensor readings as the camera wrote them
  std::int32_t accelY = 0;
  std::int32_t accelZ = 0;

  friend bool operator==(const IndexPoint&, const IndexPoint&) = default;
};

// What the index knows of a clip. Unknown: the clip is not in the index (or the index cannot be
// read); NoTelemetry: the clip was read and carries no usable telemetry; Failed: the indexer could
// not finish it (crashed, timed out); `reason` says why for the last two.
enum class ClipStatus { Unknown, Indexed, NoTelemetry, Failed };

// The stored spelling of a status; Unknown for a text that names none.
std::string_view ClipStatusText(ClipStatus status);
ClipStatus ClipStatusFromText(std::string_view text);

struct ClipSummary {
  std::string path;
  std::int64_t size = 0;     // bytes, as when indexed
  std::int64_t mtimeNs = 0;  // modification time in ns, as when indexed
  std::int64_t durationMs = 0;
  std::int64_t firstCameraTime = 0;  // 0 when the clip has no valid point
  std::int64_t lastCameraTime = 0;
  std::int32_t pointCount = 0;  // valid points
  double distanceM = 0.0;       // along the valid points (haversine)
  float maxSpeedKmh = 0.0f;
  ClipStatus status = ClipStatus::Unknown;
  std::string reason;
  std::int32_t eventCount = 0;  // driving events found by `eventRules`
  EventRules eventRules;
  // Where the points came from; without telemetry, the last source that was there but held no
  // position (a track or a log of invalid fixes), None when the clip had none.
  TelemetrySourceKind source = TelemetrySourceKind::None;
  // False when the points' G-sensor fields are not readings (a GPS log): no events, no G curves,
  // no G columns.
  bool hasGSensor = true;
};

}  // namespace korvane
