// One NMEA 0183 line decoded into what a track needs of it: the RMC and GGA fixes ($GP, $GN) and
// the dash cameras' accelerometer lines ($GSENSOR in counts, $GSENSORD in g). Pure: no state
// between lines, no allocation. A sentence with a '*' must carry the XOR checksum of its body;
// the cameras write their G-sensor lines without one, so those are taken unchecked when no '*'
// follows them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace korvane {

// $GSENSOR counts per g: the cameras that write it read about 976 on the vertical axis of a
// standing car, i.e. milli-g (1 g = 1000).
inline constexpr double kGSensorCountsPerG = 1000.0;

enum class NmeaKind {
  Blank,  // an empty line
  Other,  // a sentence with a good checksum that is not one of ours
  Bad,    // no '$', a checksum that is wrong or missing, a field of ours that does not read
  Rmc,
  Gga,
  Accel,
};

struct NmeaSentence {
  static constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
  NmeaKind kind = NmeaKind::Blank;
  std::int64_t dayMs = 0;         // Rmc, Gga: UTC time of day in ms
  std::int64_t days = 0;          // Rmc: UTC date, days since 1970-01-01
  bool fix = false;               // Rmc: status A; Gga: fix quality above 0
  double latitude = 0.0;          // north positive; read only with `fix`
  double longitude = 0.0;         // east positive
  double knots = kUnknown;        // Rmc: speed over ground
  double courseDeg = kUnknown;    // Rmc: course over ground, true north
  double altitudeM = kUnknown;    // Gga: above mean sea level
  double g[3] = {0.0, 0.0, 0.0};  // Accel: x, y, z in g
};

// `line` without its line feed; anything before the first '$' (a logger's time prefix) is passed.
NmeaSentence DecodeNmeaSentence(std::string_view line);

// A sentence as a camera embeds it in other text: with or without its '$', and without one, the
// "*hh" checksum optional (checked when there). Bad for anything else.
NmeaSentence DecodeBareNmeaSentence(std::string_view sentence);

// The longest line read as a sentence: NMEA allows 82 characters; some loggers write more.
inline constexpr std::size_t kMaxNmeaSentence = 120;

// An RMC sentence's fields after its name (time, status, latitude, N/S, longitude, E/W, knots,
// course, date), read as DecodeNmeaSentence reads them from a checked sentence, for a log that
// keeps them in a layout of its own: Rmc, or Bad when one does not read or there are not nine.
NmeaSentence DecodeRmcFields(std::span<const std::string_view> fields);

// "$<body>*HH" with the body's checksum, as a receiver writes a sentence (no line break).
std::string FormatNmeaSentence(std::string_view body);

}  // namespace korvane
