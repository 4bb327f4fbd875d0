#include "subtitle_track_source.h"

#include "cue_text.h"
#include "subtitle_track_reader.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {

TelemetryRead CSubtitleTrackSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  CTelemetryParser parser;
  TelemetryRead read;
  const SubtitleTrackRead track =
      ReadSubtitleTrack(clipPath, [&](std::int32_t mediaMs, std::string_view text) {
        const std::string line(TelemetryLineOf(text));
        if (!parser.ParseFull(line.c_str())) return;
        TelemetryRecord record = parser.record();
        record.mediaTimeMs = mediaMs;
        onRecord(record);
        ++read.records;
      });
  read.durationMs = track.durationMs;
  if (!track.opened) {
    read.reason = "not a readable video file (" + track.error + ")";
  } else if (!track.hasSubtitle) {
    read.reason = "no subtitle track";
  } else if (!track.textSubtitle) {
    read.reason = "the subtitle track carries no text";
  } else {
    read.present = true;
    if (read.records == 0) {
      read.reason = "no telemetry line among " + std::to_string(track.cues) + " cues";
      if (!track.error.empty()) read.reason += " (reading stopped: " + track.error + ")";
    } else if (!track.error.empty()) {
      read.reason = "reading stopped early: " + track.error;
    }
  }
  return read;
}

}  // namespace korvane
