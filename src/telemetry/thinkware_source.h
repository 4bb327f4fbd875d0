// Thinkware cameras' `tx3g` telemetry track (gsensori, RMC and CAR parts in each cue) as a
// telemetry source: the cues read by seeks through the sample table (thinkware_cue), never the
// video. Not the program's own subtitle line, so such a clip plays from the index's points.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CThinkwareSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kThinkwareSource; }
  // Not present in a file that cannot be opened or has no such track; present with no records
  // ("Thinkware cues: no fix") when no RMC of it has a position. The reason counts the samples
  // of the track that are not such cues.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
