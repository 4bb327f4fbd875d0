// The clip's own telemetry subtitle track as a telemetry source: its cues read in-process
// (ReadSubtitleTrack), each cue's line through the program's parser.
#pragma once
#include "telemetry/source_registry.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

class CSubtitleTrackSource : public ITelemetrySource {
 public:
  std::string_view name() const override { return kSubtitleSource; }
  // Not present when the file is not a readable video, has no subtitle track or one without
  // text; present with no records when no cue holds a telemetry line. One parser per read, as
  // the extraction pipeline has one per run, so a line that leaves out the speed keeps the one
  // before it.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;
};

}  // namespace korvane
