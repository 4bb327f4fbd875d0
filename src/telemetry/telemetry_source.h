// The one reading interface of a clip's telemetry, whatever holds it: the clip's own subtitle
// track, a GPS log beside the clip, a track imported from another device, and the next format as
// one more unit behind it. Every source hands over the same records (the parser's), each with its
// media time. Where a track came from is still asked in a few places, through the kind: whether
// it has G values (SourceHasGSensor), whose clock its times are (IsCameraClock, clock_offset.h),
// which source the indexer tries first (the order in indexer/clip_indexer), whether a clip plays
// from a log or an import (tracks/clip_track), and which files beside a clip make its index entry
// stale (index/clip_file).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "telemetry/telemetry_record.h"

namespace korvane {

enum class TelemetrySourceKind { None, SubtitleTrack, NmeaSidecar, GpxImport };

// The stored spelling ("", "subtitle", "nmea", "gpx"); None for a text that names no source.
std::string_view TelemetrySourceText(TelemetrySourceKind kind);
TelemetrySourceKind TelemetrySourceFromText(std::string_view text);

// True for sources that write G-sensor values; a GPS log has none, and its records' zeros are
// not readings.
bool SourceHasGSensor(TelemetrySourceKind kind);

// Whose clock a source's times are on: the camera's own, which has no zone and may be wrong (the
// folder's clock offset and the TimeZone setting correct it), or a GPS receiver's UTC. None: no
// source, so no times.
enum class SourceClock { None, Camera, Utc };
SourceClock ClockOfSource(TelemetrySourceKind kind);
// "none", "camera", "utc".
std::string_view SourceClockText(SourceClock clock);

struct TelemetryRead {
  bool present = false;         // the clip has this source (a subtitle track, a log beside it)
  int records = 0;              // valid records handed over
  std::int64_t durationMs = 0;  // the clip's duration when the source learns it; 0 otherwise
  // Why the source is missing or gave nothing, or (with records) what was skipped or cut short;
  // empty when everything read.
  std::string reason;
};

class ITelemetrySource {
 public:
  // Called per record in clip order, mediaTimeMs set. A record with `valid` false is a moment
  // the source itself marks as without a fix (an NMEA status V); it carries no position.
  using RecordSink = std::function<void(const TelemetryRecord&)>;

  virtual ~ITelemetrySource() = default;
  virtual TelemetrySourceKind kind() const = 0;
  // Reads the clip's telemetry from this source. Never throws; a source the clip does not have,
  // or one that cannot be read, comes back with present false or no records, and the reason.
  virtual TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) = 0;
};

}  // namespace korvane
