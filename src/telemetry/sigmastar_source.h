// The SigmaStar cameras' `ssmd` GPS track inside a clip as a telemetry source: the track found by
// its format in the sample table and only its samples read (mp4_track_samples.h), decoded by
// sigmastar_ssmd.h. Its fixes carry UTC; its year and month come from the clip.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CSigmaStarSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kSigmaStarSource; }
  // Not present in a file that cannot be read, has no `ssmd` track, or one of which no record
  // reads (another maker's `ssmd`); present with no records ("SigmaStar GPS track: no fix") when
  // no record has a position. The reason says where the year and month came from and counts
  // the records that did not read.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
