// The reading shells of the files beside a clip: a text file fed line by line in blocks, and the
// head of a binary file, each never more than its bound, never waiting on a FIFO or a device.
#pragma once
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "telemetry/telemetry_source.h"

namespace korvane {

struct BoundedRead {
  bool opened = false;     // a regular file that could be opened
  bool truncated = false;  // the read stopped at its bound; the rest was left
};

// Calls `onLine` with each line of the file at `path`, without its line feed, up to `maxBytes`
// of it; of a line longer than `maxLine` the start is dropped rather than grown without end, and
// only its tail is handed over (as a line no decoder reads). The last
// line without a line feed is handed over unless the read was cut short. Not opened for a path
// that is no regular file.
BoundedRead ReadFileLines(const std::string& path, std::size_t maxBytes, std::size_t maxLine,
                          const std::function<void(std::string_view)>& onLine);

// The first `maxBytes` of the file at `path` (truncated when there was more); nullopt when it is
// no regular file or cannot be read.
std::optional<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes,
                                        bool& truncated);

// The clip's base name with the first of `extensions` that is a regular file; nullopt when none is.
std::optional<std::string> FindBesideFile(const std::string& clipPath,
                                          std::initializer_list<const char*> extensions);

// Calls `onLine` with each line of `text` without its line feed, the last one too.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& onLine);

// Appends `note` to a read's reason, "; " between notes.
void AddNote(std::string& reason, const std::string& note);

// A log source's read of the file it found (`log`; nullopt when there is none): `read` not
// present, with the reason, without the file or when it cannot be opened; else present and the
// log's lines handed to `onLine` (ReadFileLines).
BoundedRead ReadLogLines(TelemetryRead& read, const std::optional<std::string>& log,
                         const std::string& what, std::size_t maxBytes, std::size_t maxLine,
                         const std::function<void(std::string_view)>& onLine);

// The notes every log source ends its reason with: a log of no fix, and one read up to the bound.
void AddLogNotes(TelemetryRead& read, const std::string& what, const std::string& log,
                 const BoundedRead& file, std::size_t maxBytes);

}  // namespace korvane
