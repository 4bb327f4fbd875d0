#include "telemetry/dji_srt_source.h"

#include "telemetry/bounded_file.h"
#include "telemetry/clip_time_range.h"
#include "telemetry/dji_srt.h"
#include "telemetry/nmea_source.h"

namespace korvane {

std::optional<std::string> FindDjiSrtSidecar(const std::string& clipPath) {
  return FindBesideFile(clipPath, {".SRT", ".srt"});
}

TelemetryRead CDjiSrtSidecarSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::optional<std::string> srt = FindDjiSrtSidecar(clipPath);
  if (!srt) {
    read.reason = "no DJI subtitle file beside the clip";
    return read;
  }
  CDjiSrtDecoder decoder(ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs);
  const BoundedRead file = ReadFileLines(*srt, maxBytes_, kMaxDjiSrtLine,
                                         [&](std::string_view line) { decoder.Line(line); });
  if (!file.opened) {
    read.reason = "the DJI subtitle file " + *srt + " cannot be read";
    return read;
  }
  read.present = true;
  const DjiSrtTrack track = decoder.Finish();
  read.records = HandOverFixes(track.fixes, onRecord);
  if (read.records == 0)
    AddNote(read.reason, "the DJI subtitle file " + *srt + " has no cue with a position");
  if (track.backwards > 0)
    AddNote(read.reason, std::to_string(track.backwards) + " cues back in time left out");
  if (file.truncated)
    AddNote(read.reason, "DJI subtitles read up to " + std::to_string(maxBytes_ >> 20) + " MiB");
  return read;
}

}  // namespace korvane
