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
  if (!log) {
    read.reason = "no Escort trip log beside the clip";
    return read;
  }
  CEscortMapDecoder decoder;
  const BoundedRead file = ReadFileLines(*log, maxBytes_, kMaxEscortLine,
                                         [&](std::string_view line) { decoder.Line(line); });
  if (!file.opened) {
    read.reason = "the Escort trip log " + *log + " cannot be read";
    return read;
  }
  read.present = true;
  const EscortMapTrack track = decoder.Finish();
  read.records = HandOverFixes(track.fixes, onRecord);
  read.gValues = read.records > 0;
  if (read.records == 0) AddNote(read.reason, "the Escort trip log " + *log + " has no fix");
  if (track.badLines > 0)
    AddNote(read.reason, std::to_string(track.badLines) + " bad lines skipped");
  if (track.backwards > 0) {
    AddNote(read.reason, std::to_string(track.backwards) + " lines back in time left out");
  }
  if (file.truncated) {
    AddNote(read.reason, "trip log read up to " + std::to_string(maxBytes_ >> 20) + " MiB");
  }
  return read;
}

}  // namespace korvane
