// The one reading interface of a clip's telemetry, whatever holds it: the clip's own subtitle
// track, a GPS log beside the clip, a track imported from another device, and the next format as
// one more unit behind it. Every source hands over the same records (the parser's), each with its
// media time. What a source can give (G values, whose clock, where it lies) is its entry in the
// registry (source_registry.h), kept with each index row; nothing else asks which source it was.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "telemetry/telemetry_record.h"

namespace korvane {

struct TelemetryRead {
  bool present = false;         // the clip has this source (a subtitle track, a log beside it)
  int records = 0;              // valid records handed over
  std::int64_t durationMs = 0;  // the clip's duration when the source learns it; 0 otherwise
  // The records carry G-sensor readings: for a source whose files may or may not hold them (a
  // GPS log with a camera's accelerometer lines), this read has them whatever its traits say.
  bool gValues = false;
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
  // The source's name in the registry (source_registry.h).
  virtual std::string_view name() const = 0;
  // Reads the clip's telemetry from this source. Never throws; a source the clip does not have,
  // or one that cannot be read, comes back with present false or no records, and the reason.
  virtual TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) = 0;
};

}  // namespace korvane
