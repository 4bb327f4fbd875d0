#include "telemetry/in_clip_read.h"

namespace korvane {

TelemetryRead HandOverInClipTrack(const InClipTrack& track, const std::string& what,
                                  const std::string& parts,
                                  const ITelemetrySource::RecordSink& onRecord) {
  TelemetryRead read;
  read.present = true;
  for (const TelemetryRecord& r : track.records) onRecord(r);
  read.records = track.fixes;
  if (track.fixes == 0) {
    read.reason = what + ": no fix";
  } else if (track.skipped > 0) {
    read.reason = what + ": " + std::to_string(track.skipped) + " " + parts + " unread";
  }
  if (!track.problem.empty()) {
    read.reason += std::string(read.reason.empty() ? "" : "; ") + track.problem;
  }
  return read;
}

}  // namespace korvane
