// The subtitle file (.SRT) a DJI camera writes beside its clip, decoded into one fix per cue.
// The models lay a cue out differently: "[latitude: x] [longitude: y]" (some spell it
// "longtitude"), "GPS(lon,lat,sats)", "GPS (lon, lat, sats), D …, H …, H.S …, V.S …"; a cue a
// frame or a second; a date and time on the camera's clock, or none. Pure: no I/O.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "telemetry/nmea_track.h"

namespace korvane {

struct DjiSrtTrack {
  std::vector<NmeaFix> fixes;  // in media order; cameraTime on the camera's clock
  int backwards = 0;           // cues before the one read last, left out
  int undated = 0;             // fixes dated by the clip (a file without dates)
  int withoutPosition = 0;     // cues with no position that reads
};

// Reads a file's lines one at a time, cue by cue (a cue ends at a blank line, or at the next
// cue's time line when the blank is missing).
class CDjiSrtDecoder {
 public:
  // What dates a cue without a date: the clip's start on the camera's clock, in ms; without it
  // such a cue counts from 1970.
  explicit CDjiSrtDecoder(std::optional<std::int64_t> clipStartMs = std::nullopt)
      : clipStartMs_(clipStartMs) {}
  // `line` without its line feed (a CR or a byte-order mark is passed).
  void Line(std::string_view line);
  DjiSrtTrack Finish();

 private:
  struct Cue {
    bool any = false;
    std::optional<std::int64_t> startMs;  // its time line's start: the clip's time
    std::optional<std::int64_t> dateMs;   // its date and time, ms since 1970 on the camera's clock
    std::optional<double> latitude, longitude, altitudeM, speedMs;
  };
  void EndCue();

  std::optional<std::int64_t> clipStartMs_;
  Cue cue_;
  std::optional<std::int64_t> firstDateMs_;
  std::optional<std::int64_t> lastMediaMs_;
  DjiSrtTrack track_;
};

// The whole text of a file at once.
DjiSrtTrack ParseDjiSrtText(std::string_view text,
                            std::optional<std::int64_t> clipStartMs = std::nullopt);

}  // namespace korvane
