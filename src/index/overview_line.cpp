#include "index/overview_line.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <queue>

namespace korvane {

namespace {

struct Planar {
  double x;
  double y;
};

// Distance from p to the segment a-b in the plane (not to the infinite line: a route that turns
// back on itself must keep its turn).
double SegmentDistance(Planar p, Planar a, Planar b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// A span between two kept points and the farthest point inside it.
struct Split {
  double distance;
  std::size_t first;
  std::size_t last;
  std::size_t farthest;
  bool operator<(const Split& other) const { return distance < other.distance; }
};

}  // namespace

std::vector<IndexPoint> SimplifyOverview(std::span<const IndexPoint> points,
                                         std::size_t maxPoints) {
  maxPoints = std::max<std::size_t>(maxPoints, 2);
  if (points.size() <= maxPoints) return {points.begin(), points.end()};

  // A local equirectangular plane: one clip spans a few kilometres, where this is exact enough to
  // rank deviations.
  double meanLatitude = 0.0;
  for (const IndexPoint& p : points) meanLatitude += p.latitude;
  meanLatitude /= static_cast<double>(points.size());
  const double xScale = std::cos(meanLatitude * std::numbers::pi / 180.0);
  std::vector<Planar> plane(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    plane[i] = {points[i].longitude * xScale, points[i].latitude};
  }

  auto makeSplit = [&](std::size_t first, std::size_t last) {
    Split split{0.0, first, last, first};
    for (std::size_t i = first + 1; i < last; ++i) {
      const double d = SegmentDistance(plane[i], plane[first], plane[last]);
      if (d > split.distance) split = {d, first, last, i};
    }
    return split;
  };

  std::vector<bool> kept(points.size(), false);
  kept.front() = kept.back() = true;
  std::size_t keptCount = 2;
  std::priority_queue<Split> splits;
  splits.push(makeSplit(0, points.size() - 1));
  while (keptCount < maxPoints && !splits.empty() && splits.top().distance > 0.0) {
    const Split split = splits.top();
    splits.pop();
    kept[split.farthest] = true;
    ++keptCount;
    if (split.farthest - split.first > 1) splits.push(makeSplit(split.first, split.farthest));
    if (split.last - split.farthest > 1) splits.push(makeSplit(split.farthest, split.last));
  }

  std::vector<IndexPoint> line;
  line.reserve(keptCount);
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (kept[i]) line.push_back(points[i]);
  }
  return line;
}

}  // namespace korvane
