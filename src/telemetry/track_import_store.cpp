#include "telemetry/track_import_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/path_parts.h"
#include "platform/small_file.h"

namespace korvane {

namespace fs = std::filesystem;

namespace {

// The folder without its trailing "/": "/a/b/" and "/a/b" are one folder.
std::string FolderName(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The record's file name stem: the folder's FNV-1a hash in hex. The record keeps the folder's
// whole path, so two folders with one hash are told apart.
std::string KeyOf(const std::string& folder) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : folder) hash = (hash ^ c) * 1099511628211ull;
  char key[17];
  std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash));
  return key;
}

// A record of choices never grows past this: a folder holds some thousands of clips at most.
constexpr std::uintmax_t kMaxChoiceRecordBytes = 4u << 20;

struct ClipPlace {
  std::string folder;  // without its trailing "/"
  std::string name;
};

ClipPlace PlaceOf(const std::string& clipPath) {
  SplitPathResult parts = SplitPath(clipPath);
  if (parts.folder.empty()) return {".", std::move(parts.fileName)};
  return {FolderName(parts.folder), std::move(parts.fileName)};
}

// A name a clip file can have and a line of the record can hold.
bool IsRecordableName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string("/\n\r\0", 4)) == std::string::npos;
}

fs::path ChoiceRecordOf(const std::string& dataFolder, const std::string& folder) {
  return fs::path(ImportsFolderOf(dataFolder)) / (KeyOf(folder) + ".choices");
}

// The clip names the folder's record lists; none when it is missing, names another folder or is
// larger than a record grows.
std::vector<std::string> ReadChoices(const fs::path& record, const std::string& folder) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(record, error);
  if (error || size > kMaxChoiceRecordBytes) return {};
  std::ifstream in(record, std::ios::binary);
  std::string line;
  if (!std::getline(in, line) || line != folder) return {};
  std::vector<std::string> names;
  while (std::getline(in, line)) {
    if (IsRecordableName(line)) names.push_back(line);
  }
  return names;
}

}  // namespace

std::string ImportsFolderOf(const std::string& dataFolder) {
  return (fs::path(dataFolder) / "imports").string();
}

bool StoreFolderImport(const std::string& dataFolder, const std::string& clipFolder,
                       const std::string& gpxPath, std::string& error) {
  std::ifstream in(gpxPath, std::ios::binary);
  std::ostringstream gpx;
  if (!in || !(gpx << in.rdbuf())) {
    error = "cannot read " + gpxPath;
    return false;
  }
  const std::string folder = FolderName(clipFolder);
  const fs::path imports = ImportsFolderOf(dataFolder);
  std::error_code made;
  fs::create_directories(imports, made);
  const std::string key = KeyOf(folder);
  // The track first: a record never names a folder whose track is missing.
  if (!ReplaceFile((imports / (key + ".gpx")).string(), gpx.str()) ||
      !ReplaceFile((imports / (key + ".folder")).string(), folder + "\n")) {
    error = "cannot write to " + imports.string();
    return false;
  }
  return true;
}

std::optional<std::string> StoredFolderImport(const std::string& dataFolder,
                                              const std::string& clipFolder) {
  const std::string folder = FolderName(clipFolder);
  const fs::path imports = ImportsFolderOf(dataFolder);
  const std::string key = KeyOf(folder);
  std::ifstream record(imports / (key + ".folder"));
  std::string named;
  if (!record || !std::getline(record, named) || named != folder) return std::nullopt;
  const fs::path track = imports / (key + ".gpx");
  std::error_code error;
  if (!fs::is_regular_file(track, error)) return std::nullopt;
  return track.string();
}

bool StoreImportChoice(const std::string& dataFolder, const std::string& clipPath, bool chosen,
                       std::string& error) {
  const ClipPlace place = PlaceOf(clipPath);
  if (!IsRecordableName(place.name)) {
    error = "a clip named " + place.name + " cannot be recorded";
    errno = EINVAL;
    return false;
  }
  const fs::path record = ChoiceRecordOf(dataFolder, place.folder);
  std::vector<std::string> names = ReadChoices(record, place.folder);
  std::erase(names, place.name);
  if (chosen) names.push_back(place.name);
  std::string text = place.folder + "\n";
  for (const std::string& name : names) text += name + "\n";
  std::error_code made;
  fs::create_directories(record.parent_path(), made);
  if (!ReplaceFile(record.string(), text)) {
    error = "cannot write " + record.string();
    return false;
  }
  return true;
}

bool ImportChosen(const std::string& dataFolder, const std::string& clipPath) {
  const ClipPlace place = PlaceOf(clipPath);
  const std::vector<std::string> names =
      ReadChoices(ChoiceRecordOf(dataFolder, place.folder), place.folder);
  return std::find(names.begin(), names.end(), place.name) != names.end();
}

}  // namespace korvane
