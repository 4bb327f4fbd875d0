// Whole small files read and written safely: a read that never waits on a FIFO or a device and
// never takes more than its limit, and a write that replaces the file in one step, so a reader
// sees the old or the new file, never half of one.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

// The whole file, or nullopt when it cannot be read, is no regular file, or is larger than
// `maxBytes`.
std::optional<std::string> ReadSmallFile(const std::string& path, std::int64_t maxBytes);

// Puts `text` at `path` through a temporary file in the same folder and a rename, keeping the
// old file's permissions (a symbolic link stays a link to the file replaced). Only where no
// temporary file can be made beside it (a folder the user may not write to, holding a file they
// may) is the file written in place. False when it cannot be written; the old file is then kept.
bool ReplaceFile(const std::string& path, const std::string& text);

}  // namespace korvane
