// The background indexing rules without I/O: which clip goes next (nearest the current one in
// playlist order first), what a crash or a time-out turns into (one retry after a crash, then a
// failed mark; a time-out is marked failed at once), and the progress counts.
#pragma once
#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "index/indexer_protocol.h"

namespace korvane {

// Playlist indexes 0..count-1 ordered by distance from `current`: current, current+1, current-1,
// current+2, ... (after before, at equal distance). `current` out of range counts as 0.
std::vector<int> NearestFirst(int count, int current);

class IndexQueue {
 public:
  // A new run over `clips`, each to be indexed; the previous run is forgotten.
  void Reset(std::vector<std::string> clips);

  // The next request to send, or nullopt when none waits. Failed marks go before clips.
  std::optional<IndexerRequest> Next();

  // The indexer answered for a request that Next handed out: the clip is done.
  void Answered(const IndexerRequest& request);
  // The indexer died during `request`. An index request is handed out once more the first time;
  // the second time the clip gets a failed mark with `reason`. A failed mark that dies is given up.
  void Crashed(const IndexerRequest& request, const std::string& reason);
  // `request` ran too long or hit one of its limits: its clip gets a failed mark with `reason`
  // (no retry).
  void TimedOut(const IndexerRequest& request, const std::string& reason);

  std::size_t total() const { return total_; }  // clips of this run
  std::size_t done() const { return done_; }    // clips answered or given up
  bool finished() const { return done_ == total_; }

 private:
  void MarkFailed(const std::string& path, const std::string& reason);

  std::deque<IndexerRequest> waiting_;
  std::map<std::string, int> crashes_;
  std::size_t total_ = 0;
  std::size_t done_ = 0;
};

}  // namespace korvane
