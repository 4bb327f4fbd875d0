#include "telemetry/freegps_source.h"

#include "telemetry/clip_time_range.h"
#include "telemetry/freegps_file.h"
#include "telemetry/mp4_boxes.h"

namespace korvane {

TelemetryRead CFreeGpsSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const CMp4File file(clipPath);
  if (!file.open()) {
    read.reason = "the clip cannot be read for GPS blocks";
    return read;
  }
  const std::int64_t startMs = ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs;
  const FreeGpsTrack track = ReadFreeGpsClip(file.size(), file.readAt(), startMs);
  if (track.blocks == 0) {
    read.reason = "no Novatek GPS blocks";
    if (!track.problem.empty()) read.reason += " (" + track.problem + ")";
    return read;
  }
  read.present = true;
  for (const TelemetryRecord& r : track.records) onRecord(r);
  read.records = track.fixes;
  read.gValues = track.gValues;
  if (track.fixes == 0) {
    read.reason = "Novatek GPS blocks: no fix";
  } else if (track.skipped > 0) {
    read.reason = "Novatek GPS blocks: " + std::to_string(track.skipped) + " blocks unread";
  }
  if (!track.problem.empty()) {
    read.reason += std::string(read.reason.empty() ? "" : "; ") + track.problem;
  }
  return read;
}

}  // namespace korvane
