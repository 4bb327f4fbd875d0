#include "telemetry/gopro_source.h"

#include "telemetry/gpmf_file.h"
#include "telemetry/in_clip_read.h"

namespace korvane {

TelemetryRead CGoProSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const CMp4File file(clipPath);
  if (!file.open()) {
    read.reason = "the clip cannot be read for a GPMF track";
    return read;
  }
  const GpmfFile gpmf = ReadGpmfFile(file.size(), file.readAt());
  if (!gpmf.hasTrack) return NoInClipTrack("GPMF track", gpmf.problem);
  const std::string note = gpmf.track.otherDevice ? "GPS of the " + gpmf.track.device : "";
  read = HandOverInClipTrack({gpmf.track.records, gpmf.track.fixes, 0, gpmf.unread, gpmf.problem},
                             {"GoPro GPMF", "sample", note, false}, onRecord);
  read.gValues = gpmf.track.gValues;
  return read;
}

}  // namespace korvane
