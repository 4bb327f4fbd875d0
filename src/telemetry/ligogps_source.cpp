#include "telemetry/ligogps_source.h"

#include "telemetry/in_clip_read.h"
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
  read = HandOverInClipTrack({track.records, track.fixes, 0, track.skipped, track.problem},
                             {"LIGOGPS trailer", "line", "", false}, onRecord);
  read.gValues = track.gValues;
  return read;
}

}  // namespace korvane
