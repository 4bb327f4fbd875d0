#include "telemetry/in_clip_read.h"

namespace korvane {
namespace {

void Append(std::string& text, const std::string& part) {
  if (part.empty()) return;
  text += (text.empty() ? "" : "; ") + part;
}

}  // namespace

TelemetryRead NoInClipTrack(const std::string& what, const std::string& problem) {
  TelemetryRead read;
  read.reason = "no " + what;
  if (!problem.empty()) read.reason += " (" + problem + ")";
  return read;
}

TelemetryRead HandOverInClipTrack(const InClipTrack& track, const InClipWording& wording,
                                  const ITelemetrySource::RecordSink& onRecord) {
  TelemetryRead read;
  const std::string unread = track.skipped == 0
                                 ? std::string()
                                 : std::to_string(track.skipped) + " " + wording.part +
                                       (track.skipped == 1 ? "" : "s") + " unread";
  std::string details;
  if (wording.absentWhenNoneRead && track.fixes + track.noFix == 0) {
    Append(details, unread);
    Append(details, track.problem);
    read.reason = "a track of the " + wording.what + "'s format that does not read";
    if (!details.empty()) read.reason += " (" + details + ")";
    return read;
  }
  read.present = true;
  for (const TelemetryRecord& r : track.records) onRecord(r);
  read.records = track.fixes;
  Append(details, track.fixes == 0 ? "no fix" : wording.note);
  Append(details, unread);
  Append(details, track.problem);
  if (!details.empty()) read.reason = wording.what + ": " + details;
  return read;
}

}  // namespace korvane
