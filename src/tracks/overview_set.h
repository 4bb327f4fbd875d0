// CRouteOverview: every route of the folder on the map while the user wants it. It sends the map
// the overview lines of the folder's indexed clips as one set, then, as more clips finish
// indexing, their lines as additions to that set. A line carries the clip's number in the folder
// list, which a click on the line gives back (ClipPath). Reads the index; draws nothing itself.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "map/map_loader.h"

namespace korvane {

class CRouteOverview {
 public:
  using BrowserOf = std::function<DuiLib::CWebBrowserUI*()>;
  CRouteOverview(std::string indexPath, CMapLoader& map, BrowserOf browser)
      : reader_(std::move(indexPath)), map_(map), browser_(std::move(browser)) {}

  // Shows the lines of `folderClips` as a new set, in place of any shown; the clips not indexed
  // yet join as Refresh finds them.
  void Show(std::vector<std::string> folderClips);
  // Removes every line; a click on one that was shown no longer counts.
  void Hide();
  // Sends the lines of the clips indexed since the last look; nothing while hidden. Returns how
  // many lines were sent.
  int Refresh();

  bool shown() const { return set_ != 0; }
  // The set of lines shown; 0 while hidden.
  std::uint32_t set() const { return set_; }
  // The path of clip number `clip` of the set shown; empty for a number it does not have.
  std::string ClipPath(std::uint32_t clip) const;

 private:
  CIndexReader reader_;
  CMapLoader& map_;
  BrowserOf browser_;
  std::vector<std::string> clips_;  // the folder's clips; a line's number is the index here
  std::vector<bool> looked_;        // the index had the clip (with or without a line)
  std::uint32_t set_ = 0;
  std::uint32_t lastSet_ = 0;
};

}  // namespace korvane
