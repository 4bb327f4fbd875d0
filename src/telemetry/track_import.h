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
  // The camera clock offset of the clip's folder (seconds), added to its range whatever fact it
  // comes from: the file's name, header and modification times are written by the same clock.
  int clockOffsetSeconds = 0;
};

struct ImportedClip {
  std::string path;
  ClipTimeRange range;
  std::vector<TelemetryRecord> records;  // empty: the track does not reach the clip
  // "<path>: times from the file name, 530 of 531 moments with a position", with
  // "shifted by +01:00:00" after the fact when the clip's clock has an offset.
  std::string log;
};

// One entry per candidate, in the order given.
std::vector<ImportedClip> MatchTrackToClips(std::span<const GpxPoint> track,
                                            std::span<const ImportCandidate> clips);

}  // namespace korvane
