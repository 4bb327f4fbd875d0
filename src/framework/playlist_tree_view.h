// The playlist tree control and its nodes: one line per file with a delete button, a playing mark,
// hover and selection, its own vertical scrolling, and the notifications the main window acts on.
//
// Notifications (sender: the node): "itemselect" when the selection changes, "itemclick" on a
// click, "itemactivate" on a double click or Enter. A press of a node's delete button posts
// korvane::WM_PLAYLIST_DELETE (1124) to the window with wParam = the node's index, which
// GetDeleteItemIndex() keeps until the next press.
#pragma once
#include <utility>
#include <vector>

#include "framework/ui_container.h"

namespace DuiLib {

class CPlayListTreeViewUI;

class CPlayListNodeUI : public CControlUI {
 public:
  explicit CPlayListNodeUI(CPlayListTreeViewUI* owner = nullptr);

  const char* GetClass() const override { return "PlayListNodeUI"; }
  void* GetInterface(std::string_view name) override;

  void SetItemText(std::string_view text);
  CDuiString GetItemText() const { return GetText(); }
  // A short mark drawn in a narrow column at the text's right end, before the delete button (the
  // camera channel of the entry: "F", "R", "I"); empty for none, the text then keeps the width.
  void SetItemMark(std::string_view mark);
  const CDuiString& GetItemMark() const { return mark_; }
  // ARGB colours of the text: normal, under the mouse, selected, and while the entry plays.
  void SetItemTextColor(DWORD argb);
  void SetItemHotTextColor(DWORD argb);
  void SetSelItemTextColor(DWORD argb);
  void SetItemPlayingTextColor(DWORD argb);
  DWORD GetItemTextColor() const { return textColor_; }
  DWORD GetItemPlayingTextColor() const { return playingTextColor_; }

  bool IsPlaying() const { return playing_; }
  void SetPlaying(bool playing);
  bool IsSelected() const { return selected_; }
  bool IsHot() const { return hot_; }
  // The delete button's rectangle in window coordinates; empty when the button has no size.
  RECT GetDeleteButtonRect() const;

  // "height", "inset", "itemplayingtextcolor", "itemattr", "folderattr", "itemendellipsis",
  // "deleteattr", "itemtextcolor", "itemhottextcolor", "selitemtextcolor"; others go to the base.
  // Malformed values are ignored.
  void SetAttribute(std::string_view name, std::string_view value) override;

  void DoEvent(TEventUI& event) override;
  void PaintBkColor(HDC hDC) override;
  void PaintText(HDC hDC) override;
  // The delete button.
  void PaintStatusImage(HDC hDC) override;

 private:
  friend class CPlayListTreeViewUI;
  struct ButtonPart {
    int width = 0;
    int height = 0;
    CDuiString normalImage, hotImage, pushedImage;
  };
  void SetItemAttributeList(std::string_view list);
  void SetFolderAttributeList(std::string_view list);
  void SetDeleteAttributeList(std::string_view list);
  DWORD CurrentTextColor() const;

  CPlayListTreeViewUI* owner_;
  CDuiString mark_;
  RECT inset_;
  DWORD textColor_ = 0xFFC8C6CB;
  DWORD hotTextColor_ = 0xFFC8C6CB;
  DWORD selTextColor_ = 0xFFC8C6CB;
  DWORD playingTextColor_ = 0xFF0080FF;
  int font_ = -1;
  UINT textStyle_ = 0x0020 /*DT_SINGLELINE*/ | 0x0004 /*DT_VCENTER*/;
  int folderWidth_ = 0;
  ButtonPart delete_;
  bool playing_ = false;
  bool selected_ = false;
  bool hot_ = false;
  bool deleteHot_ = false;
  bool deletePushed_ = false;
};

class CPlayListTreeViewUI : public CContainerUI {
 public:
  CPlayListTreeViewUI();
  ~CPlayListTreeViewUI() override;

  const char* GetClass() const override { return "PlayListTreeViewUI"; }
  void* GetInterface(std::string_view name) override;

  // Appending takes ownership of a CPlayListNodeUI; other controls are refused (false).
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool RemoveAt(int index) override;
  bool Remove(CControlUI* control) override;
  void RemoveAll() override;
  CPlayListNodeUI* GetNodeAt(int index) const;

  // Selects the node (false for an index out of range), scrolls it into view and, with takeFocus,
  // gives the tree the keyboard focus. Raises no notification: only the user's changes do.
  bool SelectItem(int index, bool takeFocus = false);
  int GetCurSel() const { return curSel_; }
  // Marks or unmarks a node as playing; an index out of range is ignored.
  void SetPlayingNode(int index, bool playing);
  // The index of the node whose delete button was pressed last; -1 before any press.
  int GetDeleteItemIndex() const { return deleteIndex_; }

  // Scroll offset in pixels from the top of the first node.
  int GetScrollPos() const { return scrollY_; }
  void SetScrollPos(int y);
  int GetScrollRange() const;
  // Makes the node fully visible, scrolling as little as possible.
  void EnsureVisible(int index);

  // "itemhotbkcolor", "itemselectedbkcolor", "itemselectedbarcolor" (a bar at the selected node's
  // left edge), "itemplayingbkcolor", "scrollbarcolor" (ARGB); the rest as the container.
  void SetAttribute(std::string_view name, std::string_view value) override;
  DWORD GetItemHotBkColor() const { return hotBkColor_; }
  DWORD GetItemSelectedBkColor() const { return selectedBkColor_; }
  DWORD GetItemSelectedBarColor() const { return selectedBarColor_; }
  DWORD GetItemPlayingBkColor() const { return playingBkColor_; }

  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;
  void DoEvent(TEventUI& event) override;
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;

 private:
  friend class CPlayListNodeUI;
  // Called by the nodes.
  void OnNodeClick(CPlayListNodeUI* node);
  void OnNodeActivate(CPlayListNodeUI* node);
  void OnNodeDelete(CPlayListNodeUI* node);
  void OnNodeRemoved(int index);
  // Node offsets are computed once per change of the node list, not per add, so filling the tree
  // with a whole card stays linear.
  void EnsureLayout();
  void PlaceNodes();
  RECT ListRect() const;
  RECT ScrollBarRect() const;
  RECT ThumbRect() const;
  // The first and one past the last node that intersect the visible list.
  std::pair<int, int> VisibleRange() const;

  std::vector<int> tops_;  // node i spans tops_[i] … tops_[i + 1] from the top of the content
  int contentHeight_ = 0;
  bool layoutValid_ = false;

  int curSel_ = -1;
  int deleteIndex_ = -1;
  int scrollY_ = 0;
  bool draggingThumb_ = false;
  int dragStartY_ = 0;
  int dragStartScroll_ = 0;
  // Dark-theme defaults: neutral greys keep the playing entry's blue text readable on every
  // state, and the selection is told apart from hover by an accent bar.
  DWORD hotBkColor_ = 0xFF22262D;
  DWORD selectedBkColor_ = 0xFF2A2F39;
  DWORD selectedBarColor_ = 0xFF3D8BFF;
  DWORD playingBkColor_ = 0;
  DWORD scrollBarColor_ = 0x80A0A4AE;
};

}  // namespace DuiLib
