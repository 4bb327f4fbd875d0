#include "telemetry/thinkware_source.h"

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
  if (track.cues == 0) {
    read.reason = "no Thinkware cues";
    if (!track.problem.empty()) read.reason += " (" + track.problem + ")";
    return read;
  }
  read.present = true;
  for (const TelemetryRecord& r : track.records) onRecord(r);
  read.records = track.fixes;
  if (track.fixes == 0) {
    read.reason = "Thinkware cues: no fix";
  } else if (track.skipped > 0) {
    read.reason = "Thinkware cues: " + std::to_string(track.skipped) + " samples unread";
  }
  if (!track.problem.empty()) {
    read.reason += std::string(read.reason.empty() ? "" : "; ") + track.problem;
  }
  return read;
}

}  // namespace korvane
