// A clip file's facts as the index records them (size, modification time), and whether a stored
// row still describes the clip: a changed clip, or one whose GPS log beside it came or went, is
// indexed again.
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

// True when a GPS log beside the clip (`hasLogNow`) came or went since `stored` was made. Only
// counts for a clip the index did not read from its own track (that track goes before a log),
// and not for a failed one (retried when the file changes). A log that held no fix is recorded
// as the row's source, so it does not make the clip stale on every run.
bool GpsLogCameOrWent(const ClipSummary& stored, bool hasLogNow);

// IsUpToDate for the file at stored.path as it is now, and no GPS log came or went. False, with
// `factsError`, when the file cannot be read.
bool IsStoredRowCurrent(const ClipSummary& stored, std::string& factsError);

}  // namespace korvane
