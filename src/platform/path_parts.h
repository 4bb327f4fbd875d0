// The one way a path is split into its folder, file name and extension: "/" is the only
// separator (paths are the operating system's bytes, never decoded), and a name's extension is
// what follows its last ".".
#pragma once
#include <string>
#include <string_view>

namespace korvane {

struct SplitPathResult {
  std::string folder;     // up to and including the last "/"; empty when there is none
  std::string fileName;   // after the last "/"; the whole path when there is none
  std::string stem;       // the file name up to its last "."; the whole name when it has none
  std::string extension;  // after the file name's last "."; empty when it has no dot
};
SplitPathResult SplitPath(std::string_view path);

// The text after the last "." of a file name; empty when the name has no dot.
std::string ExtensionOf(std::string_view fileName);

}  // namespace korvane
