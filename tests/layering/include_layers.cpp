#include "include_layers.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace korvane::layering {
namespace {

const std::set<std::string> kCoreBelowUi = {"dialogs", "map",      "chart",     "framework",
                                            "media",   "tracks",   "telemetry", "index",
                                            "export",  "settings", "platform"};

std::set<std::string> Plus(std::set<std::string> set, const std::set<std::string>& more) {
  set.insert(more.begin(), more.end());
  return set;
}

// The folder an include names first, or empty when it names none ("x.h", "../x.h" and <...>).
std::string IncludedLayer(const std::string& included) {
  const std::size_t slash = included.find('/');
  if (slash == std::string::npos || slash == 0) return "";
  std::string first = included.substr(0, slash);
  return first == ".." || first == "." ? "" : first;
}

bool IsLayerName(const LayerRules& rules, const std::string& name) {
  return rules.count(name) != 0 && name.find('/') == std::string::npos && name != "bench";
}

}  // namespace

const LayerRules& ProjectRules() {
  static const LayerRules rules = [] {
    LayerRules r;
    r["platform"] = {};
    r["settings"] = {"platform"};
    r["telemetry"] = {"settings", "platform"};
    r["media"] = {"platform"};
    r["index"] = {"telemetry", "settings", "platform"};
    r["export"] = {"index", "telemetry", "settings", "platform"};
    r["tracks"] = {"export", "index", "telemetry", "settings", "platform"};
    r["framework"] = {"platform"};
    r["map"] = {"framework", "telemetry", "settings", "platform"};
    r["chart"] = {"framework", "telemetry", "platform"};
    r["dialogs"] = {"framework", "media", "settings", "platform"};
    r["ui"] = kCoreBelowUi;
    r["app"] = Plus(kCoreBelowUi, {"ui"});
    r["player"] = {"platform"};
    r["indexer"] = {"index", "telemetry", "settings", "platform"};
    r["bench"] = Plus(r["app"], {"app"});
    // A test folder may include its own layer, what that layer may, and the shared test pieces.
    std::vector<std::pair<std::string, std::set<std::string>>> tests;
    for (const auto& [layer, allowed] : r) {
      if (layer == "bench") continue;
      tests.emplace_back("tests/" + layer, Plus(Plus(allowed, {layer}), {"support"}));
    }
    for (auto& [name, allowed] : tests) r[name] = std::move(allowed);
    r["tests/support"] = {"framework", "settings", "platform"};
    r["tests/e2e"] = Plus(r["bench"], {"support"});
    r["tests/layering"] = {"support"};
    // The manual page's writer (resources/man) reads the player's key table.
    r["tests/man"] = {"ui", "framework", "platform", "support"};
    r["tests/tsan"] = {};  // the sanitizer's own check: a program that includes nothing of ours
    return r;
  }();
  return rules;
}

std::string LayerOfPath(const std::string& relativePath) {
  const std::size_t first = relativePath.find('/');
  if (first == std::string::npos) return "";
  const std::string top = relativePath.substr(0, first);
  if (top == "player" || top == "indexer" || top == "bench") return top;
  const std::size_t second = relativePath.find('/', first + 1);
  if (second == std::string::npos) return "";
  const std::string folder = relativePath.substr(first + 1, second - first - 1);
  if (top == "src") return folder;
  if (top == "tests") return "tests/" + folder;
  return "";
}

std::vector<Violation> CheckFileIncludes(const std::string& relativePath, const std::string& text,
                                         const LayerRules& rules) {
  std::vector<Violation> found;
  const std::string layer = LayerOfPath(relativePath);
  const auto rule = rules.find(layer);
  if (rule == rules.end()) {
    found.push_back({relativePath, 0, "the folder '" + layer + "' is no known layer"});
    return found;
  }
  const bool isTest = layer.rfind("tests/", 0) == 0;
  const std::string ownLayer = isTest ? layer.substr(6) : layer;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const std::size_t hash = line.find_first_not_of(" \t");
    if (hash == std::string::npos || line.compare(hash, 1, "#") != 0) continue;
    const std::size_t word = line.find_first_not_of(" \t", hash + 1);
    if (word == std::string::npos || line.compare(word, 7, "include") != 0) continue;
    const std::size_t open = line.find('"', word + 7);
    if (open == std::string::npos) continue;  // <system> headers are no layer
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string::npos) continue;
    const std::string included = line.substr(open + 1, close - open - 1);
    const std::string target = IncludedLayer(included);
    if (target.empty() || target == ownLayer) continue;
    const bool known = IsLayerName(rules, target) || target == "support";
    if (!known) continue;  // a folder of a system or library header ("gtest/gtest.h")
    if (rule->second.count(target) == 0) {
      found.push_back({relativePath, number,
                       "layer '" + layer + "' includes \"" + included + "\" from '" + target +
                           "', which it may not"});
    }
  }
  return found;
}

std::vector<Violation> CheckTree(const std::filesystem::path& root, const LayerRules& rules) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  for (const char* top : {"src", "player", "indexer", "bench", "tests"}) {
    const fs::path dir = root / top;
    std::error_code error;
    if (!fs::is_directory(dir, error)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(dir, error)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      files.push_back(fs::relative(entry.path(), root).generic_string());
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<Violation> found;
  for (const std::string& file : files) {
    std::ifstream in(root / file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    auto more = CheckFileIncludes(file, text.str(), rules);
    found.insert(found.end(), more.begin(), more.end());
  }
  return found;
}

}  // namespace korvane::layering
