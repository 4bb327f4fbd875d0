// The GPS log beside a clip as a telemetry source: its fixes turned into the parser's records,
// timed from the log's earliest fix. A log with a camera's G-sensor lines gives G values (the
// read says so); another leaves its records' readings at 0.
#pragma once
#include <cstddef>

#include "telemetry/nmea_track.h"
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

// The record of a fix: its UTC date and time as the camera's date fields, signed degrees with
// their hemisphere, degree, minute and second parts, the speed, altitude, heading, the G values
// (in g, and as the camera's raw units) and mediaTimeMs. A fix without a position (status V)
// gives a record with `valid` false and no position.
TelemetryRecord NmeaFixRecord(const NmeaFix& fix);
// Hands over the record of each fix in order; returns how many are valid.
int HandOverFixes(const std::vector<NmeaFix>& fixes, const ITelemetrySource::RecordSink& onRecord);

class CNmeaSidecarSource : public ITelemetrySource {
 public:
  explicit CNmeaSidecarSource(std::size_t maxBytes = kMaxNmeaBytes) : maxBytes_(maxBytes) {}
  std::string_view name() const override { return kNmeaSource; }
  // Not present without a sidecar (FindNmeaSidecar); present with no records when the log holds
  // no sentence that reads. A log without RMC is dated by the clip (ClipTimeRangeOf). The reason
  // counts skipped sentences and says when the log was cut.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::size_t maxBytes_;
};

}  // namespace korvane
