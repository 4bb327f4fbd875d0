#include "ui/playlist_panel.h"

#include "framework/playlist_tree_view.h"

namespace korvane {
namespace {

DuiLib::CPlayListTreeViewUI* AsTree(DuiLib::CControlUI* control) {
  if (control == nullptr) return nullptr;
  return static_cast<DuiLib::CPlayListTreeViewUI*>(control->GetInterface("PlayListTreeView"));
}

}  // namespace

CPlaylistPanel::CPlaylistPanel(ApplicationContext& context, DuiLib::CControlUI* tree,
                               AppPlaylistHost::ClearTip clearTip)
    : tree_(AsTree(tree)),
      host_(context, std::move(clearTip)),
      binding_(tree_),
      manager_(host_, &binding_) {}

void CPlaylistPanel::DropFiles(DuiLib::HDROP drop) {
  if (drop == nullptr) return;
  manager_.DropFiles(drop->paths);
  DuiLib::DragFinish(drop);
}

}  // namespace korvane
