// What a reader of a telemetry track inside the clip tells of its read, from what it counted:
// whether the clip has the track, how many fixes it gave, and the reason a user reads in
// --info and the index ("SigmaStar GPS track: no fix", "...: 3 records skipped"). Pure.
#pragma once
#include <string>
#include <string_view>

#include "telemetry/telemetry_source.h"

namespace korvane {

struct TrackReadCounts {
  int fixes = 0;
  int noFix = 0;    // records read that mark a moment without a fix
  int skipped = 0;  // records or samples that did not read
};

// The read of the track called `what`. Not present when the clip has none (`found` false) or
// none of its records read (another maker's track of the same format); present with the fixes
// as its records otherwise. The reason names the track, then "no fix", or `note` (what the
// reader wants said of a read with fixes), the records skipped and the sample table's
// `problem`, each once, "; " between them; empty for a read with fixes and nothing to say.
TelemetryRead TrackReadOf(std::string_view what, bool found, const TrackReadCounts& counts,
                          const std::string& problem, const std::string& note = {});

}  // namespace korvane
