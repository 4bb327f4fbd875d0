#include "telemetry/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>

#include "platform/path_parts.h"

namespace korvane {
namespace {

// Opens a regular file without waiting on a FIFO; -1 for anything else.
int OpenRegular(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Reads blocks of at most `maxBytes` in all into `onBlock`; true when it stopped at the bound.
template <typename OnBlock>
bool ReadBlocks(int fd, std::size_t maxBytes, OnBlock&& onBlock) {
  std::array<char, 1 << 16> block{};
  std::size_t total = 0;
  for (;;) {
    const std::size_t want = std::min(block.size(), maxBytes - total);
    if (want == 0) {
      // At the bound: truncated only when something is left after it.
      char probe = 0;
      ssize_t more = 0;
      while ((more = read(fd, &probe, 1)) < 0 && errno == EINTR) {
      }
      return more > 0;
    }
    const ssize_t got = read(fd, block.data(), want);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    total += static_cast<std::size_t>(got);
    onBlock(std::string_view(block.data(), static_cast<std::size_t>(got)));
  }
}

// Hands over the complete lines of `text`; returns where the unfinished last line starts.
std::size_t FeedLines(std::string_view text, const std::function<void(std::string_view)>& onLine) {
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
    onLine(text.substr(start, end - start));
  }
  return start;
}

}  // namespace

BoundedRead ReadFileLines(const std::string& path, std::size_t maxBytes, std::size_t maxLine,
                          const std::function<void(std::string_view)>& onLine) {
  BoundedRead result;
  const int fd = OpenRegular(path);
  if (fd < 0) return result;
  result.opened = true;
  std::string carry;
  result.truncated = ReadBlocks(fd, maxBytes, [&](std::string_view fresh) {
    if (carry.empty()) {
      // The usual case: the block's whole lines straight from it, only its tail kept.
      carry.assign(fresh.substr(FeedLines(fresh, onLine)));
    } else {
      carry.append(fresh);
      carry.erase(0, FeedLines(carry, onLine));
    }
    if (carry.size() > maxLine) carry.clear();
  });
  close(fd);
  if (!result.truncated && !carry.empty()) onLine(carry);
  return result;
}

std::optional<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes,
                                        bool& truncated) {
  const int fd = OpenRegular(path);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  truncated = ReadBlocks(fd, maxBytes, [&](std::string_view fresh) { bytes.append(fresh); });
  close(fd);
  return bytes;
}

std::optional<std::string> FindBesideFile(const std::string& clipPath,
                                          std::initializer_list<const char*> extensions) {
  const SplitPathResult parts = SplitPath(clipPath);
  for (const char* extension : extensions) {
    const std::string candidate = parts.folder + parts.stem + extension;
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& onLine) {
  const std::size_t rest = FeedLines(text, onLine);
  if (rest < text.size()) onLine(text.substr(rest));
}

void AddNote(std::string& reason, const std::string& note) {
  reason += (reason.empty() ? "" : "; ") + note;
}

BoundedRead ReadLogLines(TelemetryRead& read, const std::optional<std::string>& log,
                         const std::string& what, std::size_t maxBytes, std::size_t maxLine,
                         const std::function<void(std::string_view)>& onLine) {
  if (!log) {
    read.reason = "no " + what + " beside the clip";
    return {};
  }
  const BoundedRead file = ReadFileLines(*log, maxBytes, maxLine, onLine);
  read.present = file.opened;
  if (!file.opened) read.reason = "the " + what + " " + *log + " cannot be read";
  return file;
}

void AddLogNotes(TelemetryRead& read, const std::string& what, const std::string& log,
                 const BoundedRead& file, std::size_t maxBytes) {
  if (read.records == 0) AddNote(read.reason, "the " + what + " " + log + " has no valid fix");
  if (file.truncated) {
    AddNote(read.reason, what + " read up to " + std::to_string(maxBytes >> 20) + " MiB");
  }
}

}  // namespace korvane
