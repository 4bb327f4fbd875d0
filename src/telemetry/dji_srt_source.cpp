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
  CDjiSrtDecoder decoder(ClipTimeRangeOf(ClipTimeFactsOfFile(clipPath)).startUtcMs);
  const BoundedRead file = ReadLogLines(read, srt, "DJI subtitle file", maxBytes_, kMaxDjiSrtLine,
                                        [&](std::string_view line) { decoder.Line(line); });
  if (!read.present) return read;
  const DjiSrtTrack track = decoder.Finish();
  read.records = HandOverFixes(track.fixes, onRecord);
  AddLogNotes(read, "DJI subtitle file", *srt, file, maxBytes_);
  if (track.backwards > 0) {
    AddNote(read.reason, std::to_string(track.backwards) + " cues back in time left out");
  }
  return read;
}

}  // namespace korvane
