// A track from another device (GPX) matched by time to the clips of a folder: each clip's range
// from the first time fact it has (ClipTimeRangeOf), its records from the track at the feed's
// step, and a log line saying which fact was used and what the track covers. Pure, no I/O.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "telemetry/clip_time_range.h"
#include "telemetry/gpx_track.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct ImportCandidate {
  std::string path;
  ClipTimeFacts facts;
};

struct ImportedClip {
  std::string path;
  ClipTimeRange range;
  std::vector<TelemetryRecord> records;  // empty: the track does not reach the clip
  std::string log;                       // "<path>: times from the file name, 530 of 531 moments"
};

// One entry per candidate, in the order given.
std::vector<ImportedClip> MatchTrackToClips(std::span<const GpxPoint> track,
                                            std::span<const ImportCandidate> clips);

}  // namespace korvane
