// CTrackFeed: the feed of clips that play from the points the index read for them (a GPS log beside
// them, any source but their own subtitle track), or from a GPX track imported for their folder,
// instead of through the extraction pipeline. Asks CClipTracks which clips those are, has a clip
// the index does not know as it is now read by the indexer (CClipReading), keeps the user's
// per-clip choice of the import in the data folder, reads a started clip's track into the track
// store and the navigation track (for the map's route and seeking), and answers the record at the
// player's time. The indexer is the only reader of the files beside a clip and of the formats
// inside it. Owns the clip's whole track. UI thread.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "telemetry/fed_track.h"
#include "telemetry/navigation_track.h"
#include "telemetry/track_store.h"
#include "tracks/clip_reading.h"
#include "tracks/clip_track.h"
#include "tracks/track_feed_port.h"

namespace korvane {

class CTrackFeed final : public ITrackFeedPort {
 public:
  // Imports, choices and the clock offsets the matching applies are kept in, and read from,
  // `dataFolder`; `zone` is the camera clock's, which places a clip with its own track on the
  // imported track's time.
  // `indexerProgram` reads the clips the index does not know (none when empty); `readDone` is
  // called on the reading thread when one is read.
  CTrackFeed(std::string indexPath, std::string dataFolder, CTrackStore& store,
             CNavigationTrack& navigation, const Settings& settings, CameraTimeZone zone = {},
             std::string indexerProgram = {}, std::function<void()> readDone = {});

  ClipFeed FeedOf(const std::string& path) override;
  void ReadNow(const std::string& path) override;
  bool ReadDone(const std::string& path) override;
  bool Load(const std::string& path) override;
  bool loadedHasGValues() const override { return loadedHasG_; }
  std::optional<TelemetryRecord> RecordAt(double seconds) const override;
  // Logs per clip which time was used and what the track covers (stderr).
  TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                const std::vector<std::string>& clips) override;
  TrackChoice ChoiceOf(const std::string& path) override;
  // Says on stderr why a choice could not be kept.
  ChoiceKept ChooseImport(const std::string& path, bool import) override;

  // The index's rows of `clips` as trips count them (CClipTracks::TripSummaries).
  std::vector<ClipSummary> TripSummaries(std::span<const std::string> clips) {
    return tracks_.TripSummaries(clips);
  }

 private:
  // The index's row of the clip when it describes the file as it is now; else the last read of
  // the clip when that does (a read into a private index); else an Unknown row.
  // `fromRead` tells which.
  ClipSummary CurrentRow(const std::string& path, bool* fromRead = nullptr);

  CClipTracks tracks_;
  std::optional<CClipReading> reading_;
  std::optional<CClipReading::Read> lastRead_;
  bool loadedHasG_ = false;
  CTrackStore& store_;
  CNavigationTrack& navigation_;
  const Settings& settings_;
  CFedTrack track_;
};

}  // namespace korvane
