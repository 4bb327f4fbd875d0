// How files become playlist entries: the supported file types from the settings, the open
// dialog's filter, and the one folder listing the playlist needs.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_parts.h"
#include "ui/playlist.h"

namespace korvane {

// True when ext equals one of supported ignoring ASCII case; false for an empty ext.
bool IsSupportedExtension(const std::vector<std::string>& supported, std::string_view ext);

// The pieces of an "Associate" value ("mp4;AVI;xyz") that name a known file type, as written.
// Empty pieces and unknown types are dropped; an empty value gives an empty list.
std::vector<std::string> ParseSupportedExtensions(std::string_view associate);

// The open dialog's filter: a display text and the pattern(s) it stands for, ";"-separated.
struct OpenFilter {
  std::string displayText;  // the language's caption followed by "(pattern)"
  std::string pattern;      // e.g. "*.mp4"
};
OpenFilter MakeOpenFilter(std::string_view caption, std::string_view pattern);

// A dropped file is a GPX track to import (extension "gpx" in any case), never a clip; the
// other files go to the playlist as before, each drop taking one route per file.
struct DroppedFiles {
  std::vector<std::string> clips;
  std::vector<std::string> tracks;
};
DroppedFiles SplitDroppedFiles(const std::vector<std::string>& paths);

// Names of the regular files (symbolic links followed) in folder; an empty folder means the
// working folder. std::nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> ListFolder(const std::string& folder);

// Adds folder + name for every name whose extension is supported, skipping paths already listed.
// Returns the number of entries added.
int AddSupportedFiles(Playlist& playlist, const std::string& folder,
                      const std::vector<std::string>& names,
                      const std::vector<std::string>& supported);

// The paths of the folder's files whose type is supported, in the playlist's name order; empty when
// the folder cannot be listed.
std::vector<std::string> SupportedFilesIn(const std::string& folder,
                                          const std::vector<std::string>& supported);

}  // namespace korvane
