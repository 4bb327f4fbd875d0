// Where an export gets each clip's full-rate points: the index, when its entry describes the file
// as it is now; otherwise the indexer program, run on the stale clips to bring the index up to
// date. The indexer reads clips with libavformat in a process of its own, so a malformed clip can
// end that process, never the export. When the index cannot be written, the stale clips go into a
// private index in a temporary folder that lives as long as this object.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "index/index_point.h"
#include "index/index_reader.h"

namespace korvane {

class CClipPoints {
 public:
  CClipPoints(std::string indexPath, std::string indexerProgram);
  ~CClipPoints();
  CClipPoints(const CClipPoints&) = delete;
  CClipPoints& operator=(const CClipPoints&) = delete;

  // The summaries of the clips, in the order given, each up to date with its file: read from the
  // index, or made by the indexer for the clips whose entry is missing, old or failed. A clip the
  // indexer cannot read comes back with its status (NoTelemetry, Failed) and reason. Returns an
  // empty text, or why no clip could be indexed (the indexer program cannot be started).
  std::string Refresh(const std::vector<std::string>& clips, std::vector<ClipSummary>& summaries);

  // The clip's points as of `summary` (from Refresh). A clip whose file changed since is indexed
  // again once; false, with the reason, when it keeps changing or cannot be read any more.
  bool Points(ClipSummary& summary, std::vector<IndexPoint>& points, std::string& reason);

 private:
  // Runs the indexer on the clips into the index at `db`; the clips it replied for go into
  // `replied`. False (with the reason) when the index at `db` cannot be written or the program
  // cannot be started.
  bool RunIndexer(const std::string& db, const std::vector<std::string>& clips,
                  std::string& reason);
  // The reader of the index that holds the clip's entry now.
  CIndexReader& ReaderFor(const std::string& clip);
  bool UsePrivateIndex(std::string& reason);

  std::string indexerProgram_;
  CIndexReader shared_;
  std::unique_ptr<CIndexReader> private_;  // once the shared index refused a write
  std::string privateFolder_;
  std::map<std::string, bool> inPrivate_;  // clip → its entry is in the private index
};

}  // namespace korvane
