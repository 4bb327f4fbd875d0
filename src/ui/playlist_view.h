// What the playlist needs of its view: the tree whose node i shows entry i, and the places the
// operations ask the outside world (settings, interface texts, the open dialog, the clear tip).
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/playlist.h"
#include "ui/playlist_files.h"

namespace korvane {

class IPlaylistView {
 public:
  virtual ~IPlaylistView() = default;
  virtual void RemoveAllNodes() = 0;
  // Appends a node showing entry, with the playlist's colours and node attributes.
  virtual void AppendNode(const PlaylistEntry& entry) = 0;
  // The operations below ignore an index out of range.
  virtual void RemoveNodeAt(int index) = 0;
  virtual void SelectNode(int index) = 0;  // and gives the tree the focus
  virtual void SetPlayingNode(int index, bool playing) = 0;
  // The node whose delete button was pressed last; -1 when none.
  virtual int GetDeleteItemIndex() const = 0;
};

class IPlaylistHost {
 public:
  virtual ~IPlaylistHost() = default;
  // Section "MPlayer" of the settings file; a missing key or file gives fallback.
  virtual std::string ReadSettingString(std::string_view key, std::string_view fallback) = 0;
  // A failed write is ignored.
  virtual void WriteSettingString(std::string_view key, std::string_view value) = 0;
  // Section "Main_Interface" of the language file; empty when missing.
  virtual std::string ReadLanguageText(std::string_view key) = 0;
  // The chosen existing file, or std::nullopt when the dialog was cancelled or failed.
  virtual std::optional<std::string> ChooseFile(const OpenFilter& filter) = 0;
  // True when the user wants to confirm before the list is cleared.
  virtual bool AskBeforeClear() = 0;
  // Shows the clear confirmation modally: 1 when confirmed, anything else otherwise.
  virtual int ShowClearTip() = 0;
  // The list's files changed: loaded, grown by another folder, or cleared (no paths, current -1).
  // Background indexing follows the list from here.
  virtual void ListChanged(const std::vector<std::string>& paths, int current) = 0;
};

}  // namespace korvane
