// The overview line of a clip: at most a given number of its points that keep the route's shape,
// for maps that draw many clips at once. Pure, no I/O.
#pragma once
#include <cstddef>
#include <span>
#include <vector>

#include "index/index_point.h"

namespace korvane {

constexpr std::size_t kOverviewMaxPoints = 200;

// A Douglas-Peucker simplification driven by a budget instead of a tolerance: starting from the
// first and last point, the point farthest from the line kept so far is added next, until
// `maxPoints` are kept or every remaining point lies on the kept line. The result keeps track
// order and always holds the first and last point; a track of at most `maxPoints` points comes
// back whole. `maxPoints` below 2 is taken as 2.
std::vector<IndexPoint> SimplifyOverview(std::span<const IndexPoint> points,
                                         std::size_t maxPoints = kOverviewMaxPoints);

}  // namespace korvane
