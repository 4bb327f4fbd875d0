#include "ui/playlist_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/ascii_text.h"

namespace korvane {
namespace {

bool IsKnownExtension(std::string_view piece) {
  for (const KnownExtension* row = KnownExtensions; row->extension != nullptr; ++row) {
    if (EqualsIgnoringAsciiCase(row->extension, piece)) return true;
  }
  return false;
}

}  // namespace

bool IsSupportedExtension(const std::vector<std::string>& supported, std::string_view ext) {
  if (ext.empty()) return false;
  return std::any_of(supported.begin(), supported.end(),
                     [&](const std::string& known) { return EqualsIgnoringAsciiCase(known, ext); });
}

DroppedFiles SplitDroppedFiles(const std::vector<std::string>& paths) {
  DroppedFiles dropped;
  for (const std::string& path : paths) {
    (EqualsIgnoringAsciiCase(SplitPath(path).extension, "gpx") ? dropped.tracks : dropped.clips)
        .push_back(path);
  }
  return dropped;
}

std::vector<std::string> ParseSupportedExtensions(std::string_view associate) {
  std::vector<std::string> supported;
  while (!associate.empty()) {
    std::size_t end = associate.find(';');
    std::string_view piece = associate.substr(0, end);
    if (!piece.empty() && IsKnownExtension(piece)) supported.emplace_back(piece);
    associate.remove_prefix(end == std::string_view::npos ? associate.size() : end + 1);
  }
  return supported;
}

OpenFilter MakeOpenFilter(std::string_view caption, std::string_view pattern) {
  OpenFilter filter;
  filter.displayText.append(caption).append("(").append(pattern).append(")");
  filter.pattern = std::string(pattern);
  return filter;
}

std::optional<std::vector<std::string>> ListFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
  if (error) return std::nullopt;
  std::vector<std::string> names;
  // An entry that vanishes or cannot be read is simply not listed; a listing that breaks off keeps
  // what it found so far.
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code statusError;
    if (it->is_regular_file(statusError)) names.push_back(it->path().filename().string());
  }
  return names;
}

int AddSupportedFiles(Playlist& playlist, const std::string& folder,
                      const std::vector<std::string>& names,
                      const std::vector<std::string>& supported) {
  int added = 0;
  for (const std::string& name : names) {
    if (!IsSupportedExtension(supported, ExtensionOf(name))) continue;
    if (playlist.AddEntry(folder + name, name) >= 0) ++added;
  }
  return added;
}

std::vector<std::string> SupportedFilesIn(const std::string& folder,
                                          const std::vector<std::string>& supported) {
  Playlist files;
  if (std::optional<std::vector<std::string>> names = ListFolder(folder)) {
    AddSupportedFiles(files, folder, *names, supported);
  }
  files.SortByName();
  std::vector<std::string> paths;
  for (const auto& entry : files.entries()) paths.push_back(entry->path);
  return paths;
}

}  // namespace korvane
