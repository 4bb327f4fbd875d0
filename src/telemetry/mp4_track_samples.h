// The samples of one telemetry track inside a clip, read through the sample table by seeks: the
// shell every in-clip track reader shares, so each of them holds only its decoder. Only the
// track's header boxes and its samples are read, never the video.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "telemetry/mp4_sample_table.h"

namespace korvane {

struct Mp4TrackSamplesRead {
  bool found = false;           // the file has a track `wanted` accepts
  int samples = 0;              // samples handed to the visitor
  int oversized = 0;            // samples larger than the reader takes, not read
  std::int64_t durationMs = 0;  // the track's, from its media header; 0 when it says none
  std::string problem;          // what the sample table said was wrong; empty when nothing
};

// Calls `visit` with the bytes of each sample of the first track `wanted` accepts, in decoding
// order, with where it plays in the clip (ms). A sample above `maxSampleBytes` is not read but
// counted; a sample cut short by the file's end comes as the bytes that are there. Nothing is
// found in a file that is no MP4 or has no such track.
Mp4TrackSamplesRead ForEachMp4TrackSample(
    std::uint64_t fileSize, const ReadAtFn& readAt,
    const std::function<bool(const Mp4TrackHeader&)>& wanted, std::size_t maxSampleBytes,
    const std::function<void(std::span<const std::uint8_t> bytes, std::int64_t startMs,
                             std::int64_t durationMs)>& visit);

}  // namespace korvane
