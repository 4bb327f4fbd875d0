// What the playback controller needs of the feed of clips that play from another track than their
// own, and what the feed answers about a folder's imported track: an interface, so the
// controller's rules run against a fake in tests and against CTrackFeed in the program.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/write_failure.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

struct TrackImportResult {
  bool stored = false;     // the import is kept in the data folder
  int clipsWithTrack = 0;  // clips that play from it: no own track or log, and a position in it
  std::string error;       // why it was not stored
  // Set when the data folder could not be written, which the user is told in their language.
  std::optional<WriteFailure> writeFailure;
};

// Whether the user's choice of track was kept, and when not, why.
struct ChoiceKept {
  bool kept = true;
  WriteFailure failure = WriteFailure::Other;
  explicit operator bool() const { return kept; }
};

// For a clip with a track of its own in a folder with an imported GPX track: whether the user may
// choose which of them it plays from, and whether the import is chosen.
struct TrackChoice {
  bool offered = false;
  bool import = false;
  friend bool operator==(const TrackChoice&, const TrackChoice&) = default;
};

// How a clip's telemetry reaches the window.
enum class ClipFeed {
  Pipeline,  // its own subtitle track, through the extraction and the subtitle poll (or none)
  Fed,       // another track, read whole: the points the index read, or an imported GPX track
  Unread,    // the index does not know the clip as it is now: ReadNow, then ask again
};

// Clips whose telemetry is not their own subtitle track (a GPS log beside them, a box of the file,
// an imported GPX track): their whole track, read when they start and shown at the player's time,
// with no extraction and no subtitle poll.
class ITrackFeedPort {
 public:
  virtual ~ITrackFeedPort() = default;
  virtual ClipFeed FeedOf(const std::string& path) = 0;
  // True when the clip plays from another track than its own subtitle track.
  bool Feeds(const std::string& path) { return FeedOf(path) == ClipFeed::Fed; }
  // Has the indexer read the clip now, off the UI thread; the window is told when it is done and
  // then asks ReadDone.
  virtual void ReadNow(const std::string& path) = 0;
  // True once the clip asked for by ReadNow has been read (FeedOf then answers from it).
  virtual bool ReadDone(const std::string& path) = 0;
  // Reads the clip's track into the track store and the navigation track (the store must not be
  // written by a run). False when it has no valid record: the clip then shows no position.
  virtual bool Load(const std::string& path) = 0;
  // Whether the track Load read has G values, which the chart draws (else it says it has none).
  virtual bool loadedHasGValues() const = 0;
  // The record shown at `seconds` of the loaded clip; nullopt where the track has no fix.
  virtual std::optional<TelemetryRecord> RecordAt(double seconds) const = 0;
  // Stores the GPX file as the track of the clips in `clipFolder` that have no track of their own
  // and no GPS log, or whose user chose the import; `clips` are the folder's clips, for the count.
  virtual TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                        const std::vector<std::string>& clips) = 0;
  // The clip's choice between its own track and its folder's import.
  virtual TrackChoice ChoiceOf(const std::string& path) = 0;
  // Keeps the user's choice of the import (or of the clip's own track) for the clip, across
  // restarts; false, with why, when it could not be kept.
  virtual ChoiceKept ChooseImport(const std::string& path, bool import) = 0;
};

}  // namespace korvane
