// What a shell command prints on its standard output, for tests that read files back through
// other programs (exiv2, exiftool, ImageMagick).
#pragma once
#include <cstdio>
#include <memory>
#include <string>

namespace korvane::test {

// Empty when the command cannot be started.
inline std::string CommandOutput(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) out += buffer;
  return out;
}

}  // namespace korvane::test
