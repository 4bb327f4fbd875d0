// The reading shells of the files beside a clip: a text file fed line by line in blocks, and the
// head of a binary file, each never more than its bound, never waiting on a FIFO or a device.
#pragma once
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

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

}  // namespace korvane
