#include "telemetry/track_read_reason.h"

namespace korvane {
namespace {

void Append(std::string& text, const std::string& part) {
  if (part.empty()) return;
  text += (text.empty() ? "" : "; ") + part;
}

}  // namespace

TelemetryRead TrackReadOf(std::string_view what, bool found, const TrackReadCounts& counts,
                          const std::string& problem, const std::string& note) {
  TelemetryRead read;
  const std::string name(what);
  if (!found) {
    read.reason = "no " + name;
    return read;
  }
  const std::string skipped = counts.skipped == 0
                                  ? std::string()
                                  : std::to_string(counts.skipped) +
                                        (counts.skipped == 1 ? " record" : " records") + " skipped";
  std::string details;
  if (counts.fixes + counts.noFix == 0) {
    Append(details, skipped);
    Append(details, problem);
    read.reason = "a track of the " + name + "'s format that does not read";
    if (!details.empty()) read.reason += " (" + details + ")";
    return read;
  }
  read.present = true;
  read.records = counts.fixes;
  Append(details, counts.fixes == 0 ? "no fix" : note);
  Append(details, skipped);
  Append(details, problem);
  if (!details.empty()) read.reason = name + ": " + details;
  return read;
}

}  // namespace korvane
