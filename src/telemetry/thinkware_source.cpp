#include "telemetry/thinkware_source.h"

#include "telemetry/in_clip_read.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/thinkware_cue.h"

namespace korvane {

TelemetryRead CThinkwareSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const CMp4File file(clipPath);
  if (!file.open()) {
    read.reason = "the clip cannot be read for Thinkware cues";
    return read;
  }
  const ThinkwareTrack track = ReadThinkwareTrack(file.size(), file.readAt());
  if (track.cues == 0) return NoInClipTrack("Thinkware cues", track.problem);
  return HandOverInClipTrack({track.records, track.fixes, 0, track.skipped, track.problem},
                             {"Thinkware cues", "sample", "", false}, onRecord);
}

}  // namespace korvane
