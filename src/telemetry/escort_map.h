// The trip log (.map) an Escort camera writes beside its clip, one line a second:
// "A,DDMMYY,HHMMSS,DDmm.mmmm,N,DDDmm.mmmm,W,speed,ax,ay,az;" — a receiver's status, UTC date and
// time and position as an RMC sentence has them, the speed in km/h and the accelerometer in g.
// Pure: no I/O.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "telemetry/nmea_track.h"

namespace korvane {

// The speed is km/h: the sample's 115–117 on a motorway, where mph would be 185 km/h.
struct EscortMapTrack {
  std::vector<NmeaFix> fixes;  // in time order, timed from the first
  int badLines = 0;            // lines that do not read
  int backwards = 0;           // lines before the one read last, left out
};

// Reads the log's lines one at a time.
class CEscortMapDecoder {
 public:
  // `line` without its line feed.
  void Line(std::string_view line);
  EscortMapTrack Finish() { return std::move(track_); }

 private:
  EscortMapTrack track_;
  std::int64_t firstMs_ = 0;
  std::int64_t lastMs_ = 0;
};

EscortMapTrack ParseEscortMapText(std::string_view text);

}  // namespace korvane
