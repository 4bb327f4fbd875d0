#include "tracks/track_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "telemetry/clock_offset_store.h"
#include "telemetry/gpx_import_source.h"
#include "telemetry/nmea_source.h"
#include "telemetry/track_import.h"
#include "telemetry/track_import_store.h"

namespace korvane {

bool CTrackFeed::Feeds(const std::string& path) {
  return tracks_.Decide(path, tracks_.index().GetClip(path)).track != ClipTrack::Own;
}

TrackChoice CTrackFeed::ChoiceOf(const std::string& path) {
  return tracks_.Decide(path, tracks_.index().GetClip(path)).choice;
}

bool CTrackFeed::Load(const std::string& path) {
  bool loaded = false;
  const ClipSummary indexed = tracks_.index().GetClip(path);
  const std::optional<std::string> imported = tracks_.ImportOf(path);
  if (imported && tracks_.Decide(path, indexed).track == ClipTrack::Import) {
    CGpxImportSource source(*imported, tracks_.CameraStartOf(indexed),
                            ReadClockOffsets(tracks_.dataFolder()).OfClip(path));
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

bool CTrackFeed::ChooseImport(const std::string& path, bool import) {
  std::string error;
  if (StoreImportChoice(tracks_.dataFolder(), path, import, error)) return true;
  std::fprintf(stderr, "korvane: track choice not kept: %s\n", error.c_str());
  return false;
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
  if (!StoreFolderImport(tracks_.dataFolder(), clipFolder, gpxPath, result.error)) return result;
  result.stored = true;
  std::vector<ImportCandidate> candidates;
  for (auto& fed : tracks_.ImportFedClips(clips)) candidates.push_back(std::move(fed.candidate));
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
