// The playlist as the main window holds it: the list and its operations, bound to the skin's tree
// control and to the application's settings, interface texts, open dialog and clear tip.
#pragma once
#include "framework/file_dialog.h"
#include "ui/playlist_host.h"
#include "ui/playlist_manager.h"
#include "ui/playlist_tree_binding.h"

namespace DuiLib {
class CControlUI;
}

namespace korvane {

class CPlaylistPanel {
 public:
  // tree is the skin's "treePlaylist"; null or a control of another kind leaves the list without a
  // view. Without clearTip the list is cleared without asking.
  CPlaylistPanel(ApplicationContext& context, DuiLib::CControlUI* tree,
                 AppPlaylistHost::ClearTip clearTip = {});
  CPlaylistPanel(const CPlaylistPanel&) = delete;
  CPlaylistPanel& operator=(const CPlaylistPanel&) = delete;

  CPlaylistManager& manager() { return manager_; }
  const Playlist& playlist() const { return manager_.playlist(); }
  DuiLib::CPlayListTreeViewUI* tree() const { return tree_; }
  void SetClearTip(AppPlaylistHost::ClearTip clearTip) { host_.SetClearTip(std::move(clearTip)); }
  void SetListWatcher(AppPlaylistHost::ListWatcher watcher) {
    host_.SetListWatcher(std::move(watcher));
  }

  // The paths a WM_DROPFILES message carries; a null drop changes nothing.
  void DropFiles(DuiLib::HDROP drop);

 private:
  DuiLib::CPlayListTreeViewUI* tree_;
  AppPlaylistHost host_;
  PlaylistTreeBinding binding_;
  CPlaylistManager manager_;
};

}  // namespace korvane
