// The playlist's list rules: the entries in display order, the current index and the order of
// names. No UI and no file access; the tree control only mirrors what this unit holds.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace korvane {

struct PlaylistEntry {
  std::string path;      // folder with its trailing "/", then the file name
  std::string fileName;  // the node's text and tooltip, and the sort key
  std::string moment;    // MomentOf(path).moment: the entries of one moment share it
  std::string mark;      // the channel's mark ("F", "R", "I"…); empty when the name has none
  int channel = 0;       // the CameraChannel, in order: the moment plays its lowest (the front)
};

// The file types the settings may name under "Associate", in the order they are looked up.
struct KnownExtension {
  const char* extension;
  int enabled;  // always 1; kept so the table reads as the settings document it
};
extern const KnownExtension KnownExtensions[];

// Invariants: current() is -1 or in 0 … count() − 1; no two entries have the same path.
// Paths are compared exactly: on this platform two names that differ only in case are two files.
class Playlist {
 public:
  // -1 when an entry with the same path exists; otherwise the index of the appended entry.
  int AddEntry(std::string path, std::string fileName);
  // 1 when the list is empty (nothing done) or the entry was removed; 0 for an index out of range.
  // Moves current one down when the removed entry lies before it, or is the current last entry.
  int RemoveEntry(int index);
  // Index of the entry with this path, or -1.
  int FindEntry(std::string_view path) const;
  void ClearEntries();
  // 0 (path untouched) when there is no current entry; otherwise 1 and the path the current
  // moment plays: its front channel's among the listed entries of the current entry's moment.
  int GetCurrentPath(std::string& path) const;
  // The paths of the current moment's channels: the one it plays (as GetCurrentPath) first, then
  // the others by channel, equal channels in list order. None when there is no current entry.
  std::vector<std::string> CurrentChannelPaths() const;
  // The indexes of the entries of index's moment, in list order; none for an index out of range.
  std::vector<int> MomentEntries(int index) const;

  // Makes index current; an index out of range leaves no current entry. Returns the new current.
  int SetCurrent(int index);
  // The index of the nearest entry of another moment in the step's direction (±1) from current, so
  // a moment's other channels are not played again; -1 when there is no current entry or no
  // such entry.
  int StepFromCurrent(int step) const;
  // Ascending by file name in code-unit (byte) order, so "B.mp4" precedes "a.mp4"; equal names
  // keep their order. The current entry stays current.
  void SortByName();

  const std::vector<std::unique_ptr<PlaylistEntry>>& entries() const { return entries_; }
  int count() const { return static_cast<int>(entries_.size()); }
  int current() const { return current_; }

 private:
  std::vector<std::unique_ptr<PlaylistEntry>> entries_;
  int current_ = -1;
  std::unordered_set<std::string> paths_;  // makes AddEntry constant-time on a full card
};

}  // namespace korvane
