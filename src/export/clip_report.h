// What the program says of a clip's telemetry when asked (`--info`): where it comes from and on
// whose clock, how many fixes it has with the first and the last, whether it has G values, and why
// it has none; as one JSON object, or as lines for a reader. It is what a user sends when a camera
// is not read, so times stay as the source wrote them: no folder clock offset, no TimeZone. Pure,
// no I/O.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "index/index_point.h"
#include "telemetry/source_registry.h"

namespace korvane {

struct ReportFix {
  std::optional<std::int64_t> timeMs;  // ms since 1970 on the source's clock; none for a date
                                       // that is not a real one
  std::int32_t mediaMs = 0;
  double latitude = 0.0;
  double longitude = 0.0;
  float speedKmh = 0.0f;
};

struct ClipReport {
  std::string path;
  std::string source;  // the source's name; empty when the clip has none
  SourceClock clock = SourceClock::None;
  std::int64_t fixes = 0;
  std::optional<ReportFix> first;  // none without fixes
  std::optional<ReportFix> last;
  bool gSensor = false;
  std::int64_t durationMs = 0;
  std::string reason;  // the index's word on what it found; empty when it had none
};

// The report of a clip from its summary as it plays (for a clip fed from its folder's imported
// track, what the track gives it) and its points. No points: no first or last fix, no G values.
ClipReport ReportOfClip(const ClipSummary& summary, std::span<const IndexPoint> points);

// ISO 8601 with milliseconds of `ms` since 1970 on `clock`: "2026-05-18T08:30:00.000" on the
// camera's clock, which has no zone, "2026-05-18T08:30:00.000Z" for a receiver's UTC. Any value
// gives a text (years beyond 9999 or before 1 keep their digits and sign).
std::string SourceTimeText(std::int64_t ms, SourceClock clock);

// One JSON object without a line end: "path", "source" ("subtitle", "nmea", "gpx", another
// source's name, or "none"),
// "clock", "fixes", "first" and "last" (each "time", "media_ms", "lat", "lon", "speed_kmh"),
// "g_sensor", "duration_ms", "reason", and last "family" (SourceFamily of the source, for a
// person); null where there is none (a time, a fix, a reason, a position that is not a number).
std::string ClipReportJson(const ClipReport& report);
// The same for a reader: the path, then one indented line per field, each ending in '\n' (the
// source's family on the line after the source, unless it reads as the name itself); the fixes
// and the reason only where there are some.
std::string ClipReportText(const ClipReport& report);

}  // namespace korvane
