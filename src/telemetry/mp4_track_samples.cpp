#include "telemetry/mp4_track_samples.h"

#include <algorithm>
#include <vector>

namespace korvane {

Mp4TrackSamplesRead ForEachMp4TrackSample(
    std::uint64_t fileSize, const ReadAtFn& readAt,
    const std::function<bool(const Mp4TrackHeader&)>& wanted, std::size_t maxSampleBytes,
    const std::function<void(std::span<const std::uint8_t>, std::int64_t, std::int64_t)>& visit) {
  Mp4TrackSamplesRead read;
  bool taken = false;
  // Only the first accepted track's table is read: a second one would cost its whole table.
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(fileSize, readAt, [&](const Mp4TrackHeader& header) {
        if (taken || !wanted(header)) return false;
        taken = true;
        return true;
      });
  for (const Mp4Track& track : tracks) {
    if (!wanted(track.header)) continue;
    read.found = true;
    read.problem = track.problem;
    if (track.header.timescale > 0) {
      // In double and capped: a header's duration may be any 64-bit number.
      const double ms =
          static_cast<double>(track.header.duration) * 1000.0 / track.header.timescale;
      read.durationMs = static_cast<std::int64_t>(std::min(ms, 1e15));
    }
    std::vector<std::uint8_t> bytes;
    for (const Mp4Sample& sample : track.samples) {
      if (sample.size > maxSampleBytes) {
        ++read.oversized;
        continue;
      }
      bytes.resize(sample.size);
      bytes.resize(readAt(sample.offset, bytes));
      const std::int64_t startMs = track.StartMs(sample);
      visit(bytes, startMs, track.EndMs(sample) - startMs);
      ++read.samples;
    }
    break;
  }
  return read;
}

}  // namespace korvane
