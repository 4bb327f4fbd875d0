// The Vueroid cameras' telemetry track inside a clip (`mp4s` samples under a `tvxt` handler) as a
// telemetry source: the track found in the sample table and only its samples read
// (mp4_track_samples.h), decoded by vueroid_track.h. Its times are the camera's clock.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CVueroidSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kVueroidSource; }
  // Not present in a file that cannot be read, has no such track, or one of which no record
  // reads; present with no records ("Vueroid GPS track: no fix") when no record has a
  // position. The G values come with the fixes, the clip's mean reading taken off; the reason
  // counts the records that did not read.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
