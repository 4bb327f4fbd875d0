// The GPS and accelerometer of a `gpmd` track: each sample's GPMF payload decoded into its
// devices' streams (GPS9 or GPS5 of a camera, a drone's position stream, ACCL), then the track's
// records from the device that has a position, in sample order. Pure over bytes.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "telemetry/telemetry_record.h"

namespace korvane {

// One GPS reading of a payload.
struct GpmfFix {
  double latitude = 0, longitude = 0;  // signed degrees
  double altitudeM = 0;
  double speedMs = 0;      // over ground
  double headingDeg = -1;  // below 0 where the stream has none
  // The reading's own UTC time (GPS9, or the GPSU of a GPS5 stream, which times its first
  // reading); nullopt where the device times it by its system clock (`systemSeconds`).
  std::optional<std::int64_t> utcMs;
  bool ownTime = false;  // utcMs is this reading's (GPS9), not its stream's
  double systemSeconds = 0;
  bool fix = false;  // a position the receiver vouches for
};

struct GpmfDevice {
  std::string name;       // DVNM: "Camera", "HERO11 Black", "GoPro Karma v1.0"...
  std::string gpsStream;  // "GPS9", "GPS5" or "GLPI"; empty without GPS
  std::vector<GpmfFix> gps;
  std::vector<std::array<double, 3>> accel;  // m/s², x y z as the stream's ORIN names them
};

struct GpmfPayload {
  std::vector<GpmfDevice> devices;
  // A drone's system clock against UTC (SYST): seconds on each.
  std::vector<std::array<double, 2>> systemTimes;
  std::string problem;  // what did not read; empty when everything did
};

// Most GPS or ACCL readings taken from one payload (a second at a few kHz).
inline constexpr std::size_t kMaxGpmfReadings = 20'000;

// One sample's payload. GPS9 is taken over GPS5 where a device has both. A GPS5 reading has a
// fix when its stream's GPSF is 2 or 3 (or absent) and its GPSP below kPoorGpmfPrecision; a GPS9
// one by its own fix and DOP fields. A stream whose SCAL is zero or does not fit is skipped.
GpmfPayload DecodeGpmfPayload(std::span<const std::uint8_t> bytes);

// GPSP (DOP × 100) at and above which a fix is too poor to be a point.
inline constexpr double kPoorGpmfPrecision = 2000;

struct GpmfSample {
  GpmfPayload payload;
  std::int64_t startMs = 0;     // in the clip
  std::int64_t durationMs = 0;  // 0 for a sample whose duration is unknown
};

struct GpmfTrack {
  std::vector<TelemetryRecord> records;  // mediaTimeMs set; without a fix `valid` false
  int fixes = 0;
  int readings = 0;          // GPS readings of the device read, fixes or not
  std::string device;        // whose GPS was read
  bool otherDevice = false;  // not the first device's (a drone's, under a camera without GPS)
  std::string gpsStream;
  bool gValues = false;  // the records carry accelerations
  std::string problem;   // the samples' problems, each once
};

// Most records taken from one track: a day at ten a second.
inline constexpr std::size_t kMaxGpmfRecords = 864'000;

// The track's records, at most kMaxGpmfRecords. The GPS is the first device's (in payload order)
// that has a fix, else the first that has readings. A sample's n readings are spread over its
// duration: reading i plays at start + i × duration / n and, where it has no time of its own, is
// timed its stream's GPSU + i × duration / n; a drone's readings are timed by its system clock
// against UTC, interpolated between (or beyond) the nearest two calibrations of the track, offset
// by a single one. Each reading carries the mean of the ACCL readings that share its part of the
// sample, in g.
GpmfTrack ReadGpmfTrack(std::span<const GpmfSample> samples);

}  // namespace korvane
