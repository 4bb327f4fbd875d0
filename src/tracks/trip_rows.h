// The Trips window's content: a folder's clips, as the index knows them, turned into one row per
// trip (date, start and end time, clips, distance, duration, average and maximum speed) and the
// counts of clips in no trip. The grouping itself is GroupTrips' (index/trips.h). Pure, no I/O.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "index/index_point.h"
#include "telemetry/clock_offset.h"

namespace korvane {

struct TripRow {
  std::vector<std::string> clips;  // paths, in camera-time order
  std::int64_t start = 0;          // camera time of the first point, its clock offset applied
  std::int64_t end = 0;            // camera time of the last point
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

// The row's texts, one per column: "2021-01-05", "10:15:00 – 10:32:10", "3", "12.4 km",
// "00:17:10", "43 km/h", "88 km/h". The average reads "–" for a trip that lasts no time.
std::vector<std::string> TripCells(const TripRow& row);
// The row's sort keys per column (the date and times sort by the start, the rest by value).
std::vector<double> TripSortKeys(const TripRow& row);

}  // namespace korvane
