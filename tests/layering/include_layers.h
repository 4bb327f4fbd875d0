// The layering rule of the source tree: which folders a file may include from. Every include
// written from the source root ("telemetry/track_store.h") names its layer by its first folder;
// a layer may include itself and the layers on its allowed list, which all lie below it.
#pragma once
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace korvane::layering {

// Layer name → the layers it may include besides itself.
using LayerRules = std::map<std::string, std::set<std::string>>;

// The program's rules: src/ layers, the two programs beside it, benchmarks and test folders.
const LayerRules& ProjectRules();

struct Violation {
  std::string file;  // relative to the scanned root
  int line = 0;
  std::string message;
};

// The layer a file belongs to, from its path relative to the root: "src/ui/x.cpp" → "ui",
// "player/x.cpp" → "player", "tests/map/x.cpp" → "tests/map", "bench/x.cpp" → "bench".
// Empty for a file outside the checked folders.
std::string LayerOfPath(const std::string& relativePath);

// Checks one file's text. An include whose first folder names a layer (or "support", which only
// test folders may use) must be allowed for `layer`; includes without a folder are the file's
// own neighbours and pass. A file of a layer the rules do not know is itself a violation.
std::vector<Violation> CheckFileIncludes(const std::string& relativePath, const std::string& text,
                                         const LayerRules& rules);

// Every .h/.cpp under root's src/, player/, indexer/, bench/ and tests/ (a missing folder is
// skipped); violations in path order.
std::vector<Violation> CheckTree(const std::filesystem::path& root, const LayerRules& rules);

}  // namespace korvane::layering
