// CTrackFeed: the feed of clips that play from the GPS log beside them, or from a GPX track
// imported for their folder, instead of their own subtitle track. Decides which clips those are (a
// log beside the clip goes before an import), reads a started clip's track into the track store and
// the navigation track (for the map's route and seeking), and answers the record at the player's
// time. Owns the clip's whole track. UI thread.
#pragma once
#include <string>

#include "index/index_reader.h"
#include "settings/settings.h"
#include "telemetry/fed_track.h"
#include "telemetry/navigation_track.h"
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

class CTrackFeed final : public ITrackFeedPort {
 public:
  // Imports are kept in, and read from, `dataFolder`.
  CTrackFeed(std::string indexPath, std::string dataFolder, CTrackStore& store,
             CNavigationTrack& navigation, const Settings& settings)
      : index_(std::move(indexPath)),
        dataFolder_(std::move(dataFolder)),
        store_(store),
        navigation_(navigation),
        settings_(settings) {}

  bool Feeds(const std::string& path) override;
  bool Load(const std::string& path) override;
  std::optional<TelemetryRecord> RecordAt(double seconds) const override;
  // Logs per clip which time was used and what the track covers (stderr).
  TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                const std::vector<std::string>& clips) override;

 private:
  // The import the clip would play from: none when it has a log beside it or the index has not
  // found it without telemetry.
  std::optional<std::string> ImportFor(const std::string& path);

  CIndexReader index_;
  std::string dataFolder_;
  CTrackStore& store_;
  CNavigationTrack& navigation_;
  const Settings& settings_;
  CFedTrack track_;
};

}  // namespace korvane
