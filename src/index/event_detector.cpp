#include "index/event_detector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace korvane {

namespace {

// The median of one axis in g; the mean of the two middle values for an even count.
double MedianG(std::span<const IndexPoint> points, float IndexPoint::*axis,
               std::vector<float>& scratch) {
  scratch.clear();
  for (const IndexPoint& p : points) scratch.push_back(p.*axis);
  const std::size_t mid = scratch.size() / 2;
  std::nth_element(scratch.begin(), scratch.begin() + mid, scratch.end());
  const double upper = scratch[mid];
  if (scratch.size() % 2 != 0) return upper;
  const double lower = *std::max_element(scratch.begin(), scratch.begin() + mid);
  return (lower + upper) / 2;
}

struct Candidate {
  DriveEventKind kind;
  double strength;  // G away from the median on the deciding axis
};

std::optional<Candidate> Classify(double dx, double dy, double dz, const EventRules& rules) {
  const double ax = std::fabs(dx), ay = std::fabs(dy), az = std::fabs(dz);
  const double strongest = std::max({ax, ay, az});
  if (strongest > rules.thresholdG * kImpactFactor)
    return Candidate{DriveEventKind::Impact, strongest};
  if (ay > rules.thresholdG && ay >= ax) {
    const bool below = dy < 0;
    return Candidate{below != rules.flipY ? DriveEventKind::Braking : DriveEventKind::Acceleration,
                     ay};
  }
  if (ax > rules.thresholdG) return Candidate{DriveEventKind::Cornering, ax};
  return std::nullopt;
}

}  // namespace

std::vector<DriveEvent> DetectEvents(std::span<const IndexPoint> points, EventRules rules) {
  if (!std::isfinite(rules.thresholdG) || rules.thresholdG < kMinEventThresholdG ||
      rules.thresholdG > kMaxEventThresholdG) {
    rules.thresholdG = kDefaultEventThresholdG;
  }
  std::vector<DriveEvent> events;
  if (points.size() < 2) return events;  // one reading is its own median

  std::vector<float> scratch;
  scratch.reserve(points.size());
  const double mx = MedianG(points, &IndexPoint::gX, scratch);
  const double my = MedianG(points, &IndexPoint::gY, scratch);
  const double mz = MedianG(points, &IndexPoint::gZ, scratch);

  // Each run of points beyond the threshold gives its strongest point.
  std::optional<DriveEvent> run;
  auto endRun = [&] {
    if (!run) return;
    // Peaks closer than the merge time than the last event kept: the stronger one stays.
    if (!events.empty() && run->mediaMs - events.back().mediaMs < kEventMergeMs) {
      if (run->peakG > events.back().peakG) events.back() = *run;
    } else {
      events.push_back(*run);
    }
    run.reset();
  };
  for (const IndexPoint& p : points) {
    const std::optional<Candidate> c = Classify(p.gX - mx, p.gY - my, p.gZ - mz, rules);
    if (!c) {
      endRun();
      continue;
    }
    if (!run || c->strength > run->peakG) {
      run =
          DriveEvent{c->kind, static_cast<float>(c->strength), p.mediaMs, p.latitude, p.longitude};
    }
  }
  endRun();
  return events;
}

}  // namespace korvane
