// The playlist behind the user's actions: open, drop, activate, delete, clear, next and previous.
// Owns the list, the supported file types and the open filter; keeps the view in step with the
// list.
#pragma once
#include <string>
#include <vector>

#include "ui/playlist.h"
#include "ui/playlist_files.h"
#include "ui/playlist_view.h"

namespace korvane {

class CPlaylistManager {
 public:
  // view may be null (a skin without the tree); the list rules work all the same.
  explicit CPlaylistManager(IPlaylistHost& host, IPlaylistView* view = nullptr);
  void SetView(IPlaylistView* view);

  // Reads "Associate" and "Filter" (writing the defaults back when empty) and the filter caption.
  void LoadPlaylistOptions();
  // 1 when a file was chosen and its folder loaded; 0 when the dialog was cancelled or failed.
  int OpenFileDialog();
  // Loads the folder of the last regular file when any dropped regular file is supported; paths
  // that are missing, folders or of unsupported types alone change nothing.
  void DropFiles(const std::vector<std::string>& paths);
  // Adds the folder's supported files, re-sorts and rebuilds the view when the list grew, then
  // makes folder + fileName current (-1 when it is not listed) and, when the list grew, tells the
  // host. A folder that cannot be listed changes nothing.
  void LoadFolderOf(const std::string& fileName, const std::string& folder);
  // Replaces the list with `paths` in the order given (a trip's clips in time order), leaving out
  // the paths that are no regular file (now) and repeats, makes the first current and tells the
  // host. Returns the number of entries; with none the list is left as it was.
  int LoadClips(const std::vector<std::string>& paths);
  // Makes index current (-1 when out of range) and moves the playing mark; -1 does nothing.
  void ActivateEntry(int index);
  // Removes the entry whose delete button was pressed. 1 when it was the current one (the entry now
  // at its place, or the new last one, is current); 0 otherwise, also for an index out of range.
  int DeleteClickedEntry();
  // Empties the list and the view, after the confirmation when the user wants one, and tells the
  // host. True when cleared.
  bool ClearPlaylist();
  // 1 when current moved one down (next) or up (previous), selecting and marking the node;
  // 0 at the end of the list or without a current entry.
  int SelectNext();
  int SelectPrevious();
  int GetCurrentPath(std::string& path) const { return playlist_.GetCurrentPath(path); }

  const Playlist& playlist() const { return playlist_; }
  const std::vector<std::string>& supportedExtensions() const { return supportedExtensions_; }
  const OpenFilter& openFilter() const { return openFilter_; }

 private:
  int Step(int step);
  std::vector<std::string> Paths() const;
  void RebuildView();
  void MoveMark(int oldCurrent, int newCurrent);

  IPlaylistHost& host_;
  IPlaylistView* view_;
  std::vector<std::string> supportedExtensions_;
  OpenFilter openFilter_;
  Playlist playlist_;
};

}  // namespace korvane
