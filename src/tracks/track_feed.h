// CTrackFeed: the feed of clips that play from the GPS log beside them, or from a GPX track
// imported for their folder, instead of their own subtitle track. Asks CClipTracks which clips
// those are, keeps the user's per-clip choice of the import in the data folder, reads a started
// clip's track into the track store and the navigation track (for the map's route and seeking),
// and answers the record at the player's time. Owns the clip's whole track. UI thread.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "telemetry/fed_track.h"
#include "telemetry/navigation_track.h"
#include "telemetry/track_store.h"
#include "tracks/clip_track.h"
#include "tracks/track_feed_port.h"

namespace korvane {

class CTrackFeed final : public ITrackFeedPort {
 public:
  // Imports, choices and the clock offsets the matching applies are kept in, and read from,
  // `dataFolder`; `zone` is the camera clock's, which places a clip with its own track on the
  // imported track's time.
  CTrackFeed(std::string indexPath, std::string dataFolder, CTrackStore& store,
             CNavigationTrack& navigation, const Settings& settings, CameraTimeZone zone = {})
      : tracks_(std::move(indexPath), std::move(dataFolder), zone),
        store_(store),
        navigation_(navigation),
        settings_(settings) {}

  bool Feeds(const std::string& path) override;
  bool Load(const std::string& path) override;
  std::optional<TelemetryRecord> RecordAt(double seconds) const override;
  // Logs per clip which time was used and what the track covers (stderr).
  TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                const std::vector<std::string>& clips) override;
  TrackChoice ChoiceOf(const std::string& path) override;
  // Says on stderr why a choice could not be kept.
  bool ChooseImport(const std::string& path, bool import) override;

  // The index's rows of `clips` as trips count them (CClipTracks::TripSummaries).
  std::vector<ClipSummary> TripSummaries(std::span<const std::string> clips) {
    return tracks_.TripSummaries(clips);
  }

 private:
  CClipTracks tracks_;
  CTrackStore& store_;
  CNavigationTrack& navigation_;
  const Settings& settings_;
  CFedTrack track_;
};

}  // namespace korvane
