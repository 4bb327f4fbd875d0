// Writes EXIF tags into a snapshot PNG through exiv2. Thin shell around the library: the tags
// come composed (snapshot_tags.h).
//
// exiv2 0.27 (Debian 12) stores a PNG's EXIF in a compressed text chunk, "Raw profile type exif",
// right after the header; it cannot write the newer eXIf chunk. That chunk is what we write:
// exiv2 and exiftool both read it back, and writing eXIf instead would mean a PNG chunk writer of
// our own beside the library.
#pragma once
#include <string>
#include <vector>

#include "telemetry/snapshot_tags.h"

namespace korvane {

// Adds `tags` to the PNG at `path`. The tags go into a copy beside the file that then replaces it,
// so a failure at any step leaves the file as it was. Returns "" on success, else the reason
// (file missing or not a PNG, a value exiv2 refuses, a write that failed), with errno saying why
// a write failed.
std::string WriteExifTags(const std::string& path, const std::vector<ExifTag>& tags);

}  // namespace korvane
