// Where the chart meets the clip's time: which curve point the playing moment is at, which point
// lies under the mouse, and the G-sensor readings as G. Pure: no drawing, no locking (the caller
// holds the chart's data lock).
#pragma once
#include <cstdint>
#include <optional>
#include <utility>

#include "chart/curve.h"
#include "telemetry/g_sensor.h"

namespace DuiLib {

// The G-sensor readings as G, as the export writes them.
using korvane::AccelerationInG;

// Index of the point with a media time whose x is nearest `x`, the earlier one on a tie; −1 when
// the curve has no timed point or `x` is not a number.
int NearestTimedPoint(const CCurve& curve, double x);

// Index of the point shown at moment `ms` of the clip: the last one whose time is at or before
// `ms`. Past the curve's last timed point a moment is shown there only within one step of the
// points (the time between the last two; a second for a single point). −1 when there is none.
int PointShownAt(const CCurve& curve, std::int64_t ms);

// Raw x of the point shown at moment `ms` (PointShownAt); NaN when there is none.
double XShownAt(const CCurve& curve, std::int64_t ms);

// Raw x of the leftmost and the rightmost timed point whose moment lies in [fromMs, toMs]; nullopt
// when none does (a stretch the curve has not reached yet shows nothing).
std::optional<std::pair<double, double>> XSpanOf(const CCurve& curve, std::int64_t fromMs,
                                                 std::int64_t toMs);

}  // namespace DuiLib
