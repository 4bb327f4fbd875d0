#include "telemetry/freegps_source.h"

#include "telemetry/clip_time_range.h"
#include "telemetry/freegps_file.h"
#include "telemetry/in_clip_read.h"
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
  if (track.blocks == 0) return NoInClipTrack("Novatek GPS blocks", track.problem);
  read = HandOverInClipTrack({track.records, track.fixes, 0, track.skipped, track.problem},
                             {"Novatek GPS blocks", "block", "", false}, onRecord);
  read.gValues = track.gValues;
  return read;
}

}  // namespace korvane
