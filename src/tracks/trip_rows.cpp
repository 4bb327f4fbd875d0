#include "tracks/trip_rows.h"

#include <algorithm>
#include <unordered_map>

#include "index/trips.h"

namespace korvane {

TripList BuildTripList(std::span<const std::string> folderClips,
                       std::span<const ClipSummary> indexed, const ClockOffsets& offsets) {
  std::unordered_map<std::string_view, const ClipSummary*> byPath;
  for (const ClipSummary& summary : indexed) {
    if (summary.status != ClipStatus::Unknown) byPath.emplace(summary.path, &summary);
  }
  TripList list;
  std::vector<ClipSummary> known;
  for (const std::string& clip : folderClips) {
    const auto found = byPath.find(clip);
    if (found == byPath.end()) {
      ++list.notIndexed;
    } else if (found->second->status != ClipStatus::Indexed || found->second->pointCount <= 0) {
      ++list.withoutTelemetry;
    } else {
      known.push_back(*found->second);
    }
  }
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
