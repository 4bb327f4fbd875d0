#include "tracks/trip_rows.h"

#include <algorithm>
#include <unordered_map>

#include "index/clip_channels.h"
#include "index/trips.h"

namespace korvane {

TripList BuildTripList(std::span<const std::string> folderClips,
                       std::span<const ClipSummary> indexed, const ClockOffsets& offsets) {
  std::unordered_map<std::string_view, const ClipSummary*> byPath;
  for (const ClipSummary& summary : indexed) {
    if (summary.status != ClipStatus::Unknown) byPath.emplace(summary.path, &summary);
  }
  // Each moment counts once: it is in a trip when one of its channels has telemetry (a rear
  // camera's clip without GPS takes nothing from its moment), not yet indexed while a channel
  // waits for the indexer, and without telemetry only when every channel was read without.
  enum class Seen { WithoutTelemetry, NotIndexed, WithPoints };
  std::unordered_map<std::string, Seen> moments;
  std::vector<std::string> order;
  std::vector<ClipSummary> known;
  for (const std::string& clip : folderClips) {
    const auto found = byPath.find(clip);
    Seen seen = Seen::WithPoints;
    if (found == byPath.end()) {
      seen = Seen::NotIndexed;
    } else if (found->second->status != ClipStatus::Indexed || found->second->pointCount <= 0) {
      seen = Seen::WithoutTelemetry;
    } else {
      known.push_back(*found->second);
    }
    const auto [at, added] = moments.emplace(MomentOf(clip).moment, seen);
    if (added) {
      order.push_back(at->first);
    } else {
      at->second = std::max(at->second, seen);
    }
  }
  TripList list;
  for (const std::string& moment : order) {
    const Seen seen = moments[moment];
    if (seen == Seen::NotIndexed) ++list.notIndexed;
    if (seen == Seen::WithoutTelemetry) ++list.withoutTelemetry;
  }
  known = OnePerMoment(std::move(known));
  ApplyClockOffsets(known, offsets);
  const std::size_t withPoints = known.size();
  std::size_t grouped = 0;
  for (Trip& trip : GroupTrips(std::move(known))) {
    TripRow row;
    row.start = trip.firstCameraTime;
    row.end = trip.lastCameraTime;
    row.distanceM = trip.distanceM;
    for (const ClipSummary& clip : trip.clips) {
      row.clips.push_back(clip.path);
      row.sources.push_back(clip.source);
      row.maxSpeedKmh = std::max(row.maxSpeedKmh, clip.maxSpeedKmh);
    }
    grouped += trip.clips.size();
    list.trips.push_back(std::move(row));
  }
  // Points without a real camera date put a clip in no trip: it has telemetry of no use here.
  list.withoutTelemetry += static_cast<int>(withPoints - grouped);
  return list;
}

std::int64_t TripDurationSeconds(const TripRow& row) {
  return std::max<std::int64_t>(0, row.end - row.start);
}

double TripAverageKmh(const TripRow& row) {
  const std::int64_t seconds = TripDurationSeconds(row);
  return seconds > 0 ? row.distanceM / 1000.0 / (static_cast<double>(seconds) / 3600.0) : -1.0;
}

}  // namespace korvane
