// CTrackFeed: the feed of clips that play from the GPS log beside them instead of their own
// subtitle track. Decides which clips those are, reads a started clip's log into the track store
// and the navigation track (for the map's route and seeking), and answers the record at the
// player's time. Owns the clip's whole track. UI thread.
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

class CTrackFeed final : public ITrackFeedPort {
 public:
  CTrackFeed(std::string indexPath, CTrackStore& store, CNavigationTrack& navigation,
             const Settings& settings)
      : index_(std::move(indexPath)), store_(store), navigation_(navigation), settings_(settings) {}

  bool Feeds(const std::string& path) override;
  bool Load(const std::string& path) override;
  std::optional<TelemetryRecord> RecordAt(double seconds) const override;

 private:
  CIndexReader index_;
  CTrackStore& store_;
  CNavigationTrack& navigation_;
  const Settings& settings_;
  CFedTrack track_;
};

}  // namespace korvane
