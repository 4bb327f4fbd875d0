// CTrackFeed: the feed of clips that play from the GPS log beside them, or from a GPX track
// imported for their folder, instead of their own subtitle track. Decides which clips those are
// (DecideClipTrack), keeps the user's per-clip choice of the import in the data folder, reads a
// started clip's track into the track store and the navigation track (for the map's route and
// seeking), answers the record at the player's time, and gives trips the summaries of the clips
// fed from an import. Owns the clip's whole track. UI thread.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/camera_time_zone.h"
#include "index/index_reader.h"
#include "settings/settings.h"
#include "telemetry/fed_track.h"
#include "telemetry/navigation_track.h"
#include "telemetry/track_import.h"
#include "telemetry/track_store.h"
#include "ui/controller_ports.h"

namespace korvane {

// True when a clip plays from the GPS log beside it: it has one, and the index does not hold the
// clip as read from its own track. A clip the index has not read yet counts as fed when it has a
// log, as cameras that keep one write no track.
bool IsFedClip(const ClipSummary& indexed, bool hasSidecar);
// True when a clip may play from a track imported for its folder: the index has read it and found
// no telemetry. A clip not read yet may have its own track, which an import must not hide.
bool IsImportFedClip(const ClipSummary& indexed);

// Where a clip's telemetry comes from while it plays.
enum class ClipTrack { Own, Sidecar, Import };  // Own: its subtitle track (or none at all)
struct ClipTrackDecision {
  ClipTrack track = ClipTrack::Own;
  TrackChoice choice;  // offered when the clip has a track of its own and the folder an import
};
// The import when the folder has one and the user chose it for the clip; else the log beside it
// (IsFedClip); else the import for a clip the index found without telemetry; else its own track.
// The choice is offered for a clip with a track of its own (found by the index, or a log beside
// it) in a folder with an import, and stays offered once the import is chosen.
ClipTrackDecision DecideClipTrack(const ClipSummary& indexed, bool hasSidecar, bool hasImport,
                                  bool importChosen);

class CTrackFeed final : public ITrackFeedPort {
 public:
  // Imports, choices and the clock offsets the matching applies are kept in, and read from,
  // `dataFolder`; `zone` is the camera clock's, which places a clip with its own track on the
  // imported track's time.
  CTrackFeed(std::string indexPath, std::string dataFolder, CTrackStore& store,
             CNavigationTrack& navigation, const Settings& settings, CameraTimeZone zone = {})
      : index_(std::move(indexPath)),
        dataFolder_(std::move(dataFolder)),
        store_(store),
        navigation_(navigation),
        settings_(settings),
        zone_(zone) {}

  bool Feeds(const std::string& path) override;
  bool Load(const std::string& path) override;
  std::optional<TelemetryRecord> RecordAt(double seconds) const override;
  // Logs per clip which time was used and what the track covers (stderr).
  TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                const std::vector<std::string>& clips) override;
  TrackChoice ChoiceOf(const std::string& path) override;
  // Says on stderr why a choice could not be kept.
  bool ChooseImport(const std::string& path, bool import) override;

  // The index's rows of `clips` (one folder) as trips count them: each clip that plays from the
  // folder's import has in place of its row the summary of what the track gives it, on the same
  // clock as the folder's own camera times (SummarizeImportedRecords). The index's rows alone when
  // the folder has no import, or it cannot be read (said on stderr). Reads and matches the track.
  std::vector<ClipSummary> TripSummaries(const std::vector<std::string>& clips);

 private:
  struct ImportFedClip {
    ClipSummary indexed;
    ImportCandidate candidate;
  };
  // The clips among `clips` that play from their folder's import, with the facts that place them
  // on the track.
  std::vector<ImportFedClip> ImportFedClips(const std::vector<std::string>& clips);
  ClipTrackDecision Decide(const std::string& path, const ClipSummary& indexed) const;
  // The clip's first camera time in UTC ms, for a clip whose own track the index has read.
  std::optional<std::int64_t> CameraStartOf(const ClipSummary& indexed) const;

  CIndexReader index_;
  std::string dataFolder_;
  CTrackStore& store_;
  CNavigationTrack& navigation_;
  const Settings& settings_;
  CameraTimeZone zone_;
  CFedTrack track_;
};

}  // namespace korvane
