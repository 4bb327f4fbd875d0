#include "platform/small_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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
  {
    CFileReplacement file(path);
    if (file.opened()) {
      file.out().write(text.data(), static_cast<std::streamsize>(text.size()));
      if (file.Commit()) return true;
      errno = file.error();
      return false;  // a full disk must not be answered by truncating the old file
    }
  }
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAllFd(fd, text.data(), text.size());
  const int why = errno;
  if (close(fd) != 0) return false;
  errno = why;
  return ok;
}

CFileReplacement::CFileReplacement(const std::string& path) : target_(path) {
  struct stat old {};
  const bool existed = stat(path.c_str(), &old) == 0;
  if (char* resolved = existed ? realpath(path.c_str(), nullptr) : nullptr) {
    target_ = resolved;
    free(resolved);
  }
  temporary_ = target_ + ".XXXXXX";
  fd_ = mkstemp(temporary_.data());
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  fchmod(fd_, existed ? (old.st_mode & 07777) : 0644);
  setp(buffer_, buffer_ + sizeof buffer_);
}

CFileReplacement::~CFileReplacement() {
  if (fd_ >= 0) close(fd_);
  if (fd_ >= 0 && !committed_) unlink(temporary_.c_str());
}

void CFileReplacement::Fail() {
  if (error_ == 0) error_ = errno != 0 ? errno : EIO;
  out_.setstate(std::ios::badbit);
}

bool CFileReplacement::Flush() {
  const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
  setp(buffer_, buffer_ + sizeof buffer_);
  if (error_ != 0) return false;
  if (size > 0 && !WriteAllFd(fd_, buffer_, size)) {
    Fail();
    return false;
  }
  return true;
}

int CFileReplacement::overflow(int c) {
  if (!Flush()) return traits_type::eof();
  if (c != traits_type::eof()) sputc(static_cast<char>(c));
  return traits_type::not_eof(c);
}

std::streamsize CFileReplacement::xsputn(const char* data, std::streamsize size) {
  if (size <= epptr() - pptr()) {
    std::copy(data, data + size, pptr());
    pbump(static_cast<int>(size));
    return size;
  }
  if (!Flush()) return 0;
  if (!WriteAllFd(fd_, data, static_cast<std::size_t>(size))) {
    Fail();
    return 0;
  }
  return size;
}

int CFileReplacement::sync() {
  return Flush() ? 0 : -1;
}

bool CFileReplacement::Commit() {
  if (fd_ < 0 || committed_) return committed_;
  if (!Flush()) return false;
  const bool synced = fsync(fd_) == 0;
  const int why = errno;
  const bool closed = close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed) {
    if (!synced) errno = why;
    Fail();
    unlink(temporary_.c_str());
    return false;
  }
  if (rename(temporary_.c_str(), target_.c_str()) != 0) {
    Fail();
    unlink(temporary_.c_str());
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace korvane
