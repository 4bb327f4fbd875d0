// CClipReading: clips the index does not know as they are now, read one at a time off the UI
// thread as the export reads them (CClipPoints: the indexer program, at normal priority and never
// paused, into the shared index, else into a private one), so a clip that brings the reading down
// takes no window with it. `done` is called on the reading thread after each clip; Take then gives
// what was read.
#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "export/clip_points.h"
#include "index/index_point.h"

namespace korvane {

class CClipReading {
 public:
  struct Read {
    std::string path;
    ClipSummary summary;  // up to date with the file; Failed with the reason when it was not read
    std::vector<IndexPoint> points;
  };

  CClipReading(std::string indexPath, std::string indexerProgram, std::function<void()> done);
  // Ends the indexer reading a clip, if any; a clip still waiting is not read.
  ~CClipReading();
  CClipReading(const CClipReading&) = delete;
  CClipReading& operator=(const CClipReading&) = delete;

  // Reads `path` next, in place of a clip still waiting; the one being read is finished first.
  void Start(const std::string& path);
  // The last read of `path`, once; nullopt when it has not been read since Start.
  std::optional<Read> Take(const std::string& path);

 private:
  void Loop();

  // One reader for the object's life: a private index it made stays for the clips read after.
  CClipPoints points_;
  std::function<void()> done_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::string> waiting_;
  std::optional<Read> read_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace korvane
