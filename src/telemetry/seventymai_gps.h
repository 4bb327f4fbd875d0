// The GPS log a 70mai camera keeps for a whole card folder (GPSData*.txt: a "$V02" header, then
// one line a second: unixTime time, status, decimal degrees, speed, heading, the accelerometer and
// the name of the front clip being written), decoded into the fixes of one clip. Pure: no I/O.
// The speed is taken as km/h, as the camera shows it (the corpus log stands still throughout).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "telemetry/nmea_track.h"

namespace korvane {

// Accelerometer counts per g: the standing car's vertical axis reads 100.
inline constexpr double kSeventyMaiCountsPerG = 100.0;

struct SeventyMaiTrack {
  std::vector<NmeaFix> fixes;  // the clip's, in time order from its first; unixTime time (UTC)
  int badLines = 0;            // lines that do not read
  int unnamed = 0;             // lines without a clip name matched by their time
  // The whole hours from the clip names' clock to UTC, measured from the lines that carry both.
  int offsetHours = 0;
};

// Collects a clip's lines from a log's lines, one at a time. A line belongs to the clip it
// names; a line naming none goes to the named clip (this one or another in the log) that
// started last before it, its start put on UTC by the measured offset. A line naming another
// clip, one that may not exist, is not this clip's.
class CSeventyMaiDecoder {
 public:
  // `clipName`: the clip's file name ("NO20260712-195504-000000F.MP4").
  explicit CSeventyMaiDecoder(std::string clipName);
  // `line` without its line feed.
  void Line(std::string_view line);
  SeventyMaiTrack Finish();

 private:
  struct Entry {
    std::int64_t unixTime = 0;
    bool ours = false;  // else without a name
    NmeaFix fix;
  };
  std::string clipName_;
  std::int64_t clipNameTime_ = 0;  // seconds on the names' clock; 0 for a name without one
  std::vector<Entry> lines_;
  std::string lastName_;  // the name of the line before, and its time
  std::int64_t lastNameTime_ = 0;
  std::vector<std::int64_t> starts_;   // the named clips' name times, as seen
  std::vector<std::int64_t> offsets_;  // unixTime time less name time, per named line
  SeventyMaiTrack track_;
};

SeventyMaiTrack ParseSeventyMaiGps(std::string_view text, const std::string& clipName);

}  // namespace korvane
