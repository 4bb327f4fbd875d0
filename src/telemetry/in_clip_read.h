// What a source of a track inside the clip (boxes, a data track, a trailer) hands over from what
// its reader counted: whether the clip has the track, the records, and the reason a user reads in
// --info and the index, in one wording for all such sources ("Thinkware cues: no fix"). Pure.
#pragma once
#include <string>
#include <vector>

#include "telemetry/telemetry_source.h"

namespace korvane {

struct InClipTrack {
  const std::vector<TelemetryRecord>& records;
  int fixes = 0;        // records with a position
  int noFix = 0;        // records read that mark a moment without a fix
  int skipped = 0;      // parts of the track (blocks, samples, lines) that did not read
  std::string problem;  // what was wrong with the file; empty when nothing
};

struct InClipWording {
  std::string what;  // names the track in the reason: "Thinkware cues"
  std::string part;  // what `skipped` counts, singular and made plural with "s": "sample"
  std::string note;  // what the reader wants said of a read with fixes; empty when nothing
  // A track of this format none of whose records read is another maker's: not present.
  bool absentWhenNoneRead = false;
};

// The read of a clip without the track: not present, "no <what>", the problem in brackets.
TelemetryRead NoInClipTrack(const std::string& what, const std::string& problem);

// Present, every record handed to `onRecord`, and the reason "<what>: " then "no fix" or the
// note, the parts unread and the problem, each once, "; " between; empty for a read with fixes
// and nothing to say. With `absentWhenNoneRead` and no record read: not present, nothing handed,
// "a track of the <what>'s format that does not read" with the parts unread and the problem.
TelemetryRead HandOverInClipTrack(const InClipTrack& track, const InClipWording& wording,
                                  const ITelemetrySource::RecordSink& onRecord);

}  // namespace korvane
