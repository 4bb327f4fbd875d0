// The texts of a trip's row in the Trips window, and the keys its columns sort by.
#pragma once
#include <string>
#include <vector>

#include "tracks/trip_rows.h"

namespace korvane {

// The row's texts, one per column: "2021-01-05", "10:15:00 – 10:32:10", "3", "12.4 km",
// "00:17:10", "43 km/h", "88 km/h". The average reads "–" for a trip that lasts no time.
std::vector<std::string> TripCells(const TripRow& row);
// The row's sort keys per column (the date and times sort by the start, the rest by value).
std::vector<double> TripSortKeys(const TripRow& row);

}  // namespace korvane
