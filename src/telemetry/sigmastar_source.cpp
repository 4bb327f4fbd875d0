#include "telemetry/sigmastar_source.h"

#include "telemetry/clip_time_range.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/mp4_track_samples.h"
#include "telemetry/sigmastar_ssmd.h"
#include "telemetry/track_read_reason.h"

namespace korvane {

TelemetryRead CSigmaStarSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const CMp4File file(clipPath);
  if (!file.open()) {
    read.reason = "the clip cannot be read for a SigmaStar GPS track";
    return read;
  }
  const ClipTimeRange dated = ClipDateOf(ClipTimeFactsOfFile(clipPath));
  const CivilTime clipTime = CivilFromSeconds(dated.startUtcMs / 1000);
  CSsmdTrackDecoder decoder({clipTime.year, clipTime.month, clipTime.day});
  const Mp4TrackSamplesRead samples = ForEachMp4TrackSample(
      file.size(), file.readAt(), [](const Mp4TrackHeader& h) { return h.FormatIs("ssmd"); },
      kSsmdMaxSampleBytes,
      [&](std::span<const std::uint8_t> bytes, std::int64_t startMs, std::int64_t durationMs) {
        decoder.AddSample(bytes, startMs, durationMs);
      });
  const SsmdTrack& track = decoder.track();
  const TrackReadCounts counts{track.fixes, track.noFix, track.skipped + samples.oversized};
  read =
      TrackReadOf("SigmaStar GPS track", samples.found, counts, samples.problem,
                  "year and month from the clip's " + std::string(ClipTimeBasisText(dated.basis)));
  if (read.present) {
    read.durationMs = samples.durationMs;
    for (const TelemetryRecord& r : track.records) onRecord(r);
  }
  return read;
}

}  // namespace korvane
