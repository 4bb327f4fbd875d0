#include "platform/xdg_folders.h"

#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace korvane {

namespace {

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The value of a shell assignment as user-dirs.dirs writes it: "…" with backslash escapes.
std::string Unquote(std::string_view value) {
  if (value.size() < 2 || value.front() != '"') return std::string(value);
  std::string result;
  for (std::size_t i = 1; i < value.size(); ++i) {
    char c = value[i];
    if (c == '"') break;
    if (c == '\\' && i + 1 < value.size()) c = value[++i];
    result += c;
  }
  return result;
}

}  // namespace

std::string HomeFolder() {
  if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/') {
    return WithoutTrailingSlash(home);
  }
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir && pw->pw_dir[0] == '/') {
    return WithoutTrailingSlash(pw->pw_dir);
  }
  return {};
}

std::string DocumentsFolderFromUserDirs(std::string_view fileText, const std::string& home) {
  std::istringstream lines{std::string(fileText)};
  std::string line;
  std::string found;
  while (std::getline(lines, line)) {
    const auto begin = line.find_first_not_of(" \t");
    if (begin == std::string::npos || line[begin] == '#') continue;
    std::string_view entry(line);
    entry.remove_prefix(begin);
    constexpr std::string_view kName = "XDG_DOCUMENTS_DIR=";
    if (entry.substr(0, kName.size()) != kName) continue;
    std::string value = Unquote(entry.substr(kName.size()));
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
      value = home + value.substr(5);
    }
    found = value;  // the last assignment wins, as in the shell
  }
  if (found.empty() || found.front() != '/') return {};
  return WithoutTrailingSlash(found);
}

std::string DocumentsFolder() {
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  std::string config;
  if (const char* xdg = getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    config = xdg;
  } else {
    config = home + "/.config";
  }
  std::ifstream file(config + "/user-dirs.dirs");
  if (file) {
    std::stringstream text;
    text << file.rdbuf();
    std::string folder = DocumentsFolderFromUserDirs(text.str(), home);
    if (!folder.empty()) return folder;
  }
  return home + "/Documents";
}

std::string DataHomeFolder() {
  if (const char* xdg = getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    return WithoutTrailingSlash(xdg);
  }
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.local/share";
}

std::string UsableXdgRuntimeDir() {
  const char* xdg = getenv("XDG_RUNTIME_DIR");
  if (xdg == nullptr || xdg[0] != '/') return {};
  struct stat info {};
  if (stat(xdg, &info) != 0 || !S_ISDIR(info.st_mode) || access(xdg, W_OK | X_OK) != 0) return {};
  return WithoutTrailingSlash(xdg);
}

}  // namespace korvane
