#include "telemetry/track_import.h"

#include <algorithm>

#include "telemetry/clock_offset.h"

namespace korvane {

std::vector<ImportedClip> MatchTrackToClips(std::span<const GpxPoint> track,
                                            std::span<const ImportCandidate> clips) {
  std::vector<ImportedClip> matched;
  matched.reserve(clips.size());
  for (const ImportCandidate& clip : clips) {
    ImportedClip m;
    m.path = clip.path;
    m.range = ClipTimeRangeOf(clip.facts);
    m.range.startUtcMs += std::int64_t{clip.clockOffsetSeconds} * 1000;
    m.records = GpxClipRecords(track, m.range.startUtcMs, m.range.durationMs, kGpxRecordStepMs);
    const auto fixes = std::count_if(m.records.begin(), m.records.end(),
                                     [](const TelemetryRecord& r) { return r.valid; });
    m.log = clip.path + ": times from the " + std::string(ClipTimeBasisText(m.range.basis));
    if (clip.clockOffsetSeconds != 0)
      m.log += " shifted by " + ClockOffsetText(clip.clockOffsetSeconds);
    m.log += ", ";
    m.log += m.records.empty() ? std::string("not covered by the track")
                               : std::to_string(fixes) + " of " + std::to_string(m.records.size()) +
                                     " moments with a position";
    matched.push_back(std::move(m));
  }
  return matched;
}

}  // namespace korvane
