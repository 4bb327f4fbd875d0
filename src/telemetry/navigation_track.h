// The navigation track of the file being played: every kept point that has a media time, with
// its position, speed, G-sensor values and camera date-time, in time order. Unlike the track
// store, which the playback rules empty whenever a moment shows no telemetry, only a change of
// file clears it, so seeking from the map or the chart always has the whole track to go by.
// Written by the extraction thread, read by the UI thread; every call takes the track's lock.
#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "telemetry/telemetry_record.h"

namespace korvane {

struct NavPoint {
  std::int32_t timeMs = 0;  // start of its cue in the clip
  double longitude = 0.0;   // WGS-84, as the camera wrote it
  double latitude = 0.0;
  float speedKmh = 0.0f;
  std::int32_t accelX = 0;  // raw G-sensor units
  std::int32_t accelY = 0;
  std::int32_t accelZ = 0;
  std::int32_t year = 0;
  std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class CNavigationTrack {
 public:
  // A new file: no points, not complete, and a new generation, by which the pages of the previous
  // file are told apart from the current one.
  void Clear();
  // Takes a valid record with a media time (mediaTimeMs ≥ 0); anything else is ignored. A point
  // earlier than the last one is put in its place, so the track stays in time order.
  void Append(const TelemetryRecord& record);
  // The extraction of the current file has ended: no point will follow.
  void MarkComplete();

  bool complete() const;
  std::uint32_t generation() const;
  std::size_t size() const;
  // Time of the last point; −1 for an empty track.
  std::int32_t endMs() const;
  // The point whose time is nearest `timeMs` (the earlier one on a tie); nullopt when empty.
  std::optional<NavPoint> Nearest(std::int64_t timeMs) const;
  // A copy of every point, for the map's and the chart's readers and for tests.
  std::vector<NavPoint> Points() const;

 private:
  mutable std::mutex lock_;
  std::vector<NavPoint> points_;
  bool complete_ = false;
  std::uint32_t generation_ = 0;
};

}  // namespace korvane
