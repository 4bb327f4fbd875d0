#include "telemetry/telemetry_source.h"

namespace korvane {

std::string_view TelemetrySourceText(TelemetrySourceKind kind) {
  switch (kind) {
    case TelemetrySourceKind::SubtitleTrack:
      return "subtitle";
    case TelemetrySourceKind::NmeaSidecar:
      return "nmea";
    case TelemetrySourceKind::GpxImport:
      return "gpx";
    case TelemetrySourceKind::None:
      break;
  }
  return "";
}

TelemetrySourceKind TelemetrySourceFromText(std::string_view text) {
  for (const auto kind : {TelemetrySourceKind::SubtitleTrack, TelemetrySourceKind::NmeaSidecar,
                          TelemetrySourceKind::GpxImport}) {
    if (text == TelemetrySourceText(kind)) return kind;
  }
  return TelemetrySourceKind::None;
}

bool SourceHasGSensor(TelemetrySourceKind kind) {
  return kind == TelemetrySourceKind::SubtitleTrack;
}

}  // namespace korvane
