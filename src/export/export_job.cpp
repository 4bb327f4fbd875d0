#include "export/export_job.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "export/track_writers.h"
#include "index/trips.h"
#include "platform/path_parts.h"
#include "platform/small_file.h"

namespace korvane {
namespace {

std::vector<std::vector<ClipSummary>> TrackClips(const std::vector<ClipSummary>& summaries,
                                                 bool byTrip) {
  std::vector<std::vector<ClipSummary>> tracks;
  if (byTrip) {
    for (Trip& trip : GroupTrips(summaries)) tracks.push_back(std::move(trip.clips));
    return tracks;
  }
  // A moment recorded by several cameras is one track, from the channel that has telemetry.
  for (ClipSummary& s : OnePerMoment(summaries)) {
    if (s.pointCount > 0) tracks.push_back({std::move(s)});
  }
  return tracks;
}

}  // namespace

std::optional<WriteFailure> WriteFailureOfExportExit(int exitCode) {
  const int cause = exitCode - kExitExportNotWritten;
  if (cause < 0 || cause > static_cast<int>(WriteFailure::Other)) return std::nullopt;
  return static_cast<WriteFailure>(cause);
}

ExportResult RunExport(const ExportRequest& request, CClipPoints& source) {
  ExportResult result;
  // The output is written beside its place and put there once whole: a failure leaves the
  // previous export as it was.
  CFileReplacement file(request.outputPath);
  const auto writeFailed = [&] {
    result.writeError = file.error();
    result.error = "cannot write " + request.outputPath + ": " + std::strerror(file.error());
    return result;
  };
  if (!file.opened()) return writeFailed();

  std::vector<ClipSummary> summaries;
  if (result.error = source.Refresh(request.clips, summaries); !result.error.empty()) {
    return result;
  }
  // A rear camera's clip without telemetry is no loss when its moment's front has some.
  for (const ClipSummary& s : OnePerMoment(summaries)) {
    if (s.status != ClipStatus::Indexed) result.log.push_back(s.path + ": " + s.reason);
  }
  // Trips are grouped on the corrected clocks, as the Trips window groups them.
  ApplyClockOffsets(summaries, request.clockOffsets);

  const auto writer = MakeTrackWriter(request.format);
  writer->Begin(file.out());
  std::vector<std::string> readFrom;  // the source of each clip written, for the log
  for (std::vector<ClipSummary>& clips : TrackClips(summaries, request.byTrip)) {
    ExportTrack track;
    for (ClipSummary& clip : clips) {
      std::vector<IndexPoint> points;
      std::string reason;
      if (!source.Points(clip, points, reason)) {
        result.error = clip.path + ": " + reason;
        return result;
      }
      const bool cameraClock = clip.traits.clock == SourceClock::Camera;
      const int offset = cameraClock ? request.clockOffsets.OfClip(clip.path) : 0;
      ExportClip exported{
          SplitPath(clip.path).fileName,
          ExportPointsOf(points, ZoneOfSource(clip.traits, request.zone), offset, result.counts),
          clip.traits.gSensor};
      if (exported.points.empty()) continue;
      track.clips.push_back(std::move(exported));
      readFrom.push_back(clip.source);
    }
    if (track.clips.empty()) continue;
    const std::string& first = track.clips.front().name;
    track.name = request.byTrip
                     ? UtcText(track.clips.front().points.front().utcTimeMs / 1000) + " " + first
                     : first;
    writer->Write(file.out(), track);
    ++result.tracks;
  }
  writer->End(file.out());

  for (const FamilyCount& family : CountFamilies(readFrom)) {
    result.log.push_back(std::to_string(family.clips) + (family.clips == 1 ? " clip" : " clips") +
                         " read from " + family.family);
  }
  if (result.counts.badDates > 0) {
    result.log.push_back(std::to_string(result.counts.badDates) +
                         " points left out: their camera date is not a real date");
  }
  if (result.counts.badPositions > 0) {
    result.log.push_back(std::to_string(result.counts.badPositions) +
                         " points left out: no valid position");
  }
  if (result.counts.written == 0) {
    result.error = "no telemetry to export";
    if (summaries.size() == 1 && !summaries.front().reason.empty()) {
      result.error += " (" + summaries.front().reason + ")";
    } else if (summaries.size() > 1) {
      result.error += " in " + std::to_string(summaries.size()) + " clips";
    }
    return result;
  }
  if (!file.Commit()) return writeFailed();
  return result;
}

}  // namespace korvane
