// The SigmaStar cameras' `ssmd` GPS track (Neoline and others) decoded: each sample holds
// 40-byte little-endian records, and a record gives the day, hour, minute and second but no year
// or month, which the clip supplies. Pure: no I/O; the shell (sigmastar_source.h) reads the
// samples.
//
// A record, as the cameras write it:
//   0  float64 latitude, decimal degrees, north positive   (4294967295.0 without a fix)
//   8  float64 longitude, decimal degrees, east positive   (4294967295.0 without a fix)
//  16  int32   altitude, m                                  (-1 without a fix)
//  20  uint16  speed, km/h                                  (0xffff without a fix)
//  22  two bytes not read (126 and a small count in every clip seen)
//  24  uint8   day of month, hour, minute, second: UTC with a fix, the camera's clock without
//  28  uint8   heading / 2, degrees                         (0xff without a fix)
//  29  uint8   1 with a fix, 0 without; the rest not read
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "telemetry/civil_date.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

inline constexpr std::size_t kSsmdRecordBytes = 40;
// Most records one sample may hold: a camera writes one a second, so a sample above this is not
// this track.
inline constexpr std::size_t kSsmdMaxSampleBytes = 64 * kSsmdRecordBytes;

struct SsmdRecord {
  enum class Kind { Fix, NoFix, Unreadable };
  Kind kind = Kind::Unreadable;
  unsigned day = 0, hour = 0, minute = 0, second = 0;
  double latitude = 0.0, longitude = 0.0;  // with a fix only
  float altitudeM = 0.0f, speedKmh = 0.0f, headingDeg = 0.0f;
};

// One record. Unreadable for anything but 40 bytes, a day outside 1..31, a time of day that is
// none, or a position that is NaN, infinite or off the globe; NoFix for the no-fix mark.
SsmdRecord DecodeSsmdRecord(std::span<const std::uint8_t> record);

struct SsmdTrack {
  std::vector<TelemetryRecord> records;  // fixes (valid) and moments without one, in clip order
  int fixes = 0;
  int noFix = 0;
  int skipped = 0;  // records unreadable, of an impossible date, or in a sample of a bad size
};

// The records of a track, sample by sample, each dated in the month the clip gives: the first
// record's day is put in the month of `clipDate` or the one before or after, whichever is
// nearest to it (a clip named in local time may start on the other side of a month's end in
// UTC), and a later day smaller than the first one is in the next month (a day one less is the
// camera's clock beside UTC around midnight, kept in the first one's month).
class CSsmdTrackDecoder {
 public:
  explicit CSsmdTrackDecoder(const CivilDate& clipDate) : clipDate_(clipDate) {}
  // A sample whose size is no multiple of 40 is skipped whole (its records counted); its records
  // play spread evenly from `startMs` over `durationMs`.
  void AddSample(std::span<const std::uint8_t> sample, std::int64_t startMs,
                 std::int64_t durationMs);
  const SsmdTrack& track() const { return track_; }

 private:
  bool Date(const SsmdRecord& record, CivilTime& time);

  CivilDate clipDate_;
  bool anchored_ = false;
  std::int64_t anchorYear_ = 0;
  unsigned anchorMonth_ = 0, firstDay_ = 0;
  SsmdTrack track_;
};

}  // namespace korvane
