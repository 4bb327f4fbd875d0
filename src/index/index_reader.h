// CIndexReader: the program's read access to the index: a clip's status and summary, its
// full-rate points, and the overview lines of a set of clips. Read-only; one object per thread.
// A missing, unreadable or foreign index reads as empty: every clip Unknown, no points, no lines.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "index/index_database.h"
#include "index/index_point.h"

namespace korvane {

struct OverviewLine {
  std::string path;
  std::vector<IndexPoint> points;  // at most kOverviewMaxPoints, in track order
};

class CIndexReader {
 public:
  explicit CIndexReader(std::string path) : path_(std::move(path)) {}

  // The clip's summary; status Unknown (and only the path set) when the index does not hold it.
  ClipSummary GetClip(const std::string& clipPath);
  // The summaries of the clips the index holds among `clipPaths`, in the order given.
  std::vector<ClipSummary> GetClips(std::span<const std::string> clipPaths);
  // The clip's valid points at full rate, in track order; empty when not indexed or unreadable.
  std::vector<IndexPoint> GetPoints(const std::string& clipPath);
  // The clip's driving events as the indexer found them (by the rules in its summary), in time
  // order; empty when not indexed or unreadable.
  std::vector<DriveEvent> GetEvents(const std::string& clipPath);
  // The overview lines of the clips among `clipPaths` that have at least one point, in the order
  // given.
  std::vector<OverviewLine> GetOverviews(std::span<const std::string> clipPaths);

  const std::string& path() const { return path_; }

 private:
  // True when a connection to the file now at the path is open; reopens after the file was
  // deleted, replaced or rebuilt.
  bool Ready();

  std::string path_;
  SqliteDb db_;
  FileIdentity opened_;
  SqliteStatement clip_;
  SqliteStatement points_;
  SqliteStatement overview_;
  SqliteStatement events_;
};

}  // namespace korvane
