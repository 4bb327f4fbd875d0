// The trips of a folder as the Trips window lists them: its clips, as the index knows them, turned
// into one row per trip (start and end time, clips, distance, maximum speed, and from those the
// duration and average speed) and the counts of clips in no trip. The grouping itself is
// GroupTrips' (index/trips.h). Pure, no I/O.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "index/index_point.h"
#include "telemetry/clock_offset.h"

namespace korvane {

struct TripRow {
  std::vector<std::string> clips;    // paths, in camera-time order
  std::vector<std::string> sources;  // the source each of those clips was read from (its name)
  std::int64_t start = 0;            // camera time of the first point, its clock offset applied
  std::int64_t end = 0;              // camera time of the last point
  double distanceM = 0.0;
  float maxSpeedKmh = 0.0f;
};

struct TripList {
  std::vector<TripRow> trips;  // by start time
  int withoutTelemetry = 0;    // read by the indexer: no usable telemetry, or it could not finish
  int notIndexed = 0;          // not (yet) in the index
};

// The trips of `folderClips` from the index's summaries of them (`indexed`, any order, entries
// for other paths ignored), their camera times corrected by `offsets`. A clip without a summary,
// or with an Unknown one, counts as not indexed; never throws on odd summaries (equal or reversed
// camera times, zero distance).
TripList BuildTripList(std::span<const std::string> folderClips,
                       std::span<const ClipSummary> indexed, const ClockOffsets& offsets = {});

// How long the trip lasts, in seconds; never negative.
std::int64_t TripDurationSeconds(const TripRow& row);
// km/h along the trip; negative when it lasts no time.
double TripAverageKmh(const TripRow& row);

}  // namespace korvane
