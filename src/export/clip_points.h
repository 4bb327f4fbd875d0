// Where an export (or a report) gets each clip's full-rate points: the index, when its entry
// describes the file as it is now; otherwise the indexer program, run on the stale clips to bring
// the index up to date; and for a clip that plays from the track imported for its folder, that
// track. The indexer reads clips with libavformat in a process of its own, so a malformed clip can
// end that process, never the caller. When the index cannot be written, the stale clips go into a
// private index in a temporary folder that lives as long as this object.
#pragma once
#include <sys/types.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "index/index_point.h"
#include "index/index_reader.h"
#include "index/track_summary.h"

namespace korvane {

// What the track imported for their folder gives the clips among `clips` that play from it (UTC
// times), asked once the index is up to date.
using ImportedTracksOf =
    std::function<std::vector<ImportedTrack>(std::span<const std::string> clips)>;

class CClipPoints {
 public:
  // Without `importedTracks` every clip is read from the index.
  CClipPoints(std::string indexPath, std::string indexerProgram,
              ImportedTracksOf importedTracks = {});
  ~CClipPoints();
  CClipPoints(const CClipPoints&) = delete;
  CClipPoints& operator=(const CClipPoints&) = delete;

  // The summaries of the clips, in the order given, each up to date with its file: read from the
  // index, or made by the indexer for the clips whose entry is missing, old or failed; a clip that
  // plays from its folder's imported track has the summary of what the track gives it. A clip the
  // indexer cannot read comes back with its status (NoTelemetry, Failed) and reason. Returns an
  // empty text, or why no clip could be indexed (the indexer program cannot be started).
  std::string Refresh(const std::vector<std::string>& clips, std::vector<ClipSummary>& summaries);

  // The clip's points as of `summary` (from Refresh). A clip whose file changed since is indexed
  // again once; false, with the reason, when it keeps changing or cannot be read any more.
  bool Points(ClipSummary& summary, std::vector<IndexPoint>& points, std::string& reason);

  // From any thread: ends the indexer run under way and every one after, so a Refresh or Points
  // in another thread returns soon, with a reason.
  void Cancel();

 private:
  // Runs the indexer on the clips into the index at `db`; a clip that ends an indexer is left
  // out and the rest go to a new one. False (with the reason) when the index at `db` cannot be
  // written or the program cannot be started.
  bool RunIndexer(const std::string& db, const std::vector<std::string>& clips,
                  std::string& reason);
  // Stores `clip` in the index at `db` as failed with `why` (the indexer's fail request).
  void StoreFailed(const std::string& db, const std::string& clip, const std::string& why);
  // The reader of the index that holds the clip's entry now.
  CIndexReader& ReaderFor(const std::string& clip);
  bool UsePrivateIndex(std::string& reason);

  std::string indexerProgram_;
  std::atomic<bool> cancelled_{false};
  std::atomic<pid_t> running_{0};  // the indexer process under way, 0 when none
  ImportedTracksOf importedTracks_;
  std::map<std::string, std::vector<IndexPoint>> imported_;  // clip → its points on the track
  CIndexReader shared_;
  std::unique_ptr<CIndexReader> private_;  // once the shared index refused a write
  std::string privateFolder_;
  std::map<std::string, bool> inPrivate_;  // clip → its entry is in the private index
};

}  // namespace korvane
