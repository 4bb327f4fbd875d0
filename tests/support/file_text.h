// Whole-file reads and writes for tests, byte for byte.
#pragma once
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace korvane::test {

// The file's bytes; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Creates the parent folders as needed and replaces the file.
inline void WriteFileText(const std::filesystem::path& path, const std::string& text) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace korvane::test
