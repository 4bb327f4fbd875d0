#include "ui/track_feed.h"

#include <cmath>

#include "telemetry/nmea_source.h"

namespace korvane {

bool IsFedClip(const ClipSummary& indexed, bool hasSidecar) {
  const bool ownTrack =
      indexed.status == ClipStatus::Indexed && indexed.source == TelemetrySourceKind::SubtitleTrack;
  return hasSidecar && !ownTrack;
}

bool CTrackFeed::Feeds(const std::string& path) {
  if (!FindNmeaSidecar(path)) return false;
  return IsFedClip(index_.GetClip(path), true);
}

bool CTrackFeed::Load(const std::string& path) {
  CNmeaSidecarSource source;
  const bool loaded = track_.Load(source, path);
  navigation_.Clear();
  for (const TelemetryRecord& record : track_.records()) navigation_.Append(record);
  navigation_.MarkComplete();
  LoadWholeTrack(track_.records(), store_, settings_.mapKind, settings_.locale);
  return loaded;
}

std::optional<TelemetryRecord> CTrackFeed::RecordAt(double seconds) const {
  if (!std::isfinite(seconds)) return std::nullopt;
  return track_.RecordAt(std::llround(seconds * 1000.0));
}

}  // namespace korvane
