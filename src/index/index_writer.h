// CIndexWriter: stores one clip at a time in the index; used only by the indexer program, the
// index's one writer. Each clip is one transaction, so a failure (disk full, a killed process)
// leaves every clip stored before it as it was.
#pragma once
#include <span>
#include <string>

#include "index/index_database.h"
#include "index/index_point.h"

namespace korvane {

class CIndexWriter {
 public:
  explicit CIndexWriter(std::string path) : path_(std::move(path)) {}

  // Opens the index now (see OpenIndexForWriting); "" on success, else why it cannot be written.
  // Store opens it by itself; this lets a program find an unusable index before any clip.
  std::string Open();

  // Stores (or replaces) the clip's row, its points, its overview line and its driving events (the
  // row counts them; summary.eventRules says how they were found). Returns "" when stored,
  // else why not: nothing of this clip is stored then. A file deleted or replaced since the last
  // call is opened again (a new index is made when it is gone); a file found corrupt is moved aside
  // and the clip stored in a new one.
  std::string Store(const ClipSummary& summary, std::span<const IndexPoint> points,
                    std::span<const IndexPoint> overview, std::span<const DriveEvent> events = {});

  // A corrupt or foreign index was moved aside by this writer.
  bool movedAside() const { return movedAside_; }
  const std::string& path() const { return path_; }

 private:
  int Write(const ClipSummary& summary, std::span<const IndexPoint> points,
            std::span<const IndexPoint> overview, std::span<const DriveEvent> events);

  std::string path_;
  SqliteDb db_;
  FileIdentity opened_;
  bool movedAside_ = false;
};

}  // namespace korvane
