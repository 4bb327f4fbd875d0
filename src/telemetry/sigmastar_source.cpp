#include "telemetry/sigmastar_source.h"

#include "telemetry/clip_time_range.h"
#include "telemetry/in_clip_read.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/mp4_track_samples.h"
#include "telemetry/sigmastar_ssmd.h"

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
  if (!samples.found) return NoInClipTrack("SigmaStar GPS track", samples.problem);
  const SsmdTrack& track = decoder.track();
  read = HandOverInClipTrack(
      {track.records, track.fixes, track.noFix, track.skipped + samples.oversized, samples.problem},
      {"SigmaStar GPS track", "record",
       "year and month from the clip's " + std::string(ClipTimeBasisText(dated.basis)), true},
      onRecord);
  if (read.present) read.durationMs = samples.durationMs;
  return read;
}

}  // namespace korvane
