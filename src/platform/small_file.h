// Whole small files read and written safely: a read that never waits on a FIFO or a device and
// never takes more than its limit, and a write that replaces the file in one step, so a reader
// sees the old or the new file, never half of one.
#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>

namespace korvane {

// The whole file, or nullopt when it cannot be read, is no regular file, or is larger than
// `maxBytes`.
std::optional<std::string> ReadSmallFile(const std::string& path, std::int64_t maxBytes);

// Puts `text` at `path` through a temporary file in the same folder and a rename, keeping the
// old file's permissions (a symbolic link stays a link to the file replaced). Only where no
// temporary file can be made beside it (a folder the user may not write to, holding a file they
// may) is the file written in place. False when it cannot be written, with errno saying why; the
// old file is then kept.
bool ReplaceFile(const std::string& path, const std::string& text);

// A file written under a temporary name beside `path` (keeping an old file's permissions; a
// symbolic link stays a link to the file replaced) and put at `path` in one step by Commit, after
// fsync, so a reader sees the old file or the whole new one. Not committed, the temporary file is
// removed and the old file kept. The writes of every file the program replaces go through it.
class CFileReplacement final : private std::streambuf {
 public:
  explicit CFileReplacement(const std::string& path);
  ~CFileReplacement() override;
  CFileReplacement(const CFileReplacement&) = delete;
  CFileReplacement& operator=(const CFileReplacement&) = delete;

  // False when no temporary file could be made beside `path` (error() says why).
  bool opened() const { return fd_ >= 0; }
  // What is written goes to the temporary file; a failed write fails the stream and Commit.
  std::ostream& out() { return out_; }
  // The temporary file, for a child process that writes the file itself (ffmpeg's output) before
  // Commit puts it in place.
  const std::string& temporaryPath() const { return temporary_; }
  // Puts the file in place. False, the old file kept, when any write, the sync or the rename
  // failed.
  bool Commit();
  // The errno of the first step that failed; 0 while none has.
  int error() const { return error_; }

 private:
  int overflow(int c) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int sync() override;
  bool Flush();
  void Fail();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
  char buffer_[16384];
  std::ostream out_{this};
};

}  // namespace korvane
