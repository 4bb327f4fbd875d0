// COverviewSet: the clips whose overview lines are on the map while the user wants every route of
// the folder. It numbers a folder's clips, gives the lines of those the index has read, each once,
// as more clips finish indexing, and names the clip a clicked line's number stands for. Each
// showing is a new set, so a click on a line of an earlier one is told apart. A moment recorded by
// several cameras is one line, from the first of its channels read with telemetry (the front
// among those read together). Reads the index.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "index/index_point.h"
#include "index/index_reader.h"

namespace korvane {

// A clip's overview line with its number in the folder list.
struct NumberedOverview {
  std::uint32_t clip = 0;
  std::vector<IndexPoint> points;
};

class COverviewSet {
 public:
  explicit COverviewSet(std::string indexPath) : reader_(std::move(indexPath)) {}

  // Starts a new set of `folderClips`, in place of any; returns its number (never 0).
  std::uint32_t Start(std::vector<std::string> folderClips);
  // Ends the set: no line is given, and a number names no clip.
  void Clear();
  // The lines of the set's clips the index has read since the last look; a clip read without
  // telemetry has no line and is not asked for again. Nothing while no set is shown.
  std::vector<NumberedOverview> TakeNewLines();

  // The set shown; 0 while none is.
  std::uint32_t set() const { return set_; }
  // The path of clip number `clip` of the set shown; empty for a number it does not have.
  std::string ClipPath(std::uint32_t clip) const;

 private:
  CIndexReader reader_;
  std::vector<std::string> clips_;         // the folder's clips; a line's number is the index here
  std::vector<bool> looked_;               // the index had the clip (with or without a line)
  std::unordered_set<std::string> drawn_;  // the moments (MomentOf) that have their line
  std::uint32_t set_ = 0;
  std::uint32_t lastSet_ = 0;
};

}  // namespace korvane
