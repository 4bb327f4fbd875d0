// What the indexer stores for one clip: its file facts, the valid points of its telemetry at full
// rate from the first source that has any, in the registry's order (the clip's own subtitle
// track, its GPS blocks, else the GPS log beside it), with that source's traits and the files
// beside the clip, the summary, the overview line and, for a source with G values, the driving
// events by the default rules (the program finds them again from the points when its settings
// differ).
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "index/index_point.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

struct IndexedClip {
  ClipSummary summary;
  std::vector<IndexPoint> points;
  std::vector<IndexPoint> overview;
  std::vector<DriveEvent> events;
};

// Reads and indexes the clip from the first of `sources` that gives a valid point. Never throws:
// a missing or empty clip, or one no source has points for, comes back NoTelemetry with the
// reasons of the sources it has (the first source's when it has none); a clip whose reading
// stopped early keeps what was read.
IndexedClip IndexClip(const std::string& path, std::span<ITelemetrySource* const> sources);
// ... from every source the indexer reads, in the registry's order.
IndexedClip IndexClip(const std::string& path);

// The row that marks a clip failed (after the indexer crashed or timed out on it), with the file's
// current size and time so a changed file is tried again.
ClipSummary FailedClip(const std::string& path, const std::string& reason);

}  // namespace korvane
