#include "ui/track_feed.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "index/track_summary.h"
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
  std::vector<ImportCandidate> candidates;
  for (ImportFedClip& fed : ImportFedClips(clips)) candidates.push_back(std::move(fed.candidate));
  for (const ImportedClip& matched : MatchTrackToClips(track->points, candidates)) {
    std::fprintf(stderr, "korvane: track import %s\n", matched.log.c_str());
    if (std::any_of(matched.records.begin(), matched.records.end(),
                    [](const TelemetryRecord& r) { return r.valid; })) {
      ++result.clipsWithTrack;
    }
  }
  return result;
}

std::vector<CTrackFeed::ImportFedClip> CTrackFeed::ImportFedClips(
    const std::vector<std::string>& clips) {
  const ClockOffsets offsets = ReadClockOffsets(dataFolder_);
  std::vector<ImportFedClip> fed;
  for (const std::string& clip : clips) {
    ClipSummary indexed = index_.GetClip(clip);
    if (Decide(clip, indexed).track != ClipTrack::Import) continue;
    ImportCandidate candidate{clip, ClipTimeFactsOfFile(clip), offsets.OfClip(clip)};
    candidate.facts.cameraStartUtcMs = CameraStartOf(indexed);
    fed.push_back({std::move(indexed), std::move(candidate)});
  }
  return fed;
}

std::vector<ClipSummary> CTrackFeed::TripSummaries(const std::vector<std::string>& clips) {
  std::vector<ClipSummary> rows = index_.GetClips(clips);
  if (clips.empty()) return rows;
  const std::optional<std::string> imported = StoredFolderImport(dataFolder_, FolderOf(clips[0]));
  if (!imported) return rows;
  std::vector<ImportFedClip> fed = ImportFedClips(clips);
  if (fed.empty()) return rows;
  std::string error;
  const std::optional<GpxTrack> track = ReadGpxFile(*imported, error);
  if (!track) {
    std::fprintf(stderr, "korvane: trips without the imported track %s: %s\n", imported->c_str(),
                 error.c_str());
    return rows;
  }
  std::vector<ImportCandidate> candidates;
  for (const ImportFedClip& clip : fed) candidates.push_back(clip.candidate);
  const std::vector<ImportedClip> matched = MatchTrackToClips(track->points, candidates);
  for (std::size_t i = 0; i < fed.size(); ++i) {
    const ClipSummary& indexed = fed[i].indexed;
    // The track's times are UTC; a clip placed by its camera times goes back onto that clock.
    const std::optional<std::int64_t> start = fed[i].candidate.facts.cameraStartUtcMs;
    const std::int64_t shift = start ? indexed.firstCameraTime - *start / 1000 : 0;
    ClipSummary summary = SummarizeImportedRecords(indexed, matched[i].records, shift);
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const ClipSummary& r) { return r.path == summary.path; });
    if (row != rows.end()) {
      *row = std::move(summary);
    } else if (summary.status == ClipStatus::Indexed) {
      rows.push_back(std::move(summary));
    }
  }
  return rows;
}

}  // namespace korvane
