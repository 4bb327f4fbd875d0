// A temporary folder for one test, removed with everything in it when the object goes.
#pragma once
#include <filesystem>
#include <string>

namespace korvane::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as a string ending in "/".
  std::string str() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

}  // namespace korvane::test
