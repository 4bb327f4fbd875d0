// Thinkware cameras' telemetry subtitle track: one `tx3g` cue (a 16-bit big-endian length, then
// text) decoded to its accelerometer reading and, in about one cue a second, its RMC fix, and the
// track read through the MP4 sample table into records. Pure: no I/O; the track is read over a
// read-at function, cue by cue, never the video.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "telemetry/mp4_boxes.h"
#include "telemetry/nmea_sentence.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

// A cue's text is well under 200 bytes; a longer sample is not one of these cues.
inline constexpr std::size_t kMaxThinkwareCueBytes = 1024;

struct ThinkwareCue {
  bool thinkware = false;  // the text is of this form (a `gsensori` part, or an RMC and `CAR`)
  bool hasG = false;
  float g[3] = {0.0f, 0.0f, 0.0f};  // in g: counts over (full scale / range in g)
  bool hasRmc = false;              // an RMC sentence that reads (its own `fix` says A or V)
  NmeaSentence rmc;
};

// "gsensori,<range g>,<full scale>,<x>,<y>,<z>;[$]GxRMC,...[*hh];CAR,...": the parts in any
// order, the RMC with or without its '$' and checksum (checked when there). Not `thinkware` for
// a sample shorter than its length field says, longer than kMaxThinkwareCueBytes, or text of
// another form; a part that does not read is left out (no G, no RMC).
ThinkwareCue DecodeThinkwareCue(std::span<const std::uint8_t> sample);

struct ThinkwareTrack {
  std::vector<TelemetryRecord> records;  // one per RMC cue, mediaTimeMs from the sample table
  int cues = 0;                          // samples of the track that are cues of this form
  int fixes = 0;                         // records with a position (status A)
  int skipped = 0;                       // samples that are not such cues (empty ones aside)
  std::string problem;                   // what was wrong with the sample table; empty if nothing
};

// The first `tx3g` track of the file whose samples are such cues. Each RMC cue gives a record on
// the receiver's UTC with its cue's accelerometer reading (status V: a record without position).
// No cues at all for a file without such a track.
ThinkwareTrack ReadThinkwareTrack(std::uint64_t fileSize, const ReadAtFn& readAt);

}  // namespace korvane
