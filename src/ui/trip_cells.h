// The texts of a trip's row in the Trips window, the keys its columns sort by, and its tip.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tracks/trip_rows.h"

namespace korvane {

// The row's texts, one per column: "2021-01-05", "10:15:00 – 10:32:10", "3", "12.4 km",
// "00:17:10", "43 km/h", "88 km/h". The average reads "–" for a trip that lasts no time.
std::vector<std::string> TripCells(const TripRow& row);
// The row's sort keys per column (the date and times sort by the start, the rest by value).
std::vector<double> TripSortKeys(const TripRow& row);

// `value` after its caption: a space between, none after a caption ending in a full-width colon.
std::string Captioned(std::string_view caption, std::string_view value);
// The row's tip, the source families its clips were read from after `caption` (translated): "Read
// from: Novatek GPS blocks (…); NMEA log beside the clip", each family once, in the order of
// the clips; empty for a row without clips.
std::string TripSourcesTip(const TripRow& row, std::string_view caption);

}  // namespace korvane
