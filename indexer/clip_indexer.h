// What the indexer stores for one clip: its file facts, the points of every telemetry cue that
// parses (full rate, parsed by the program's own line parser), the summary, the overview line and
// the driving events by the default rules (the program finds them again from the points when its
// settings differ).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/index_point.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {

struct IndexedClip {
  ClipSummary summary;
  std::vector<IndexPoint> points;
  std::vector<IndexPoint> overview;
  std::vector<DriveEvent> events;
};

// Builds a clip's track from its cues in file order. One parser per clip, as the extraction
// pipeline has one per run, so a line that leaves out the speed keeps the one before it.
class CTrackBuilder {
 public:
  void AddCue(std::int32_t mediaMs, std::string_view text);
  int cues() const { return cues_; }
  std::vector<IndexPoint>& points() { return points_; }

 private:
  CTelemetryParser parser_;
  std::vector<IndexPoint> points_;
  int cues_ = 0;
};

// Reads and indexes the clip. Never throws: a missing, empty, unreadable or subtitle-less clip
// comes back NoTelemetry with the reason; a clip whose reading stopped early keeps what was read.
IndexedClip IndexClip(const std::string& path);

// The row that marks a clip failed (after the indexer crashed or timed out on it), with the file's
// current size and time so a changed file is tried again.
ClipSummary FailedClip(const std::string& path, const std::string& reason);

}  // namespace korvane
