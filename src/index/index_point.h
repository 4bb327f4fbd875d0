// One full-rate track point as the index keeps it, and a clip's summary as the index answers it.
// Plain values only: the index's readers and its only writer (the indexer program) share them.
#pragma once
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "telemetry/drive_event.h"
#include "telemetry/source_registry.h"

namespace korvane {

// The time of a point whose date is not a real date (month 13, 31 April, hour 25).
inline constexpr std::int64_t kNoTime = INT64_MIN;

struct IndexPoint {
  std::int32_t mediaMs = 0;  // time in the clip, from the clip's start
  // The fix time in ms since 1970-01-01 00:00 on the point's clock (the camera's as written, or
  // a receiver's UTC: `receiverTime`), or kNoTime.
  std::int64_t timeMs = 0;
  double latitude = 0.0;   // WGS-84 as the source wrote it, north positive
  double longitude = 0.0;  // east positive
  float speedKmh = 0.0f;
  float gX = 0.0f;  // accelerations in g; zeros from a source without a G-sensor
  float gY = 0.0f;
  float gZ = 0.0f;
  float altitudeM = std::numeric_limits<float>::quiet_NaN();   // NaN where unknown
  float headingDeg = std::numeric_limits<float>::quiet_NaN();  // NaN where unknown
  bool receiverTime = false;

  // Whole seconds of the time, rounded down; kNoTime stays kNoTime.
  std::int64_t seconds() const {
    return timeMs == kNoTime ? kNoTime : (timeMs >= 0 ? timeMs / 1000 : (timeMs - 999) / 1000);
  }
  // Equal when every field is, NaN equal to NaN (an unknown altitude is the same unknown).
  friend bool operator==(const IndexPoint& a, const IndexPoint& b);
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
  // Where the points came from (a name of the registry, or one this program does not know);
  // without telemetry, the last source that was there but held no position (a track or a log of
  // invalid fixes), empty when the clip had none.
  std::string source;
  // What that source gives, as the indexer's registry said when it read the clip: a row names its
  // own traits, so a source unknown here is still played, fed from its points. Without G values
  // the points' G fields are not readings: no events, no G curves, no G columns.
  SourceTraits traits;
  // The sources whose file was beside the clip when it was read (BesideFilesText).
  std::string besideFiles;
};

inline bool operator==(const IndexPoint& a, const IndexPoint& b) {
  const auto same = [](float x, float y) { return x == y || (std::isnan(x) && std::isnan(y)); };
  return a.mediaMs == b.mediaMs && a.timeMs == b.timeMs && a.latitude == b.latitude &&
         a.longitude == b.longitude && a.speedKmh == b.speedKmh && a.gX == b.gX && a.gY == b.gY &&
         a.gZ == b.gZ && same(a.altitudeM, b.altitudeM) && same(a.headingDeg, b.headingDeg) &&
         a.receiverTime == b.receiverTime;
}

}  // namespace korvane
