#include "telemetry/vueroid_source.h"

#include "telemetry/in_clip_read.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/mp4_track_samples.h"
#include "telemetry/vueroid_track.h"

namespace korvane {

TelemetryRead CVueroidSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  const CMp4File file(clipPath);
  if (!file.open()) {
    TelemetryRead read;
    read.reason = "the clip cannot be read for a Vueroid GPS track";
    return read;
  }
  CVueroidTrackDecoder decoder;
  const Mp4TrackSamplesRead samples = ForEachMp4TrackSample(
      file.size(), file.readAt(),
      [](const Mp4TrackHeader& h) { return h.FormatIs("mp4s") && h.HandlerIs("tvxt"); },
      kVueroidRecordBytes,
      [&](std::span<const std::uint8_t> bytes, std::int64_t startMs, std::int64_t) {
        decoder.AddSample(bytes, startMs);
      });
  if (!samples.found) return NoInClipTrack("Vueroid GPS track", samples.problem);
  const VueroidTrack track = decoder.Finish();
  TelemetryRead read = HandOverInClipTrack(
      {track.records, track.fixes, track.noFix, track.skipped + samples.oversized, samples.problem},
      {"Vueroid GPS track", "record", "", true}, onRecord);
  if (read.present) {
    read.durationMs = samples.durationMs;
    read.gValues = track.gValues;
  }
  return read;
}

}  // namespace korvane
