// The GPX tracks the user imported for a folder of clips, kept in the data folder (never in the
// index cache, which may be deleted at any time): "<data>/imports/<key>.gpx" is a copy of the
// user's file, "<key>.folder" names the clip folder it was imported for. One import per folder;
// a new one replaces it.
#pragma once
#include <optional>
#include <string>

namespace korvane {

// "<dataFolder>/imports".
std::string ImportsFolderOf(const std::string& dataFolder);

// Copies `gpxPath` into the data folder as the import of `clipFolder` (a path ending in "/" or
// not, the same folder either way). The copy is written beside its place and renamed over it, so
// an import read at the same time is the old or the new one, never half of one. False, with
// `error`, when the file cannot be read or the data folder cannot be written.
bool StoreFolderImport(const std::string& dataFolder, const std::string& clipFolder,
                       const std::string& gpxPath, std::string& error);

// The stored copy of the GPX imported for `clipFolder`; nullopt when there is none (or its record
// names another folder).
std::optional<std::string> StoredFolderImport(const std::string& dataFolder,
                                              const std::string& clipFolder);

}  // namespace korvane
