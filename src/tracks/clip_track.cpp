#include "tracks/clip_track.h"

#include <algorithm>
#include <cstdio>

#include "platform/path_parts.h"
#include "telemetry/clock_offset_store.h"
#include "telemetry/track_import_store.h"

namespace korvane {

bool IsIndexFedClip(const ClipSummary& indexed) {
  return indexed.status == ClipStatus::Indexed && !indexed.traits.extracted;
}

bool IsImportFedClip(const ClipSummary& indexed) {
  return indexed.status == ClipStatus::NoTelemetry;
}

ClipTrackDecision DecideClipTrack(const ClipSummary& indexed, bool hasImport, bool importChosen) {
  ClipTrackDecision decision;
  const bool chosen = hasImport && importChosen;
  decision.choice.offered = hasImport && (indexed.status == ClipStatus::Indexed || chosen);
  decision.choice.import = chosen;
  if (chosen) {
    decision.track = ClipTrack::Import;
  } else if (IsIndexFedClip(indexed)) {
    decision.track = ClipTrack::Index;
  } else if (hasImport && IsImportFedClip(indexed)) {
    decision.track = ClipTrack::Import;
  }
  return decision;
}

ClipTrackDecision CClipTracks::Decide(const std::string& path, const ClipSummary& indexed) const {
  const bool hasImport = ImportOf(path).has_value();
  return DecideClipTrack(indexed, hasImport, hasImport && ImportChosen(dataFolder_, path));
}

std::optional<std::string> CClipTracks::ImportOf(const std::string& clipPath) const {
  return StoredFolderImport(dataFolder_, SplitPath(clipPath).folder);
}

std::optional<std::int64_t> CClipTracks::CameraStartOf(const ClipSummary& indexed) const {
  if (indexed.status != ClipStatus::Indexed || indexed.traits.clock != SourceClock::Camera ||
      indexed.firstCameraTime == 0) {
    return std::nullopt;
  }
  return CameraTimeToUtc(indexed.firstCameraTime, zone_) * 1000;
}

std::vector<CClipTracks::ImportFedClip> CClipTracks::ImportFedClips(
    std::span<const std::string> clips) {
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

std::vector<ImportedTrack> CClipTracks::ImportedTracks(std::span<const std::string> clips,
                                                       bool cameraClock) {
  std::vector<ImportedTrack> tracks;
  if (clips.empty()) return tracks;
  const std::optional<std::string> imported = ImportOf(clips[0]);
  if (!imported) return tracks;
  const std::vector<ImportFedClip> fed = ImportFedClips(clips);
  if (fed.empty()) return tracks;
  std::string error;
  const std::optional<GpxTrack> track = ReadGpxFile(*imported, error);
  if (!track) {
    std::fprintf(stderr, "korvane: imported track %s not read: %s\n", imported->c_str(),
                 error.c_str());
    return tracks;
  }
  std::vector<ImportCandidate> candidates;
  for (const ImportFedClip& clip : fed) candidates.push_back(clip.candidate);
  const std::vector<ImportedClip> matched = MatchTrackToClips(track->points, candidates);
  for (std::size_t i = 0; i < fed.size(); ++i) {
    const ClipSummary& indexed = fed[i].indexed;
    // The track's times are UTC; a clip placed by its camera times goes back onto that clock.
    const std::optional<std::int64_t> start = fed[i].candidate.facts.cameraStartUtcMs;
    const std::int64_t shift = cameraClock && start ? indexed.firstCameraTime - *start / 1000 : 0;
    tracks.push_back(SummarizeImportedRecords(indexed, matched[i].records, shift));
  }
  return tracks;
}

std::vector<ClipSummary> CClipTracks::TripSummaries(std::span<const std::string> clips) {
  std::vector<ClipSummary> rows = index_.GetClips(clips);
  for (ImportedTrack& track : ImportedTracks(clips, true)) {
    ClipSummary& summary = track.summary;
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

CClipPoints ClipPointsOf(const std::string& indexPath, const std::string& indexerPath,
                         CClipTracks& clipTracks) {
  return CClipPoints(indexPath, indexerPath, [&clipTracks](std::span<const std::string> clips) {
    return clipTracks.ImportedTracks(clips, false);
  });
}

}  // namespace korvane
