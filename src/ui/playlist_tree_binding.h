// The playlist's view on the skin's tree control: builds one node per entry with the playlist's
// colours and node attributes, and forwards the index operations to the tree.
#pragma once
#include "ui/playlist_view.h"

namespace DuiLib {
class CPlayListTreeViewUI;
class CPlayListNodeUI;
}  // namespace DuiLib

namespace korvane {

// Gives a new node the playlist's look: text and tooltip, the three text colours and the node
// attributes in their fixed order. A null node is ignored.
void StylePlaylistNode(DuiLib::CPlayListNodeUI* node, const PlaylistEntry& entry);

class PlaylistTreeBinding final : public IPlaylistView {
 public:
  // tree may be null: every operation then does nothing.
  explicit PlaylistTreeBinding(DuiLib::CPlayListTreeViewUI* tree) : tree_(tree) {}

  void RemoveAllNodes() override;
  void AppendNode(const PlaylistEntry& entry) override;
  void RemoveNodeAt(int index) override;
  void SelectNode(int index) override;
  void SetPlayingNode(int index, bool playing) override;
  int GetDeleteItemIndex() const override;

 private:
  DuiLib::CPlayListTreeViewUI* tree_;
};

}  // namespace korvane
