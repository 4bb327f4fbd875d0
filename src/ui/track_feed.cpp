#include "ui/track_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "telemetry/clock_offset_store.h"
#include "telemetry/gpx_import_source.h"
#include "telemetry/nmea_source.h"
#include "telemetry/track_import.h"
#include "telemetry/track_import_store.h"

namespace korvane {

namespace {

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('/') + 1);
}

// The index has read the clip's own subtitle track.
bool HasOwnTrack(const ClipSummary& indexed) {
  return indexed.status == ClipStatus::Indexed &&
         indexed.source == TelemetrySourceKind::SubtitleTrack;
}

}  // namespace

bool IsFedClip(const ClipSummary& indexed, bool hasSidecar) {
  return hasSidecar && !HasOwnTrack(indexed);
}

bool IsImportFedClip(const ClipSummary& indexed) {
  return indexed.status == ClipStatus::NoTelemetry;
}

ClipTrackDecision DecideClipTrack(const ClipSummary& indexed, bool hasSidecar, bool hasImport,
                                  bool importChosen) {
  ClipTrackDecision decision;
  const bool chosen = hasImport && importChosen;
  decision.choice.offered = hasImport && (HasOwnTrack(indexed) || hasSidecar || chosen);
  decision.choice.import = chosen;
  if (chosen) {
    decision.track = ClipTrack::Import;
  } else if (IsFedClip(indexed, hasSidecar)) {
    decision.track = ClipTrack::Sidecar;
  } else if (hasImport && IsImportFedClip(indexed)) {
    decision.track = ClipTrack::Import;
  }
  return decision;
}

ClipTrackDecision CTrackFeed::Decide(const std::string& path, const ClipSummary& indexed) const {
  const bool hasImport = StoredFolderImport(dataFolder_, FolderOf(path)).has_value();
  return DecideClipTrack(indexed, FindNmeaSidecar(path).has_value(), hasImport,
                         hasImport && ImportChosen(dataFolder_, path));
}

std::optional<std::int64_t> CTrackFeed::CameraStartOf(const ClipSummary& indexed) const {
  if (!HasOwnTrack(indexed) || indexed.firstCameraTime == 0) return std::nullopt;
  return CameraTimeToUtc(indexed.firstCameraTime, zone_) * 1000;
}

bool CTrackFeed::Feeds(const std::string& path) {
  return Decide(path, index_.GetClip(path)).track != ClipTrack::Own;
}

TrackChoice CTrackFeed::ChoiceOf(const std::string& path) {
  return Decide(path, index_.GetClip(path)).choice;
}

bool CTrackFeed::Load(const std::string& path) {
  bool loaded = false;
  const ClipSummary indexed = index_.GetClip(path);
  const std::optional<std::string> imported = StoredFolderImport(dataFolder_, FolderOf(path));
  if (imported && Decide(path, indexed).track == ClipTrack::Import) {
    CGpxImportSource source(*imported, CameraStartOf(indexed),
                            ReadClockOffsets(dataFolder_).OfClip(path));
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
  if (StoreImportChoice(dataFolder_, path, import, error)) return true;
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
  if (!StoreFolderImport(dataFolder_, clipFolder, gpxPath, result.error)) return result;
  result.stored = true;
  const ClockOffsets offsets = ReadClockOffsets(dataFolder_);
  std::vector<ImportCandidate> candidates;
  for (const std::string& clip : clips) {
    const ClipSummary indexed = index_.GetClip(clip);
    if (Decide(clip, indexed).track != ClipTrack::Import) continue;
    ImportCandidate candidate{clip, ClipTimeFactsOfFile(clip), offsets.OfClip(clip)};
    candidate.facts.cameraStartUtcMs = CameraStartOf(indexed);
    candidates.push_back(std::move(candidate));
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
