#include "chart/chart_cursor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace DuiLib {

int NearestTimedPoint(const CCurve& curve, double x) {
  if (std::isnan(x)) return -1;
  int best = -1;
  double bestDistance = 0;
  const std::size_t n = curve.PointCount();
  for (std::size_t i = 0; i < n; ++i) {
    if (curve.TimeOf(i) < 0) continue;
    const double distance = std::fabs(curve.xs[i] - x);
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

int PointShownAt(const CCurve& curve, std::int64_t ms) {
  constexpr std::int32_t kSinglePointReach = 1000;
  int shown = -1;
  std::int32_t shownTime = -1;
  std::int32_t last = -1, beforeLast = -1;  // the two latest times of the curve
  const std::size_t n = curve.PointCount();
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t t = curve.TimeOf(i);
    if (t < 0) continue;
    if (t >= last) {
      beforeLast = last;
      last = t;
    }
    if (t <= ms && t >= shownTime) {
      shown = static_cast<int>(i);
      shownTime = t;
    }
  }
  if (shown < 0 || shownTime < last) return shown;
  const std::int64_t reach = beforeLast >= 0 ? last - beforeLast : kSinglePointReach;
  return ms - shownTime <= reach ? shown : -1;
}

std::optional<std::pair<double, double>> XSpanOf(const CCurve& curve, std::int64_t fromMs,
                                                 std::int64_t toMs) {
  std::optional<std::pair<double, double>> span;
  const std::size_t n = curve.PointCount();
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t t = curve.TimeOf(i);
    if (t < 0 || t < fromMs || t > toMs) continue;
    const double x = curve.xs[i];
    if (!span) span.emplace(x, x);
    span->first = std::min(span->first, x);
    span->second = std::max(span->second, x);
  }
  return span;
}

double XShownAt(const CCurve& curve, std::int64_t ms) {
  const int i = PointShownAt(curve, ms);
  return i >= 0 ? curve.xs[static_cast<std::size_t>(i)] : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace DuiLib
