#include "platform/path_parts.h"

namespace korvane {

SplitPathResult SplitPath(std::string_view path) {
  SplitPathResult result;
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  result.folder = std::string(path.substr(0, nameStart));
  const std::string_view name = path.substr(nameStart);
  result.fileName = std::string(name);
  const std::size_t dot = name.rfind('.');
  result.stem = std::string(name.substr(0, dot));
  result.extension = ExtensionOf(name);
  return result;
}

std::string ExtensionOf(std::string_view fileName) {
  std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot + 1));
}

}  // namespace korvane
