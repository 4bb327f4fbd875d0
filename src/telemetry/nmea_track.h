// NMEA 0183 GPS logs kept beside a clip (a "sidecar": the clip's base name with .nmea, .NMEA,
// .gps or .txt): finding one and reading its $GPRMC/$GNRMC sentences into a track, with the
// $GPGGA/$GNGGA fix quality of the same moment. Such logs carry no G-sensor values.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// One RMC sentence of the log.
struct NmeaFix {
  std::int32_t mediaMs = 0;     // from the first fix of the log, which is the clip's start
  std::int64_t cameraTime = 0;  // the receiver's UTC date and time, seconds since 1970-01-01
  std::int32_t milliseconds = 0;
  bool valid = false;      // status A and no GGA of the same moment saying "no fix"
  double latitude = 0.0;   // north positive
  double longitude = 0.0;  // east positive
  float speedKmh = 0.0f;   // from knots
};

struct NmeaTrack {
  std::vector<NmeaFix> fixes;  // in log order
  int badSentences = 0;        // a checksum that is missing or wrong, a field that does not read
  bool truncated = false;      // the read stopped at the size bound
};

// A log larger than this is read up to it (a day at 10 Hz is about 130 MB).
constexpr std::size_t kMaxNmeaBytes = std::size_t{192} << 20;

// Reads the sentences of `text`, one per line (CR LF or LF). Sentences other than RMC and GGA
// with a good checksum are skipped without being counted. A fix whose moment lies before the
// first one's is kept in log order with a negative media time.
NmeaTrack ParseNmeaText(std::string_view text);

// Reads the log at `path` in blocks, never more than `maxBytes` of it (the rest is left and
// `truncated` set). nullopt when the file cannot be opened or holds not one RMC or GGA sentence
// with a good checksum, which is how binary junk under such a name comes out.
std::optional<NmeaTrack> ReadNmeaFile(const std::string& path,
                                      std::size_t maxBytes = kMaxNmeaBytes);

// "$<body>*HH" with the body's checksum, as a receiver writes a sentence (no line break).
std::string FormatNmeaSentence(std::string_view body);

// The sidecar of `clipPath`: the first of base name + ".nmea", ".NMEA", ".gps", ".txt" that is
// a regular file; nullopt when there is none.
std::optional<std::string> FindNmeaSidecar(const std::string& clipPath);

}  // namespace korvane
