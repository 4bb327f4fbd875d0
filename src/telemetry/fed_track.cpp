#include "telemetry/fed_track.h"

#include <algorithm>

namespace korvane {

bool CFedTrack::Load(ITelemetrySource& source, const std::string& clipPath) {
  std::vector<TelemetryRecord> records;
  source.Read(clipPath, [&records](const TelemetryRecord& r) { records.push_back(r); });
  return Assign(std::move(records));
}

bool CFedTrack::Assign(std::vector<TelemetryRecord> records) {
  records_ = std::move(records);
  if (std::none_of(records_.begin(), records_.end(),
                   [](const TelemetryRecord& r) { return r.valid; })) {
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
