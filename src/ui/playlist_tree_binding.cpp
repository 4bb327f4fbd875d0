#include "ui/playlist_tree_binding.h"

#include "framework/playlist_tree_view.h"

namespace korvane {
namespace {

constexpr DuiLib::DWORD kNodeTextColor = 0xFFC8C6CB;

constexpr std::pair<const char*, const char*> kNodeAttributes[] = {
    {"height", "22"},
    {"inset", "7,0,0,0"},
    {"itemplayingtextcolor", "#000080FF"},
    {"itemattr", "valign=\"vcenter\" font=\"8\""},
    {"folderattr", "width=\"0\" float=\"true\""},
    {"itemendellipsis", "true"},
    {"deleteattr",
     "width=\"18\" height=\"18\" normalimage=\"file='btn_delete.png' source='0,0,18,18'\" "
     "hotimage=\"file='btn_delete.png' source='19,0,37,18'\" "
     "pushedimage=\"file='btn_delete.png' source='38,0,56,18'\""},
};

}  // namespace

void StylePlaylistNode(DuiLib::CPlayListNodeUI* node, const PlaylistEntry& entry) {
  if (node == nullptr) return;
  node->SetItemText(entry.fileName);
  node->SetToolTip(entry.fileName);
  node->SetItemMark(entry.mark);
  node->SetItemTextColor(kNodeTextColor);
  node->SetItemHotTextColor(kNodeTextColor);
  node->SetSelItemTextColor(kNodeTextColor);
  for (const auto& [name, value] : kNodeAttributes) node->SetAttribute(name, value);
}

void PlaylistTreeBinding::RemoveAllNodes() {
  if (tree_ != nullptr) tree_->RemoveAll();
}

void PlaylistTreeBinding::AppendNode(const PlaylistEntry& entry) {
  if (tree_ == nullptr) return;
  auto* node = new DuiLib::CPlayListNodeUI(tree_);
  StylePlaylistNode(node, entry);
  if (!tree_->Add(node)) delete node;
}

void PlaylistTreeBinding::RemoveNodeAt(int index) {
  if (tree_ != nullptr) tree_->RemoveAt(index);
}

void PlaylistTreeBinding::SelectNode(int index) {
  if (tree_ != nullptr) tree_->SelectItem(index, true);
}

void PlaylistTreeBinding::SetPlayingNode(int index, bool playing) {
  if (tree_ != nullptr) tree_->SetPlayingNode(index, playing);
}

int PlaylistTreeBinding::GetDeleteItemIndex() const {
  return tree_ != nullptr ? tree_->GetDeleteItemIndex() : -1;
}

}  // namespace korvane
