// Finding the driving events of a clip in its full-rate G-sensor readings. Pure arithmetic on the
// index's points, no I/O, so the indexer stores what the program would find itself.
//   - each axis is measured from its own median over the clip, so a camera's tilt (Z carries
//     gravity) and sensor offset do not count;
//   - a point whose Y leaves the median by more than the threshold is braking (below) or
//     acceleration (above; swapped by `flipY`); X beyond it is cornering; the larger of the two
//     decides when both are; any axis beyond kImpactFactor thresholds is an impact;
//   - a run of such points is one event at its strongest point; events whose peaks lie closer
//     than kEventMergeMs merge into the strongest.
#pragma once
#include <span>
#include <vector>

#include "index/index_point.h"
#include "telemetry/drive_event.h"

namespace korvane {

// The events of `points` (track order) in time order. No points, a single point, or readings that
// never leave their median: none. A threshold that is not a finite number within
// kMinEventThresholdG … kMaxEventThresholdG is taken as the default.
std::vector<DriveEvent> DetectEvents(std::span<const IndexPoint> points, EventRules rules);

}  // namespace korvane
