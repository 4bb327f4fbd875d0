// A clip file's facts as the index records them (size, modification time), and whether a stored
// row still describes the clip: a changed clip, or one beside which a file of a source came or
// went that would be read before the row's, is indexed again.
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

// True when the files of sources beside the clip (`besideNow`, BesideFilesText) changed since
// `stored` was made in a way that may change what it is read from (BesideFilesChanged). Not for
// a failed row (retried when the file changes). A log that held no fix is recorded as the row's
// source and among its files, so it does not make the clip stale on every run.
bool BesideFilesCameOrWent(const ClipSummary& stored, const std::string& besideNow);

// IsUpToDate for the file at stored.path as it is now, and no file beside it came or went. False,
// with `factsError`, when the file cannot be read.
bool IsStoredRowCurrent(const ClipSummary& stored, std::string& factsError);

}  // namespace korvane
