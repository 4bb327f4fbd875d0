// One report of clips (what `--info` prints): their summaries and points through CClipPoints,
// which indexes the stale ones first, turned into a ClipReport each.
#pragma once
#include <string>
#include <vector>

#include "export/clip_points.h"
#include "export/clip_report.h"

namespace korvane {

struct ReportResult {
  std::string error;                // why no clip could be looked at (no indexer to run)
  std::vector<ClipReport> reports;  // in the order given, of every clip that could be indexed
  // "PATH: could not be indexed: REASON", one per clip the indexer could not finish (it crashed
  // or timed out) or that kept changing while it was read.
  std::vector<std::string> failures;
};

// Never throws.
ReportResult ReportClips(const std::vector<std::string>& clips, CClipPoints& source);

}  // namespace korvane
