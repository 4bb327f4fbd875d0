#include "telemetry/gpx_import_source.h"

#include "telemetry/track_import.h"

namespace korvane {

TelemetryRead CGpxImportSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  if (!readTried_) {
    readTried_ = true;
    track_ = ReadGpxFile(gpxPath_, trackError_);
  }
  TelemetryRead read;
  if (!track_) {
    read.reason = gpxPath_ + ": " + trackError_;
    return read;
  }
  ImportCandidate clip{clipPath, ClipTimeFactsOfFile(clipPath), clockOffsetSeconds_};
  clip.facts.cameraStartUtcMs = cameraStartUtcMs_;
  std::vector<ImportedClip> matched = MatchTrackToClips(track_->points, {&clip, 1});
  read.present = true;
  read.durationMs = clip.facts.durationMs;
  read.reason = matched.front().log;
  for (const TelemetryRecord& record : matched.front().records) {
    if (record.valid) ++read.records;
    onRecord(record);
  }
  return read;
}

}  // namespace korvane
