// GPX 1.0 and 1.1 tracks recorded by another device: their timed track points read with pugixml,
// and the position at any moment between them. pugixml expands no entity a document declares (it
// skips the DOCTYPE), so a billion-laughs payload stays a few bytes of text: any file reads in
// time and memory bounded by its size, which is itself bounded.
#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "telemetry/telemetry_record.h"

namespace korvane {

struct GpxPoint {
  std::int64_t utcMs = 0;  // since 1970-01-01 UTC
  double latitude = 0.0;
  double longitude = 0.0;
  float speedKmh = -1.0f;  // from <speed> (GPX 1.0, m/s); −1: not given
  float altitudeM = std::numeric_limits<float>::quiet_NaN();  // from <ele>; NaN: not given
  bool segmentStart = false;  // first point of a <trkseg>: no line joins it to the one before
};

struct GpxTrack {
  std::vector<GpxPoint> points;  // timed points in time order
  int untimed = 0;               // points without a readable <time>, left out
  int badPoints = 0;             // lat/lon missing or out of range, left out
};

// A file larger than this is refused (ten hours at 10 Hz is about 150 MB of GPX).
constexpr std::size_t kMaxGpxBytes = std::size_t{256} << 20;
// Two track points further apart in time than this are not joined: the moments between them
// have no position.
constexpr std::int64_t kGpxMaxGapMs = 10'000;
// The feed takes an imported clip's position at this step.
constexpr std::int32_t kGpxRecordStepMs = 200;

// ISO 8601 "YYYY-MM-DDThh:mm:ss[.fff][Z|±hh:mm]" (no zone: UTC) in ms since 1970; nullopt for
// anything else.
std::optional<std::int64_t> ParseGpxTime(std::string_view text);

// The track points of a GPX 1.0 or 1.1 document, every <trkseg> of every <trk>; extensions
// (a Garmin TrackPointExtension's heart rate, cadence, temperature) are passed over. nullopt with
// `error` for a document that does not parse, is not GPX, or has no point with a time.
std::optional<GpxTrack> ParseGpxText(std::string_view xml, std::string& error);
// The same for a file, refused (nullopt, `error`) when it cannot be read or is larger than
// `maxBytes`.
std::optional<GpxTrack> ReadGpxFile(const std::string& path, std::string& error,
                                    std::size_t maxBytes = kMaxGpxBytes);

// The position at `utcMs`, interpolated between the track points around it; nullopt before the
// first point, after the last, and in a gap (points more than kGpxMaxGapMs apart, or a new
// segment). Speed is the point's own when given, else the distance over the time between them;
// the altitude lies between theirs (NaN when either has none).
std::optional<GpxPoint> GpxPositionAt(std::span<const GpxPoint> points, std::int64_t utcMs);

// The records of a clip that starts at `clipStartUtcMs` and lasts `durationMs`, one every `stepMs`
// from its start, each with its media time and UTC date; a moment without a position gives a
// record with `valid` false. Empty for a clip the track does not overlap.
std::vector<TelemetryRecord> GpxClipRecords(std::span<const GpxPoint> points,
                                            std::int64_t clipStartUtcMs, std::int64_t durationMs,
                                            std::int32_t stepMs);

}  // namespace korvane
