// Fills a track store from the telemetry lines of a sample clip, as the track builder would.
#pragma once
#include <fstream>
#include <string>

#include "support/sample_paths.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/track_store.h"

namespace korvane::test {

// Every line of the clip's telemetry parsed into the store, all chunks ready. Returns the number
// of lines read (0 when the file is missing).
inline int FillStoreFromClip(CTrackStore& store, const std::string& clip) {
  std::ifstream in(TelemetryOf(clip));
  CTelemetryParser parser;
  int lines = 0;
  for (std::string line; std::getline(in, line); ++lines) {
    parser.ParseFull(line.c_str());
    store.AppendNext(parser.record());
  }
  store.MarkReady(store.chunkCount());
  return lines;
}

}  // namespace korvane::test
