#include "telemetry/escort_source.h"

#include "telemetry/bounded_file.h"
#include "telemetry/escort_map.h"
#include "telemetry/nmea_source.h"

namespace korvane {

std::optional<std::string> FindEscortSidecar(const std::string& clipPath) {
  return FindBesideFile(clipPath, {".map", ".MAP"});
}

TelemetryRead CEscortSidecarSource::Read(const std::string& clipPath, const RecordSink& onRecord) {
  TelemetryRead read;
  const std::optional<std::string> log = FindEscortSidecar(clipPath);
  CEscortMapDecoder decoder;
  const BoundedRead file = ReadLogLines(read, log, "Escort trip log", maxBytes_, kMaxEscortLine,
                                        [&](std::string_view line) { decoder.Line(line); });
  if (!read.present) return read;
  const EscortMapTrack track = decoder.Finish();
  read.records = HandOverFixes(track.fixes, onRecord);
  read.gValues = read.records > 0;
  AddLogNotes(read, "Escort trip log", *log, file, maxBytes_);
  if (track.badLines > 0)
    AddNote(read.reason, std::to_string(track.badLines) + " bad lines skipped");
  if (track.backwards > 0) {
    AddNote(read.reason, std::to_string(track.backwards) + " lines back in time left out");
  }
  return read;
}

}  // namespace korvane
