#include "telemetry/track_import_store.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

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

bool WriteReplacing(const fs::path& target, const std::string& bytes) {
  const fs::path temporary = fs::path(target).concat(".part");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, target, error);
  if (error) fs::remove(temporary, error);
  return !error;
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
  if (!WriteReplacing(imports / (key + ".gpx"), gpx.str()) ||
      !WriteReplacing(imports / (key + ".folder"), folder + "\n")) {
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

}  // namespace korvane
