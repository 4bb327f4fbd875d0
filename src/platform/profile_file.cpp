#include "platform/profile_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <optional>

#include "platform/fd_io.h"
#include "platform/profile_text.h"

namespace korvane {

namespace {

// Writes from different threads must not interleave their read-change-replace steps.
std::mutex g_writeMutex;

// No settings or language file comes near this; anything larger is not one.
constexpr off_t kMaxProfileBytes = 16 << 20;

// The whole file, or nullopt when it cannot be read or is no regular file of a sensible size.
// A path built from a user's setting may name a FIFO or a device: O_NONBLOCK keeps the open
// from waiting for a writer, and the checks keep the read from never ending.
std::optional<std::string> ReadWholeFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxProfileBytes) {
    close(fd);
    return std::nullopt;
  }
  std::string text;
  char buffer[16384];
  ssize_t n;
  while ((n = ReadFd(fd, buffer, sizeof buffer)) > 0 &&
         text.size() <= static_cast<size_t>(kMaxProfileBytes)) {
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (n < 0 || text.size() > static_cast<size_t>(kMaxProfileBytes)) return std::nullopt;
  return text;
}

std::optional<std::string> FindValue(const std::string& path, std::string_view section,
                                     std::string_view key) {
  auto text = ReadWholeFile(path);
  if (!text) return std::nullopt;
  auto value = FindProfileValue(*text, section, key);
  if (!value) return std::nullopt;
  return CutToChars(*value, kProfileValueMaxChars);
}

// Puts `text` at `path` through a temporary file in the same folder and a rename, keeping the
// old file's permissions. Only where no temporary file can be made beside it (a folder the user
// may not write to, holding a file they may) is the file written in place.
bool ReplaceFile(const std::string& path, const std::string& text) {
  struct stat old {};
  const bool existed = stat(path.c_str(), &old) == 0;
  // A symbolic link stays a link: the file it points to is the one replaced.
  std::string target = path;
  if (char* resolved = existed ? realpath(path.c_str(), nullptr) : nullptr) {
    target = resolved;
    free(resolved);
  }
  std::string temp = target + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd >= 0) {
    fchmod(fd, existed ? (old.st_mode & 07777) : 0644);
    bool ok = WriteAllFd(fd, text.data(), text.size()) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;  // a full disk must not be answered by truncating the old file
  }
  fd = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAllFd(fd, text.data(), text.size());
  return close(fd) == 0 && ok;
}

}  // namespace

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
  auto value = FindValue(path, section, key);
  return value ? *value : std::string(defaultValue);
}

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int defaultValue) {
  auto value = FindValue(path, section, key);
  if (!value || value->empty()) return defaultValue;
  return LeadingInteger(*value);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::lock_guard lock(g_writeMutex);
  std::string text;
  if (access(path.c_str(), F_OK) == 0) {
    auto existing = ReadWholeFile(path);
    if (!existing) return false;  // never replace a file we could not read
    text = std::move(*existing);
  }
  auto changed = SetProfileValue(text, section, key, value);
  if (!changed) return false;
  if (*changed == text && !text.empty()) return true;
  return ReplaceFile(path, *changed);
}

}  // namespace korvane
