#include "tracks/track_feed.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include "index/clip_file.h"
#include "index/track_summary.h"
#include "telemetry/clock_offset_store.h"
#include "telemetry/gpx_import_source.h"
#include "telemetry/track_import.h"
#include "telemetry/track_import_store.h"

namespace korvane {

CTrackFeed::CTrackFeed(std::string indexPath, std::string dataFolder, CTrackStore& store,
                       CNavigationTrack& navigation, const Settings& settings, CameraTimeZone zone,
                       std::string indexerProgram, std::function<void()> readDone)
    : tracks_(indexPath, std::move(dataFolder), zone),
      store_(store),
      navigation_(navigation),
      settings_(settings) {
  if (!indexerProgram.empty()) {
    reading_.emplace(std::move(indexPath), std::move(indexerProgram), std::move(readDone));
  }
}

ClipSummary CTrackFeed::CurrentRow(const std::string& path, bool* fromRead) {
  if (fromRead != nullptr) *fromRead = false;
  ClipSummary row = tracks_.index().GetClip(path);
  std::string factsError;
  if (row.status != ClipStatus::Unknown && IsStoredRowCurrent(row, factsError)) return row;
  if (lastRead_ && lastRead_->path == path && IsStoredRowCurrent(lastRead_->summary, factsError)) {
    if (fromRead != nullptr) *fromRead = true;
    return lastRead_->summary;
  }
  ClipSummary unknown;
  unknown.path = path;
  return unknown;
}

ClipFeed CTrackFeed::FeedOf(const std::string& path) {
  const ClipSummary row = CurrentRow(path);
  if (tracks_.Decide(path, row).track != ClipTrack::Own) return ClipFeed::Fed;
  return row.status == ClipStatus::Unknown && reading_ ? ClipFeed::Unread : ClipFeed::Pipeline;
}

void CTrackFeed::ReadNow(const std::string& path) {
  if (reading_) reading_->Start(path);
}

bool CTrackFeed::ReadDone(const std::string& path) {
  if (!reading_) return false;
  std::optional<CClipReading::Read> read = reading_->Take(path);
  if (!read) return false;
  lastRead_ = std::move(read);
  return true;
}

TrackChoice CTrackFeed::ChoiceOf(const std::string& path) {
  return tracks_.Decide(path, CurrentRow(path)).choice;
}

bool CTrackFeed::Load(const std::string& path) {
  bool loaded = false;
  loadedHasG_ = false;
  bool fromRead = false;
  const ClipSummary indexed = CurrentRow(path, &fromRead);
  const std::optional<std::string> imported = tracks_.ImportOf(path);
  const ClipTrack track = tracks_.Decide(path, indexed).track;
  if (imported && track == ClipTrack::Import) {
    CGpxImportSource source(*imported, tracks_.CameraStartOf(indexed),
                            ReadClockOffsets(tracks_.dataFolder()).OfClip(path));
    loaded = track_.Load(source, path);
  } else if (track == ClipTrack::Index) {
    const std::vector<IndexPoint> points =
        fromRead ? lastRead_->points : tracks_.index().GetPoints(path);
    std::vector<TelemetryRecord> records;
    records.reserve(points.size());
    for (const IndexPoint& point : points) records.push_back(RecordOfPoint(point));
    loaded = track_.Assign(std::move(records));
    loadedHasG_ = loaded && indexed.traits.gSensor;
  } else {
    track_.Clear();
  }
  navigation_.Clear();
  for (const TelemetryRecord& record : track_.records()) navigation_.Append(record);
  navigation_.MarkComplete();
  LoadWholeTrack(track_.records(), store_, settings_.mapKind, settings_.locale);
  return loaded;
}

ChoiceKept CTrackFeed::ChooseImport(const std::string& path, bool import) {
  std::string error;
  if (StoreImportChoice(tracks_.dataFolder(), path, import, error)) return {};
  const WriteFailure failure = WriteFailureOf(errno);
  std::fprintf(stderr, "korvane: track choice not kept: %s\n", error.c_str());
  return {false, failure};
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
  if (!StoreFolderImport(tracks_.dataFolder(), clipFolder, gpxPath, result.error)) {
    result.writeFailure = WriteFailureOf(errno);
    return result;
  }
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
