#include "platform/small_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fd_io.h"

namespace korvane {

std::optional<std::string> ReadSmallFile(const std::string& path, std::int64_t maxBytes) {
  // A path built from a user's setting may name a FIFO or a device: O_NONBLOCK keeps the open
  // from waiting for a writer, and the checks keep the read from never ending.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxBytes) {
    close(fd);
    return std::nullopt;
  }
  std::string text;
  char buffer[16384];
  ssize_t n;
  while ((n = ReadFd(fd, buffer, sizeof buffer)) > 0 &&
         static_cast<std::int64_t>(text.size()) <= maxBytes) {
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (n < 0 || static_cast<std::int64_t>(text.size()) > maxBytes) return std::nullopt;
  return text;
}

bool ReplaceFile(const std::string& path, const std::string& text) {
  struct stat old {};
  const bool existed = stat(path.c_str(), &old) == 0;
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

}  // namespace korvane
