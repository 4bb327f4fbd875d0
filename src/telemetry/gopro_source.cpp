#include "telemetry/gopro_source.h"

#include "telemetry/gpmf_file.h"

namespace korvane {
namespace {

void AddReason(std::string& reason, const std::string& what) {
  if (what.empty()) return;
  reason += (reason.empty() ? "" : "; ") + what;
}

}  // namespace

TelemetryRead CGoProSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const CMp4File file(clipPath);
  if (!file.open()) {
    read.reason = "the clip cannot be read for a GPMF track";
    return read;
  }
  const GpmfFile gpmf = ReadGpmfFile(file.size(), file.readAt());
  if (!gpmf.hasTrack) {
    read.reason = "no GPMF track";
    if (!gpmf.problem.empty()) read.reason += " (" + gpmf.problem + ")";
    return read;
  }
  read.present = true;
  for (const TelemetryRecord& r : gpmf.track.records) onRecord(r);
  read.records = gpmf.track.fixes;
  read.gValues = gpmf.track.gValues;
  if (gpmf.track.fixes == 0) read.reason = "GoPro GPMF: no fix";
  if (gpmf.track.fixes > 0 && gpmf.track.otherDevice) {
    AddReason(read.reason, "GPS of the " + gpmf.track.device);
  }
  if (gpmf.unread > 0) {
    AddReason(read.reason, "GoPro GPMF: " + std::to_string(gpmf.unread) + " samples unread");
  }
  AddReason(read.reason, gpmf.problem);
  return read;
}

}  // namespace korvane
