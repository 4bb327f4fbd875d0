#include "export/pending_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korvane {

CPendingFile::CPendingFile(std::string path)
    : path_(std::move(path)), temporary_(path_ + ".part-" + std::to_string(getpid())) {}

CPendingFile::~CPendingFile() {
  if (!committed_) std::remove(temporary_.c_str());
}

std::string CPendingFile::Open() {
  errno = 0;
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!out_) return "cannot write " + path_ + ": " + std::strerror(errno != 0 ? errno : EACCES);
  opened_ = true;
  return {};
}

std::string CPendingFile::Commit() {
  if (opened_) {
    out_.close();
    if (out_.fail()) return "cannot write " + path_ + " (disk full?)";
  }
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    return "cannot write " + path_ + ": " + std::strerror(errno);
  }
  committed_ = true;
  return {};
}

void CPendingFile::Withdraw() {
  if (committed_) std::remove(path_.c_str());
  committed_ = false;
}

}  // namespace korvane
