#include "settings/data_folder.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/fd_io.h"
#include "platform/path_parts.h"
#include "platform/xdg_folders.h"

namespace korvane {

namespace {

// The program folder's default settings file, used when no data folder can be had.
constexpr char kFallbackSettingsFile[] = "conf/TotalConfig/Velmora.ini";

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// Makes `folder` and the levels above it that are missing, as xdg-user-dirs makes the user's
// folders; true when it exists as a folder afterwards.
bool MakeFolders(const std::string& folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  // The folder above, without its last "/" ("a/b/" above "a/b/c", none above "/a").
  const std::string above = SplitPath(folder).folder;
  if (above.size() > 1 && !MakeFolders(above.substr(0, above.size() - 1))) return false;
  return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

std::string WithSlash(std::string folder) {
  if (folder.back() != '/') folder += '/';
  return folder;
}

// Sorted, so a walk that stops at a failure stops at the same place every time.
std::optional<std::vector<std::string>> EntriesOf(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The copy is always writable by its owner: it is the user's own settings from now on.
bool CopyFile(const std::string& source, const std::string& destination, bool failIfExists) {
  // Only regular files are copied: opening a FIFO must not wait for a writer.
  int in = open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return false;
  struct stat info {};
  if (fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(in);
    return false;
  }
  int out =
      open(destination.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC),
           (info.st_mode & 0777) | 0600);
  if (out < 0) {
    close(in);
    return false;
  }
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ReadFd(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0 || !WriteAllFd(out, buffer, static_cast<size_t>(n))) {
      ok = false;
      break;
    }
  }
  close(in);
  ok = close(out) == 0 && ok;
  if (!ok) unlink(destination.c_str());  // never leave half a settings file behind
  return ok;
}

}  // namespace

int CopyFolderTree(const std::string& source, const std::string& destination, bool failIfExists) {
  if (source.empty() || destination.empty()) return 0;
  if (!Exists(destination) && mkdir(destination.c_str(), 0755) != 0) return 0;
  const std::string from = WithSlash(source);
  const std::string to = WithSlash(destination);
  auto entries = EntriesOf(from);
  if (!entries) return 0;
  int result = 0;
  for (const std::string& name : *entries) {
    const std::string sourcePath = from + name;
    const std::string destinationPath = to + name;
    struct stat info {};
    if (stat(sourcePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      result = CopyFolderTree(sourcePath, destinationPath, failIfExists);
    } else if (Exists(destinationPath)) {
      result = 1;  // the user's copy wins
    } else {
      result = CopyFile(sourcePath, destinationPath, failIfExists) ? 1 : 0;
    }
    if (result == 0) break;
  }
  return result;
}

namespace {

// `parent`/`name`/ as the data folder, with a copy of the default configuration in its "conf"
// subfolder; false, leaving the context as it was, when it cannot be made or the copy fails. A
// new account or a minimal install may have no documents folder yet, so `parent` is made.
bool TakeDataFolder(ApplicationContext& context, const std::string& parent, const char* name) {
  if (parent.empty() || !MakeFolders(parent)) return false;
  const std::string dataFolder = parent + "/" + name + "/";
  if (!Exists(dataFolder) && mkdir(dataFolder.c_str(), 0755) != 0) return false;
  // dataFolder ends in "/" and the parts added begin with one: the doubled "/" is harmless.
  if (CopyFolderTree(context.programFolder + "conf/TotalConfig/", dataFolder + "/conf/", true) ==
      0) {
    return false;
  }
  context.dataFolder = dataFolder;
  context.settingsPath = dataFolder + "/conf/Velmora.ini";
  return true;
}

}  // namespace

bool UsesOwnSettingsFile(const ApplicationContext& context) {
  return !context.settingsPath.empty() &&
         context.settingsPath != context.programFolder + kFallbackSettingsFile;
}

void PrepareDataFolder(ApplicationContext& context) {
  PrepareDataFolderIn(context, DocumentsFolder());
}

std::string ExistingSettingsPath(const std::string& programFolder) {
  const std::string documents = DocumentsFolder();
  const std::string userCopy = documents + "/KORVANE/conf/Velmora.ini";
  if (!documents.empty() && Exists(userCopy)) return userCopy;
  const std::string dataHomeCopy = DataHomeFolder() + "/korvane/conf/Velmora.ini";
  if (access(programFolder.c_str(), W_OK) != 0 && Exists(dataHomeCopy)) return dataHomeCopy;
  return programFolder + "conf/TotalConfig/Velmora.ini";
}

std::string ExistingDataFolder(const std::string& programFolder) {
  const std::string documents = DocumentsFolder();
  const std::string own = documents + "/KORVANE/";
  if (!documents.empty() && Exists(own)) return own;
  const std::string dataHome = DataHomeFolder() + "/korvane/";
  if (access(programFolder.c_str(), W_OK) != 0 && Exists(dataHome)) return dataHome;
  return programFolder + "Screencut/";
}

void PrepareDataFolderIn(ApplicationContext& context, const std::string& documentsFolder) {
  PrepareDataFolderIn(context, documentsFolder, DataHomeFolder(),
                      access(context.programFolder.c_str(), W_OK) == 0);
}

void PrepareDataFolderIn(ApplicationContext& context, const std::string& documentsFolder,
                         const std::string& dataHome, bool programFolderWritable) {
  if (TakeDataFolder(context, documentsFolder, "KORVANE")) return;
  if (!programFolderWritable && TakeDataFolder(context, dataHome, "korvane")) return;
  // The fallback data folder is created by the player controller when it first needs it.
  context.dataFolder = context.programFolder + "Screencut/";
  context.settingsPath = context.programFolder + kFallbackSettingsFile;
}

}  // namespace korvane
