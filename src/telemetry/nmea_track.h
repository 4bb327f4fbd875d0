// NMEA 0183 GPS logs kept beside a clip (a "sidecar": the clip's base name with .nmea, .NMEA,
// .gps or .txt): finding one and reading its sentences (nmea_sentence.h) into one fix per moment.
// The RMC and GGA of a moment make one fix: RMC gives the date, speed and course, GGA the
// altitude and fix quality. A GGA dates itself by the last RMC before it; a GGA before the log's
// first RMC has no date and is left out, unless the log has no RMC at all, when the clip's date
// dates it. A G-sensor line is the accelerometer of the fix moment before it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "telemetry/nmea_sentence.h"

namespace korvane {

// One moment of the log.
struct NmeaFix {
  std::int32_t mediaMs = 0;     // from the log's earliest fix, which is the clip's start
  std::int64_t cameraTime = 0;  // the receiver's UTC date and time, seconds since 1970-01-01
  std::int32_t milliseconds = 0;
  bool valid = false;      // RMC status A and GGA quality above 0, as far as either was written
  double latitude = 0.0;   // north positive
  double longitude = 0.0;  // east positive
  float speedKmh = 0.0f;   // from knots
  float altitudeM = std::numeric_limits<float>::quiet_NaN();   // from GGA
  float headingDeg = std::numeric_limits<float>::quiet_NaN();  // RMC's course
  bool hasG = false;  // a G-sensor line followed the moment: the strongest of them, in g
  float gX = 0.0f;
  float gY = 0.0f;
  float gZ = 0.0f;
};

struct NmeaTrack {
  std::vector<NmeaFix> fixes;  // in time order, one per moment
  int badSentences = 0;        // a checksum that is missing or wrong, a field that does not read
  int undated = 0;             // GGA moments left out for want of a date
  int gWithoutFix = 0;         // G-sensor lines before the first fix, which have no time
  bool gValues = false;        // some fix carries G-sensor values
  bool truncated = false;      // the read stopped at the size bound
};

// A log larger than this is read up to it (a day at 10 Hz is about 130 MB).
constexpr std::size_t kMaxNmeaBytes = std::size_t{192} << 20;

// What dates the GGA moments of a log without RMC: the UTC start of its clip in ms. Their date
// is the one that puts the first of them nearest to it.
using NmeaUndatedStart = std::optional<std::int64_t>;

// Reads the sentences of `text`, one per line (CR LF or LF).
NmeaTrack ParseNmeaText(std::string_view text, NmeaUndatedStart clipStartUtcMs = std::nullopt);

// Reads the log at `path` in blocks, never more than `maxBytes` of it (the rest is left and
// `truncated` set). nullopt when the file cannot be opened or holds not one RMC or GGA sentence
// that reads, which is how binary junk under such a name comes out.
std::optional<NmeaTrack> ReadNmeaFile(const std::string& path,
                                      NmeaUndatedStart clipStartUtcMs = std::nullopt,
                                      std::size_t maxBytes = kMaxNmeaBytes);

// The sidecar of `clipPath`: the first of base name + ".nmea", ".NMEA", ".gps", ".txt" that is
// a regular file (not .gps for a clip named as BlackVue names them); nullopt when there is none.
std::optional<std::string> FindNmeaSidecar(const std::string& clipPath);

}  // namespace korvane
