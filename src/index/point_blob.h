// The packed form of a clip's points in the index: fixed 53-byte little-endian records, one after
// the other, so a clip's track is one blob that reads back in one pass: media time, fix time in
// ms, latitude, longitude, speed, the three accelerations in g, altitude, heading and flags.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "index/index_point.h"

namespace korvane {

constexpr std::size_t kPackedPointSize = 53;

std::string PackPoints(std::span<const IndexPoint> points);
// The points of a blob; nullopt when its length is not a whole number of records.
std::optional<std::vector<IndexPoint>> UnpackPoints(std::string_view blob);

}  // namespace korvane
