// The GPX tracks the user imported for a folder of clips, kept in the data folder (never in the
// index cache, which may be deleted at any time): "<data>/imports/<key>.gpx" is a copy of the
// user's file, "<key>.folder" names the clip folder it was imported for. One import per folder;
// a new one replaces it. Beside them, "<key>.choices" names the folder on its first line and then
// the clips (by file name, one a line) that the user chose to play from the import instead of
// their own track; it outlives a new import of the folder.
#pragma once
#include <optional>
#include <string>

namespace korvane {

// "<dataFolder>/imports".
std::string ImportsFolderOf(const std::string& dataFolder);

// Copies `gpxPath` into the data folder as the import of `clipFolder` (a path ending in "/" or
// not, the same folder either way). The copy is written beside its place and renamed over it, so
// an import read at the same time is the old or the new one, never half of one. False, with
// `error` (and errno saying why), when the file cannot be read or the data folder cannot be
// written.
bool StoreFolderImport(const std::string& dataFolder, const std::string& clipFolder,
                       const std::string& gpxPath, std::string& error);

// The stored copy of the GPX imported for `clipFolder`; nullopt when there is none (or its record
// names another folder).
std::optional<std::string> StoredFolderImport(const std::string& dataFolder,
                                              const std::string& clipFolder);

// Keeps (`chosen`) or drops the user's choice to play the clip at `clipPath` from its folder's
// import, keeping the folder's other choices; written beside its place and renamed over it. False,
// with `error` (and errno saying why: EINVAL for the name), for a file name that cannot be a line
// of the record or a data folder that cannot be written.
bool StoreImportChoice(const std::string& dataFolder, const std::string& clipPath, bool chosen,
                       std::string& error);

// True when the user chose the folder's import for the clip at `clipPath`. False without a
// record, for a record that names another folder, or one larger than a record can grow (damaged);
// a line that is no file name is skipped.
bool ImportChosen(const std::string& dataFolder, const std::string& clipPath);

}  // namespace korvane
