// The Vueroid cameras' `mp4s` telemetry track (handler `tvxt`) decoded: one 72-byte little-endian
// record a sample, twenty a second, with the GPS fix of the second and the accelerometer's
// reading of the moment. Pure: no I/O; the shell (vueroid_source.h) reads the samples.
//
// A record, as read from the cameras' clips (the fields at 52 to 55 from one clip, in the north
// and east, that holds 1, 0 and 55 there):
//   0  40 bytes not read (zero in every clip seen)
//  40  float32 x3 accelerometer, g: multiples of 1/256 g, the sensor's counts at 256 a g; at
//      rest the vector is gravity's 0.8 to 1 g plus the sensor's offset, so the clip's mean
//      reading is taken off each axis
//  52  uint8   1 with a fix, 0 without
//  53  uint8   hemispheres: bit 0 south, bit 1 west
//  54  int16   altitude, m
//  56  float32 speed, km/h
//  60  float32 latitude, DDmm.mmmm (degrees times 100 plus minutes)
//  64  float32 longitude, DDDmm.mmmm
//  68  uint32  the camera's local clock as seconds since 1970 written as if UTC (0: none)
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "telemetry/telemetry_record.h"

namespace korvane {

inline constexpr std::size_t kVueroidRecordBytes = 72;

struct VueroidRecord {
  enum class Kind { Fix, NoFix, Unreadable };
  Kind kind = Kind::Unreadable;
  std::int64_t cameraSeconds = 0;  // on the camera's clock; with a time only
  bool hasTime = false;
  double latitude = 0.0, longitude = 0.0;  // signed degrees; with a fix only
  float speedKmh = 0.0f, altitudeM = 0.0f;
  float g[3] = {0.0f, 0.0f, 0.0f};  // as written, offset included
};

// One record. Unreadable for anything but 72 bytes, a NaN or infinite number, a reading above
// 16 g, a position off
// the globe or minutes of 60 and more, or a time before 2000 or after 2099 (0 is none: NoFix
// without a time); NoFix for status 0.
VueroidRecord DecodeVueroidRecord(std::span<const std::uint8_t> record);

struct VueroidTrack {
  std::vector<TelemetryRecord> records;  // fixes (valid) and dated moments without one
  int fixes = 0;
  int noFix = 0;
  int skipped = 0;  // records unreadable or of a sample not 72 bytes long
  bool gValues = false;
  float offsetG[3] = {0.0f, 0.0f, 0.0f};  // the mean reading taken off each axis
};

// The records of a track, sample by sample. The camera writes the second only, so a record's
// milliseconds are its media time since the first record of that second (at most 999).
class CVueroidTrackDecoder {
 public:
  void AddSample(std::span<const std::uint8_t> sample, std::int64_t startMs);
  // The track, with the per-clip mean of the fixes' readings taken off each axis.
  VueroidTrack Finish();

 private:
  VueroidTrack track_;
  std::int64_t second_ = -1, secondStartMs_ = 0;
  double sum_[3] = {0.0, 0.0, 0.0};
};

}  // namespace korvane
