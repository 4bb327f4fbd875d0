// What a source of a track inside the clip (boxes, a data track, a trailer) hands over once its
// reader found the track: the records, and the reason, in one wording for all such sources.
#pragma once
#include <string>
#include <vector>

#include "telemetry/telemetry_source.h"

namespace korvane {

struct InClipTrack {
  const std::vector<TelemetryRecord>& records;
  int fixes = 0;        // records with a position
  int skipped = 0;      // parts of the track (blocks, samples, lines) that did not read
  std::string problem;  // what was wrong with the file; empty when nothing
};

// Present, every record handed to `onRecord`, and the reason "<what>: no fix" for a track
// without a position, else "<what>: N <parts> unread" when parts did not read; the problem
// after, "; " between.
TelemetryRead HandOverInClipTrack(const InClipTrack& track, const std::string& what,
                                  const std::string& parts,
                                  const ITelemetrySource::RecordSink& onRecord);

}  // namespace korvane
