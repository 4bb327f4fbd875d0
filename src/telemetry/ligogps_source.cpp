#include "telemetry/ligogps_source.h"

#include "telemetry/ligogps_trailer.h"
#include "telemetry/mp4_boxes.h"

namespace korvane {

TelemetryRead CLigoGpsSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const CMp4File file(clipPath);
  if (!file.open()) {
    read.reason = "the clip cannot be read for a LIGOGPS trailer";
    return read;
  }
  const LigoGpsTrack track = ReadLigoGpsFile(file.size(), file.readAt());
  switch (track.kind) {
    case LigoGpsKind::None:
      read.reason = "no LIGOGPS trailer";
      return read;
    case LigoGpsKind::Encrypted:
      read.present = true;
      read.reason = "LIGOGPS, encrypted: not read";
      return read;
    case LigoGpsKind::Plain:
      break;
  }
  read.present = true;
  for (const TelemetryRecord& r : track.records) onRecord(r);
  read.records = track.fixes;
  read.gValues = track.gValues;
  if (track.fixes == 0) {
    read.reason = "LIGOGPS trailer: no fix";
  } else if (track.skipped > 0) {
    read.reason = "LIGOGPS trailer: " + std::to_string(track.skipped) + " lines unread";
  }
  if (!track.problem.empty()) {
    read.reason += std::string(read.reason.empty() ? "" : "; ") + track.problem;
  }
  return read;
}

}  // namespace korvane
