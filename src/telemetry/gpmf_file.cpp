#include "telemetry/gpmf_file.h"

#include <vector>

#include "telemetry/mp4_track_samples.h"

namespace korvane {

GpmfFile ReadGpmfFile(std::uint64_t fileSize, const ReadAtFn& readAt) {
  GpmfFile file;
  std::vector<GpmfSample> samples;
  const Mp4TrackSamplesRead read = ForEachMp4TrackSample(
      fileSize, readAt, [](const Mp4TrackHeader& h) { return h.FormatIs("gpmd"); },
      kMaxGpmfSampleBytes,
      [&](std::span<const std::uint8_t> bytes, std::int64_t startMs, std::int64_t durationMs) {
        file.sampleBytes += bytes.size();
        samples.push_back({DecodeGpmfPayload(bytes), startMs, durationMs});
      });
  file.problem = read.problem;
  file.samples = read.samples + read.oversized;
  file.unread = read.oversized;
  file.hasTrack = file.samples > 0;
  if (!file.hasTrack) return file;
  file.track = ReadGpmfTrack(samples);
  if (!file.track.problem.empty()) NoteMp4Problem(file.problem, file.track.problem);
  return file;
}

}  // namespace korvane
