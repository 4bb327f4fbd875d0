// A clip with one more track of timed samples (a camera's telemetry track: `gpmd`, `ssmd`, `mp4s`,
// `tx3g`...), made from an ffmpeg MP4 for the tests and benchmarks of the track readers. Bytes
// only: nothing of the program's readers is used, so a reader's fault cannot hide in both.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test {

struct DataTrackSample {
  std::string bytes;
  std::uint32_t duration = 0;  // in the track's timescale units
};

struct DataTrack {
  std::string handler = "meta";  // the hdlr type, four characters
  std::string format = "gpmd";   // the sample description's type, four characters
  std::uint32_t timescale = 1000;
  std::vector<DataTrackSample> samples;
  // What follows the sample description's data reference index (a tx3g's display flags and
  // style, a gpmd's nothing).
  std::string descriptionBody;
};

// Copies `mp4` (an MP4 whose `moov` is its last box, as ffmpeg writes it) to `out` with `track`
// as its last track: each sample a chunk of its own in an `mdat` after the `moov`, listed by
// 64-bit chunk offsets. False when `mp4` is not such an MP4.
bool WriteClipWithDataTrack(const std::string& mp4, const std::string& out, const DataTrack& track);

}  // namespace korvane::test
