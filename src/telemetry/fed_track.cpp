#include "telemetry/fed_track.h"

#include <algorithm>

namespace korvane {

bool CFedTrack::Load(ITelemetrySource& source, const std::string& clipPath) {
  records_.clear();
  const TelemetryRead read =
      source.Read(clipPath, [this](const TelemetryRecord& r) { records_.push_back(r); });
  if (read.records == 0) {
    records_.clear();
    return false;
  }
  // A log written across a clock step may go back in time; the player's time only goes on.
  std::stable_sort(records_.begin(), records_.end(),
                   [](const auto& a, const auto& b) { return a.mediaTimeMs < b.mediaTimeMs; });
  return true;
}

std::optional<TelemetryRecord> CFedTrack::RecordAt(std::int64_t timeMs) const {
  const auto after =
      std::upper_bound(records_.begin(), records_.end(), timeMs,
                       [](std::int64_t t, const TelemetryRecord& r) { return t < r.mediaTimeMs; });
  if (after == records_.begin()) return std::nullopt;
  const TelemetryRecord& shown = *std::prev(after);
  if (!shown.valid || timeMs - shown.mediaTimeMs > kFedRecordLifeMs) return std::nullopt;
  return shown;
}

}  // namespace korvane
