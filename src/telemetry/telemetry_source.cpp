#include "telemetry/telemetry_source.h"

#include <iterator>

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

SourceClock ClockOfSource(TelemetrySourceKind kind) {
  switch (kind) {
    case TelemetrySourceKind::SubtitleTrack:
      return SourceClock::Camera;
    case TelemetrySourceKind::NmeaSidecar:
    case TelemetrySourceKind::GpxImport:
      return SourceClock::Utc;
    case TelemetrySourceKind::None:
      break;
  }
  return SourceClock::None;
}

std::string_view SourceClockText(SourceClock clock) {
  constexpr std::string_view kTexts[] = {"none", "camera", "utc"};  // in the enum's order
  const auto index = static_cast<std::size_t>(clock);
  return index < std::size(kTexts) ? kTexts[index] : kTexts[0];
}

}  // namespace korvane
