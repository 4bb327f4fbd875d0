// A clip's `gpmd` track read by its sample table: each sample's payload read by one seek and
// decoded, never the video. Pure over a read-at function, so what it reads is bounded and
// countable.
#pragma once
#include <cstdint>
#include <string>

#include "telemetry/gpmf_track.h"
#include "telemetry/mp4_boxes.h"

namespace korvane {

// Largest payload read: cameras write a few kB a second.
inline constexpr std::uint32_t kMaxGpmfSampleBytes = 1u << 20;

struct GpmfFile {
  bool hasTrack = false;  // the file has a `gpmd` track with samples
  int samples = 0;
  int unread = 0;                 // samples too large or cut short
  std::uint64_t sampleBytes = 0;  // of the samples read
  GpmfTrack track;
  std::string problem;  // the sample table's and the track's problems
};

// The first `gpmd` track of a file of `fileSize` bytes, decoded sample by sample; no track when
// it has no sample inside the file.
GpmfFile ReadGpmfFile(std::uint64_t fileSize, const ReadAtFn& readAt);

}  // namespace korvane
