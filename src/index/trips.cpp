#include "index/trips.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/path_parts.h"

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

std::string TripChannel(std::string_view clipPath) {
  const SplitPathResult parts = SplitPath(clipPath);
  const std::size_t nameStart = parts.folder.size();
  std::string channel = parts.folder;
  for (const char c : parts.stem) {
    if (c >= '0' && c <= '9') continue;
    // Separators that only stood between numbers ("20210105_101500") count once.
    const bool separator = c == '_' || c == '-' || c == ' ';
    if (separator && channel.size() > nameStart && channel.back() == c) continue;
    channel += c;
  }
  return parts.stem.size() == parts.fileName.size() ? channel : channel + "." + parts.extension;
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
  std::erase_if(clips, [](const ClipSummary& c) {
    return c.pointCount <= 0 || (c.firstCameraTime == 0 && c.lastCameraTime == 0);
  });
  std::map<std::string, std::vector<ClipSummary>> byChannel;
  for (ClipSummary& clip : clips) byChannel[TripChannel(clip.path)].push_back(std::move(clip));

  std::vector<Trip> trips;
  for (auto& [channel, members] : byChannel) {
    std::sort(members.begin(), members.end(), [](const ClipSummary& a, const ClipSummary& b) {
      return std::tie(a.firstCameraTime, a.path) < std::tie(b.firstCameraTime, b.path);
    });
    Trip* open = nullptr;
    for (ClipSummary& clip : members) {
      if (open == nullptr || clip.firstCameraTime - open->lastCameraTime > kTripGapSeconds) {
        trips.push_back(Trip{channel, {}, clip.firstCameraTime, clip.lastCameraTime});
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
    return std::tie(a.firstCameraTime, a.channel) < std::tie(b.firstCameraTime, b.channel);
  });
  return trips;
}

}  // namespace korvane
