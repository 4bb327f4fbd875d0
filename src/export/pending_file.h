// An output file that appears whole or not at all: written under a temporary name beside its
// final one (by this object's stream or by a child process given temporaryPath()) and renamed
// into place by Commit; destroyed uncommitted, it removes what was written.
#pragma once
#include <fstream>
#include <string>

namespace korvane {

class CPendingFile {
 public:
  explicit CPendingFile(std::string path);
  ~CPendingFile();
  CPendingFile(const CPendingFile&) = delete;
  CPendingFile& operator=(const CPendingFile&) = delete;

  // Opens the stream on the temporary name: empty, or one line saying why it cannot be written.
  std::string Open();
  std::ofstream& out() { return out_; }
  const std::string& path() const { return path_; }
  const std::string& temporaryPath() const { return temporary_; }
  // Closes the stream (if opened) and renames: empty, or why (a stream that failed: disk full).
  std::string Commit();
  // Takes a committed file away again (a second file of the same output failed).
  void Withdraw();

 private:
  std::string path_;
  std::string temporary_;
  std::ofstream out_;
  bool opened_ = false;
  bool committed_ = false;
};

}  // namespace korvane
