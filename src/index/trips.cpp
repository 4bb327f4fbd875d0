#include "index/trips.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <unordered_map>

#include "index/clip_channels.h"

namespace korvane {
namespace {

// The distance of the part of `clip` after `coveredUntil`, the last camera time of the trip's
// clips before it.
double DistanceAfter(const ClipSummary& clip, std::int64_t coveredUntil) {
  if (!std::isfinite(clip.distanceM)) return 0.0;
  if (clip.firstCameraTime >= coveredUntil) return clip.distanceM;
  const std::int64_t span = clip.lastCameraTime - clip.firstCameraTime;
  const std::int64_t after = clip.lastCameraTime - coveredUntil;
  if (span <= 0 || after <= 0) return 0.0;
  return clip.distanceM * static_cast<double>(after) / static_cast<double>(span);
}

}  // namespace

bool HasTripTelemetry(const ClipSummary& clip) {
  return clip.pointCount > 0 && (clip.firstCameraTime != 0 || clip.lastCameraTime != 0);
}

std::vector<ClipSummary> OnePerMoment(std::vector<ClipSummary> clips) {
  struct Chosen {
    std::size_t clip;
    CameraChannel channel;
  };
  std::unordered_map<std::string, std::size_t> slotOf;  // moment → index into `chosen`
  std::vector<Chosen> chosen;
  for (std::size_t i = 0; i < clips.size(); ++i) {
    const ClipMoment moment = MomentOf(clips[i].path);
    const auto [slot, added] = slotOf.emplace(moment.moment, chosen.size());
    if (added) {
      chosen.push_back({i, moment.channel});
      continue;
    }
    Chosen& held = chosen[slot->second];
    const bool heldHas = HasTripTelemetry(clips[held.clip]);
    const bool has = HasTripTelemetry(clips[i]);
    if ((has && !heldHas) || (has == heldHas && moment.channel < held.channel)) {
      held = {i, moment.channel};
    }
  }
  std::vector<ClipSummary> once;
  once.reserve(chosen.size());
  for (const Chosen& c : chosen) once.push_back(std::move(clips[c.clip]));
  return once;
}

void ApplyClockOffsets(std::span<ClipSummary> clips, const ClockOffsets& offsets) {
  if (offsets.empty()) return;
  for (ClipSummary& clip : clips) {
    if (clip.traits.clock != SourceClock::Camera ||
        (clip.firstCameraTime == 0 && clip.lastCameraTime == 0)) {
      continue;
    }
    const int seconds = offsets.OfClip(clip.path);
    clip.firstCameraTime += seconds;
    clip.lastCameraTime += seconds;
  }
}

std::vector<Trip> GroupTrips(std::vector<ClipSummary> clips) {
  clips = OnePerMoment(std::move(clips));
  std::erase_if(clips, [](const ClipSummary& c) { return !HasTripTelemetry(c); });
  std::map<std::string, std::vector<ClipSummary>> byCamera;
  for (ClipSummary& clip : clips) byCamera[MomentOf(clip.path).camera].push_back(std::move(clip));

  std::vector<Trip> trips;
  for (auto& [camera, members] : byCamera) {
    std::sort(members.begin(), members.end(), [](const ClipSummary& a, const ClipSummary& b) {
      return std::tie(a.firstCameraTime, a.path) < std::tie(b.firstCameraTime, b.path);
    });
    Trip* open = nullptr;
    for (ClipSummary& clip : members) {
      if (open == nullptr || clip.firstCameraTime - open->lastCameraTime > kTripGapSeconds) {
        trips.push_back(Trip{camera, {}, clip.firstCameraTime, clip.lastCameraTime});
        open = &trips.back();
        open->distanceM = DistanceAfter(clip, clip.firstCameraTime);
      } else {
        open->distanceM += DistanceAfter(clip, open->lastCameraTime);
      }
      open->lastCameraTime = std::max(open->lastCameraTime, clip.lastCameraTime);
      open->clips.push_back(std::move(clip));
    }
  }
  std::sort(trips.begin(), trips.end(), [](const Trip& a, const Trip& b) {
    return std::tie(a.firstCameraTime, a.camera) < std::tie(b.firstCameraTime, b.camera);
  });
  return trips;
}

}  // namespace korvane
