#include "ui/track_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "telemetry/gpx_import_source.h"
#include "telemetry/nmea_source.h"
#include "telemetry/track_import.h"
#include "telemetry/track_import_store.h"

namespace korvane {

bool IsFedClip(const ClipSummary& indexed, bool hasSidecar) {
  const bool ownTrack =
      indexed.status == ClipStatus::Indexed && indexed.source == TelemetrySourceKind::SubtitleTrack;
  return hasSidecar && !ownTrack;
}

bool IsImportFedClip(const ClipSummary& indexed) {
  return indexed.status == ClipStatus::NoTelemetry;
}

std::optional<std::string> CTrackFeed::ImportFor(const std::string& path) {
  if (FindNmeaSidecar(path)) return std::nullopt;
  auto stored = StoredFolderImport(dataFolder_, path.substr(0, path.find_last_of('/') + 1));
  if (!stored || !IsImportFedClip(index_.GetClip(path))) return std::nullopt;
  return stored;
}

bool CTrackFeed::Feeds(const std::string& path) {
  return IsFedClip(index_.GetClip(path), FindNmeaSidecar(path).has_value()) ||
         ImportFor(path).has_value();
}

bool CTrackFeed::Load(const std::string& path) {
  bool loaded = false;
  if (const auto imported = ImportFor(path)) {
    CGpxImportSource source(*imported);
    loaded = track_.Load(source, path);
  } else {
    CNmeaSidecarSource source;
    loaded = track_.Load(source, path);
  }
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

TrackImportResult CTrackFeed::ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                          const std::vector<std::string>& clips) {
  TrackImportResult result;
  std::string error;
  std::optional<GpxTrack> track = ReadGpxFile(gpxPath, error);
  if (!track) {
    result.error = gpxPath + ": " + error;
    return result;
  }
  if (!StoreFolderImport(dataFolder_, clipFolder, gpxPath, result.error)) return result;
  result.stored = true;
  std::vector<ImportCandidate> candidates;
  for (const std::string& clip : clips) {
    if (ImportFor(clip)) candidates.push_back({clip, ClipTimeFactsOfFile(clip)});
  }
  for (const ImportedClip& matched : MatchTrackToClips(track->points, candidates)) {
    std::fprintf(stderr, "korvane: track import %s\n", matched.log.c_str());
    if (std::any_of(matched.records.begin(), matched.records.end(),
                    [](const TelemetryRecord& r) { return r.valid; })) {
      ++result.clipsWithTrack;
    }
  }
  return result;
}

}  // namespace korvane
