// A clip file's facts as the index records them (size, modification time), and whether a stored
// row still describes the file: a changed clip is indexed again.
#pragma once
#include <string>

#include "index/index_point.h"

namespace korvane {

// Size and modification time of the file at `path` into `summary`; false (with the reason) when
// it cannot be read.
bool ReadFileFacts(const std::string& path, ClipSummary& summary, std::string& reason);

// True when `stored` (from the index) was made from the file as it is now (`now`, from
// ReadFileFacts): known status, same size, same modification time.
bool IsUpToDate(const ClipSummary& stored, const ClipSummary& now);

}  // namespace korvane
