#include "telemetry/navigation_track.h"

#include <algorithm>

namespace korvane {

void CNavigationTrack::Clear() {
  std::lock_guard lock(lock_);
  points_.clear();
  complete_ = false;
  ++generation_;
}

void CNavigationTrack::Append(const TelemetryRecord& record) {
  if (!record.valid || record.mediaTimeMs < 0) return;
  NavPoint point;
  point.timeMs = record.mediaTimeMs;
  point.longitude = record.longitude;
  point.latitude = record.latitude;
  point.speedKmh = record.speedKmh;
  point.accelX = record.accelX;
  point.accelY = record.accelY;
  point.accelZ = record.accelZ;
  point.year = record.year;
  point.month = record.month;
  point.day = record.day;
  point.hour = record.hour;
  point.minute = record.minute;
  point.second = record.second;
  std::lock_guard lock(lock_);
  if (points_.empty() || points_.back().timeMs <= point.timeMs) {
    points_.push_back(point);
    return;
  }
  const auto at =
      std::upper_bound(points_.begin(), points_.end(), point.timeMs,
                       [](std::int32_t time, const NavPoint& p) { return time < p.timeMs; });
  points_.insert(at, point);
}

void CNavigationTrack::MarkComplete() {
  std::lock_guard lock(lock_);
  complete_ = true;
}

bool CNavigationTrack::complete() const {
  std::lock_guard lock(lock_);
  return complete_;
}

std::uint32_t CNavigationTrack::generation() const {
  std::lock_guard lock(lock_);
  return generation_;
}

std::size_t CNavigationTrack::size() const {
  std::lock_guard lock(lock_);
  return points_.size();
}

std::int32_t CNavigationTrack::endMs() const {
  std::lock_guard lock(lock_);
  return points_.empty() ? -1 : points_.back().timeMs;
}

std::optional<NavPoint> CNavigationTrack::Nearest(std::int64_t timeMs) const {
  std::lock_guard lock(lock_);
  if (points_.empty()) return std::nullopt;
  const auto after =
      std::lower_bound(points_.begin(), points_.end(), timeMs,
                       [](const NavPoint& p, std::int64_t time) { return p.timeMs < time; });
  if (after == points_.begin()) return *after;
  if (after == points_.end()) return points_.back();
  const auto before = after - 1;
  return timeMs - before->timeMs <= after->timeMs - timeMs ? *before : *after;
}

std::vector<NavPoint> CNavigationTrack::Points() const {
  std::lock_guard lock(lock_);
  return points_;
}

}  // namespace korvane
