// CRouteOverview: every route of the folder on the map while the user wants it. It sends the map
// the overview lines of the folder's indexed clips as one set, then, as more clips finish
// indexing, their lines as additions to that set (COverviewSet decides which). A line carries the
// clip's number in the folder list, which a click on the line gives back (ClipPath).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "map/map_loader.h"
#include "tracks/overview_set.h"

namespace korvane {

class CRouteOverview {
 public:
  using BrowserOf = std::function<DuiLib::CWebBrowserUI*()>;
  CRouteOverview(std::string indexPath, CMapLoader& map, BrowserOf browser)
      : lines_(std::move(indexPath)), map_(map), browser_(std::move(browser)) {}

  // Shows the lines of `folderClips` as a new set, in place of any shown; the clips not indexed
  // yet join as Refresh finds them.
  void Show(std::vector<std::string> folderClips);
  // Removes every line; a click on one that was shown no longer counts.
  void Hide();
  // Sends the lines of the clips indexed since the last look; nothing while hidden. Returns how
  // many lines were sent.
  int Refresh();

  bool shown() const { return lines_.set() != 0; }
  // The set of lines shown; 0 while hidden.
  std::uint32_t set() const { return lines_.set(); }
  // The path of clip number `clip` of the set shown; empty for a number it does not have.
  std::string ClipPath(std::uint32_t clip) const { return lines_.ClipPath(clip); }

 private:
  COverviewSet lines_;
  CMapLoader& map_;
  BrowserOf browser_;
};

}  // namespace korvane
