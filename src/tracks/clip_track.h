// Where a clip's telemetry comes from (DecideClipTrack: its own track, the points the index read
// from another source, or the GPX track imported for its folder), and CClipTracks, which applies
// that rule to clips on disk and gives the clips fed from an import what the track gives them:
// their place on it, and their summary and points for trips and export. Reads the index, the data
// folder and the track; writes nothing.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "export/camera_time_zone.h"
#include "export/clip_points.h"
#include "index/index_reader.h"
#include "index/track_summary.h"
#include "telemetry/track_import.h"
#include "tracks/track_feed_port.h"

namespace korvane {

// True when a clip plays from the points the index read for it: the index read it from a source
// that is not its own subtitle track (which plays through the extraction pipeline).
bool IsIndexFedClip(const ClipSummary& indexed);
// True when a clip may play from a track imported for its folder: the index has read it and found
// no telemetry. A clip not read yet may have its own track, which an import must not hide.
bool IsImportFedClip(const ClipSummary& indexed);

// Where a clip's telemetry comes from while it plays.
enum class ClipTrack {
  Own,     // its subtitle track, through the extraction pipeline (or none at all)
  Index,   // the points the index read from another source (a GPS log beside it, a box of the file)
  Import,  // the GPX track imported for its folder
};
struct ClipTrackDecision {
  ClipTrack track = ClipTrack::Own;
  TrackChoice choice;  // offered when the clip has a track of its own and the folder an import
};
// The import when the folder has one and the user chose it for the clip; else the index's points
// (IsIndexFedClip); else the import for a clip the index found without telemetry; else its own
// track. The choice is offered for a clip the index found a track in, of any source, in a folder
// with an import, and stays offered once the import is chosen.
ClipTrackDecision DecideClipTrack(const ClipSummary& indexed, bool hasImport, bool importChosen);

class CClipTracks {
 public:
  // Imports, choices and clock offsets are read from `dataFolder`; `zone` is the camera clock's,
  // which places a clip with its own track on the imported track's time.
  CClipTracks(std::string indexPath, std::string dataFolder, CameraTimeZone zone)
      : index_(std::move(indexPath)), dataFolder_(std::move(dataFolder)), zone_(zone) {}

  ClipTrackDecision Decide(const std::string& path, const ClipSummary& indexed) const;
  // The stored copy of the track imported for the clip's folder; nullopt when there is none.
  std::optional<std::string> ImportOf(const std::string& clipPath) const;
  // The clip's first camera time in UTC ms, for a clip whose track on the camera's clock the index
  // has read.
  std::optional<std::int64_t> CameraStartOf(const ClipSummary& indexed) const;

  struct ImportFedClip {
    ClipSummary indexed;
    ImportCandidate candidate;
  };
  // The clips among `clips` that play from their folder's import, with the facts (and clock
  // offset) that place them on the track.
  std::vector<ImportFedClip> ImportFedClips(std::span<const std::string> clips);

  // What the import of their folder (`clips` share one) gives the clips among them that play from
  // it (SummarizeImportedRecords): their times UTC, or with `cameraClock` on the clock of the
  // folder's own camera times. None when the folder has no import, or it cannot be read (said on
  // stderr). Reads and matches the track.
  std::vector<ImportedTrack> ImportedTracks(std::span<const std::string> clips, bool cameraClock);

  // The index's rows of `clips` (one folder) as trips count them: each clip that plays from the
  // folder's import has in place of its row the summary of what the track gives it, on the clock
  // of the folder's own camera times.
  std::vector<ClipSummary> TripSummaries(std::span<const std::string> clips);

  CIndexReader& index() { return index_; }
  const std::string& dataFolder() const { return dataFolder_; }

 private:
  CIndexReader index_;
  std::string dataFolder_;
  CameraTimeZone zone_;
};

// The clips' points from the index, the indexer for stale ones, and for the clips that play from
// their folder's imported track, that track in UTC: what a save and an export read.
CClipPoints ClipPointsOf(const std::string& indexPath, const std::string& indexerPath,
                         CClipTracks& clipTracks);

}  // namespace korvane
