#include "framework/playlist_tree_view.h"

#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

#include "framework/paint_manager.h"

namespace DuiLib {
namespace {

constexpr int kDeleteMargin = 4;  // between the delete button and the node's right edge
constexpr int kTextGap = 4;       // between the text and the delete button
constexpr int kMarkWidth = 20;    // the channel mark's column
constexpr int kScrollBarWidth = 6;
constexpr int kSelectionBarWidth = 3;
constexpr int kMinThumbHeight = 16;
constexpr int kWheelRows = 3;
constexpr int kDefaultNodeHeight = 22;

// Reuses the framework's attribute-list parser for the node's sub-part lists ("itemattr", …).
class AttributeCollector final : public CControlUI {
 public:
  std::vector<std::pair<std::string, std::string>> pairs;
  void SetAttribute(std::string_view name, std::string_view value) override {
    pairs.emplace_back(name, value);
  }
};

std::vector<std::pair<std::string, std::string>> ParseAttributeList(std::string_view list) {
  AttributeCollector collector;
  collector.ApplyAttributeList(list);
  return std::move(collector.pairs);
}

bool ParseBool(std::string_view value) {
  return value == "true" || value == "1";
}

int ParseInt(std::string_view value, int fallback) {
  int result = 0;
  bool any = false;
  bool negative = !value.empty() && value.front() == '-';
  for (char c : value.substr(negative ? 1 : 0)) {
    if (c < '0' || c > '9') break;
    result = result * 10 + (c - '0');
    any = true;
    if (result > 100000) return fallback;
  }
  return any ? (negative ? -result : result) : fallback;
}

RECT Intersect(const RECT& a, const RECT& b) {
  RECT result;
  IntersectRect(&result, a, b);
  return result;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CPlayListNodeUI

CPlayListNodeUI::CPlayListNodeUI(CPlayListTreeViewUI* owner) : owner_(owner) {
  SetFixedHeight(kDefaultNodeHeight);
}

void* CPlayListNodeUI::GetInterface(std::string_view name) {
  if (name == "PlayListNode" || name == "TreeNode" || name == "ListItem") return this;
  return CControlUI::GetInterface(name);
}

void CPlayListNodeUI::SetItemText(std::string_view text) {
  SetText(text);
}

void CPlayListNodeUI::SetItemTextColor(DWORD argb) {
  textColor_ = argb;
  Invalidate();
}

void CPlayListNodeUI::SetItemHotTextColor(DWORD argb) {
  hotTextColor_ = argb;
  Invalidate();
}

void CPlayListNodeUI::SetSelItemTextColor(DWORD argb) {
  selTextColor_ = argb;
  Invalidate();
}

void CPlayListNodeUI::SetItemPlayingTextColor(DWORD argb) {
  playingTextColor_ = argb;
  Invalidate();
}

void CPlayListNodeUI::SetPlaying(bool playing) {
  if (playing_ == playing) return;
  playing_ = playing;
  Invalidate();
}

RECT CPlayListNodeUI::GetDeleteButtonRect() const {
  if (delete_.width <= 0 || delete_.height <= 0) return {};
  const RECT& pos = GetPos();
  int right = pos.right - kDeleteMargin;
  int top = pos.top + (pos.bottom - pos.top - delete_.height) / 2;
  return {right - delete_.width, top, right, top + delete_.height};
}

void CPlayListNodeUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "inset") {
    inset_ = ParseRect(value);
  } else if (name == "itemplayingtextcolor") {
    SetItemPlayingTextColor(ParseColor(value));
  } else if (name == "itemtextcolor") {
    SetItemTextColor(ParseColor(value));
  } else if (name == "itemhottextcolor") {
    SetItemHotTextColor(ParseColor(value));
  } else if (name == "selitemtextcolor") {
    SetSelItemTextColor(ParseColor(value));
  } else if (name == "itemattr") {
    SetItemAttributeList(value);
  } else if (name == "folderattr") {
    SetFolderAttributeList(value);
  } else if (name == "deleteattr") {
    SetDeleteAttributeList(value);
  } else if (name == "itemendellipsis") {
    textStyle_ =
        ParseBool(value) ? (textStyle_ | DT_END_ELLIPSIS) : (textStyle_ & ~DT_END_ELLIPSIS);
  } else {
    CControlUI::SetAttribute(name, value);
  }
  Invalidate();
}

void CPlayListNodeUI::SetItemAttributeList(std::string_view list) {
  for (const auto& [name, value] : ParseAttributeList(list)) {
    if (name == "font") {
      font_ = ParseInt(value, -1);
    } else if (name == "valign") {
      textStyle_ &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
      if (value == "vcenter" || value == "center") textStyle_ |= DT_VCENTER;
      if (value == "bottom") textStyle_ |= DT_BOTTOM;
    } else if (name == "align") {
      textStyle_ &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
      if (value == "center") textStyle_ |= DT_CENTER;
      if (value == "right") textStyle_ |= DT_RIGHT;
    } else if (name == "textcolor") {
      textColor_ = ParseColor(value);
    } else if (name == "endellipsis") {
      textStyle_ =
          ParseBool(value) ? (textStyle_ | DT_END_ELLIPSIS) : (textStyle_ & ~DT_END_ELLIPSIS);
    }
  }
}

void CPlayListNodeUI::SetFolderAttributeList(std::string_view list) {
  // The folder part only reserves width before the text; a list has no sub-folders.
  bool floating = false;
  int width = folderWidth_;
  for (const auto& [name, value] : ParseAttributeList(list)) {
    if (name == "width") width = std::max(0, ParseInt(value, 0));
    if (name == "float") floating = ParseBool(value);
    if (name == "visible" && !ParseBool(value)) width = 0;
  }
  folderWidth_ = floating ? 0 : width;
}

void CPlayListNodeUI::SetDeleteAttributeList(std::string_view list) {
  for (const auto& [name, value] : ParseAttributeList(list)) {
    if (name == "width") delete_.width = std::max(0, ParseInt(value, 0));
    if (name == "height") delete_.height = std::max(0, ParseInt(value, 0));
    if (name == "normalimage") delete_.normalImage = value;
    if (name == "hotimage") delete_.hotImage = value;
    if (name == "pushedimage") delete_.pushedImage = value;
  }
}

// The drawing engine ignores a text colour's zero alpha, as GDI text did: "#000080FF" is an opaque
// blue.
DWORD CPlayListNodeUI::CurrentTextColor() const {
  if (playing_) return playingTextColor_;
  if (selected_) return selTextColor_;
  if (hot_) return hotTextColor_;
  return textColor_;
}

void CPlayListNodeUI::PaintBkColor(HDC hDC) {
  DWORD background = 0;
  if (owner_ != nullptr) {
    if (selected_)
      background = owner_->GetItemSelectedBkColor();
    else if (hot_)
      background = owner_->GetItemHotBkColor();
    else if (playing_)
      background = owner_->GetItemPlayingBkColor();
  }
  CRenderEngine::DrawColor(hDC, GetPos(), background != 0 ? background : GetBkColor());
  if (selected_ && owner_ != nullptr) {
    const RECT& pos = GetPos();
    CRenderEngine::DrawColor(hDC, {pos.left, pos.top, pos.left + kSelectionBarWidth, pos.bottom},
                             owner_->GetItemSelectedBarColor());
  }
}

void CPlayListNodeUI::PaintText(HDC hDC) {
  const RECT& pos = GetPos();
  RECT text = {pos.left + inset_.left + folderWidth_, pos.top + inset_.top,
               pos.right - inset_.right, pos.bottom - inset_.bottom};
  RECT button = GetDeleteButtonRect();
  if (!IsRectEmpty(button)) text.right = std::min(text.right, button.left - kTextGap);
  if (!mark_.empty()) {
    RECT mark = text;
    mark.left = std::max(text.left, text.right - kMarkWidth);
    text.right = mark.left;
    CRenderEngine::DrawText(hDC, GetManager(), mark, mark_, CurrentTextColor(), font_,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  CRenderEngine::DrawText(hDC, GetManager(), text, GetText(), CurrentTextColor(), font_,
                          textStyle_ | DT_SINGLELINE);
}

void CPlayListNodeUI::SetItemMark(std::string_view mark) {
  if (mark_ == mark) return;
  mark_.assign(mark);
  Invalidate();
}

void CPlayListNodeUI::PaintStatusImage(HDC hDC) {
  RECT button = GetDeleteButtonRect();
  if (IsRectEmpty(button)) return;
  const CDuiString* image = &delete_.normalImage;
  if (deletePushed_ && !delete_.pushedImage.empty())
    image = &delete_.pushedImage;
  else if ((deleteHot_ || deletePushed_) && !delete_.hotImage.empty())
    image = &delete_.hotImage;
  if (!image->empty()) CRenderEngine::DrawImageString(hDC, GetManager(), button, button, *image);
}

void CPlayListNodeUI::DoEvent(TEventUI& event) {
  bool onDelete = PtInRect(GetDeleteButtonRect(), event.ptMouse);
  switch (event.Type) {
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSEMOVE:
      if (!hot_ || deleteHot_ != onDelete) {
        hot_ = true;
        deleteHot_ = onDelete;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      hot_ = deleteHot_ = false;
      Invalidate();
      return;
    case UIEVENT_BUTTONDOWN:
      if (onDelete) {
        // The paint manager holds the mouse for the pressed control until the release.
        deletePushed_ = true;
        Invalidate();
      } else if (owner_ != nullptr) {
        owner_->OnNodeClick(this);
      }
      return;
    case UIEVENT_BUTTONUP:
      if (deletePushed_) {
        deletePushed_ = false;
        Invalidate();
        // Only a release over the button counts, as with any button.
        if (onDelete && owner_ != nullptr) owner_->OnNodeDelete(this);
      }
      return;
    case UIEVENT_DBLCLICK:
      if (!onDelete && owner_ != nullptr) owner_->OnNodeActivate(this);
      return;
    case UIEVENT_SCROLLWHEEL:
    case UIEVENT_KEYDOWN:
      if (owner_ != nullptr) owner_->DoEvent(event);
      return;
    default:
      CControlUI::DoEvent(event);
  }
}

// ---------------------------------------------------------------------------------------------
// CPlayListTreeViewUI

CPlayListTreeViewUI::CPlayListTreeViewUI() = default;
CPlayListTreeViewUI::~CPlayListTreeViewUI() = default;

void* CPlayListTreeViewUI::GetInterface(std::string_view name) {
  if (name == "PlayListTreeView" || name == "TreeView") return this;
  return CContainerUI::GetInterface(name);
}

CPlayListNodeUI* CPlayListTreeViewUI::GetNodeAt(int index) const {
  return static_cast<CPlayListNodeUI*>(GetItemAt(index));
}

bool CPlayListTreeViewUI::Add(CControlUI* control) {
  return AddAt(control, GetCount());
}

bool CPlayListTreeViewUI::AddAt(CControlUI* control, int index) {
  auto* node = dynamic_cast<CPlayListNodeUI*>(control);
  if (node == nullptr || index < 0 || index > GetCount()) return false;
  node->owner_ = this;
  if (!CContainerUI::AddAt(node, index)) return false;
  if (curSel_ >= index) ++curSel_;
  layoutValid_ = false;
  return true;
}

bool CPlayListTreeViewUI::RemoveAt(int index) {
  if (index < 0 || index >= GetCount()) return false;
  OnNodeRemoved(index);
  // The base's RemoveAt goes through the virtual Remove; calling its Remove keeps this one pass.
  return CContainerUI::Remove(GetItemAt(index));
}

bool CPlayListTreeViewUI::Remove(CControlUI* control) {
  int index = GetItemIndex(control);
  if (index < 0) return false;
  OnNodeRemoved(index);
  return CContainerUI::Remove(control);
}

void CPlayListTreeViewUI::RemoveAll() {
  curSel_ = -1;
  scrollY_ = 0;
  layoutValid_ = false;
  CContainerUI::RemoveAll();
}

void CPlayListTreeViewUI::OnNodeRemoved(int index) {
  if (curSel_ == index)
    curSel_ = -1;
  else if (curSel_ > index)
    --curSel_;
  layoutValid_ = false;
}

bool CPlayListTreeViewUI::SelectItem(int index, bool takeFocus) {
  CPlayListNodeUI* node = GetNodeAt(index);
  if (node == nullptr) return false;
  if (CPlayListNodeUI* old = GetNodeAt(curSel_); old != nullptr && old != node) {
    old->selected_ = false;
    old->Invalidate();
  }
  curSel_ = index;
  node->selected_ = true;
  node->Invalidate();
  EnsureVisible(index);
  if (takeFocus && GetManager() != nullptr) GetManager()->SetFocus(this);
  return true;
}

void CPlayListTreeViewUI::SetPlayingNode(int index, bool playing) {
  if (CPlayListNodeUI* node = GetNodeAt(index)) node->SetPlaying(playing);
}

void CPlayListTreeViewUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "itemhotbkcolor")
    hotBkColor_ = ParseColor(value);
  else if (name == "itemselectedbkcolor")
    selectedBkColor_ = ParseColor(value);
  else if (name == "itemselectedbarcolor")
    selectedBarColor_ = ParseColor(value);
  else if (name == "itemplayingbkcolor")
    playingBkColor_ = ParseColor(value);
  else if (name == "scrollbarcolor")
    scrollBarColor_ = ParseColor(value);
  else
    CContainerUI::SetAttribute(name, value);
  Invalidate();
}

// --- layout and scrolling ---------------------------------------------------------------------

RECT CPlayListTreeViewUI::ListRect() const {
  RECT inner = InnerRect();
  const_cast<CPlayListTreeViewUI*>(this)->EnsureLayout();
  if (contentHeight_ > inner.bottom - inner.top) inner.right -= kScrollBarWidth;
  return inner;
}

void CPlayListTreeViewUI::EnsureLayout() {
  if (layoutValid_) return;
  tops_.resize(static_cast<std::size_t>(GetCount()) + 1);
  int y = 0;
  for (int i = 0; i < GetCount(); ++i) {
    tops_[i] = y;
    int height = GetItemAt(i)->GetFixedHeight();
    y += height > 0 ? height : kDefaultNodeHeight;
  }
  tops_[GetCount()] = y;
  contentHeight_ = y;
  layoutValid_ = true;
  PlaceNodes();
}

int CPlayListTreeViewUI::GetScrollRange() const {
  RECT inner = InnerRect();
  const_cast<CPlayListTreeViewUI*>(this)->EnsureLayout();
  return std::max(0, contentHeight_ - (inner.bottom - inner.top));
}

void CPlayListTreeViewUI::SetScrollPos(int y) {
  int clamped = std::clamp(y, 0, GetScrollRange());
  if (clamped == scrollY_) return;
  scrollY_ = clamped;
  PlaceNodes();
  Invalidate();
}

void CPlayListTreeViewUI::EnsureVisible(int index) {
  EnsureLayout();
  if (index < 0 || index >= GetCount()) return;
  RECT inner = InnerRect();
  int viewHeight = inner.bottom - inner.top;
  int top = tops_[index];
  int bottom = tops_[index + 1];
  if (top < scrollY_)
    SetScrollPos(top);
  else if (bottom > scrollY_ + viewHeight)
    SetScrollPos(bottom - viewHeight);
}

void CPlayListTreeViewUI::PlaceNodes() {
  RECT list = ListRect();
  int origin = list.top - scrollY_;
  for (int i = 0; i < GetCount(); ++i) {
    GetItemAt(i)->SetPos({list.left, origin + tops_[i], list.right, origin + tops_[i + 1]}, false);
  }
}

std::pair<int, int> CPlayListTreeViewUI::VisibleRange() const {
  const_cast<CPlayListTreeViewUI*>(this)->EnsureLayout();
  RECT inner = InnerRect();
  int first =
      static_cast<int>(std::upper_bound(tops_.begin(), tops_.end(), scrollY_) - tops_.begin()) - 1;
  int last = static_cast<int>(
      std::lower_bound(tops_.begin(), tops_.end(), scrollY_ + inner.bottom - inner.top) -
      tops_.begin());
  return {std::clamp(first, 0, GetCount()), std::clamp(last, 0, GetCount())};
}

void CPlayListTreeViewUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  EnsureLayout();
  scrollY_ = std::clamp(scrollY_, 0, GetScrollRange());
  PlaceNodes();
}

RECT CPlayListTreeViewUI::ScrollBarRect() const {
  if (GetScrollRange() <= 0) return {};
  RECT inner = InnerRect();
  return {inner.right - kScrollBarWidth, inner.top, inner.right, inner.bottom};
}

RECT CPlayListTreeViewUI::ThumbRect() const {
  RECT bar = ScrollBarRect();
  if (IsRectEmpty(bar)) return {};
  int barHeight = bar.bottom - bar.top;
  int thumb = std::max(kMinThumbHeight, barHeight * barHeight / std::max(1, contentHeight_));
  thumb = std::min(thumb, barHeight);
  int top = bar.top + (barHeight - thumb) * scrollY_ / std::max(1, GetScrollRange());
  return {bar.left + 1, top, bar.right - 1, top + thumb};
}

// --- painting and input -----------------------------------------------------------------------

void CPlayListTreeViewUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT clipped;
  if (hDC == nullptr || !IntersectRect(&clipped, GetPos(), rcPaint)) return;
  CControlUI::DoPaint(hDC, rcPaint);
  RECT listPaint = Intersect(ListRect(), clipped);
  auto [first, last] = VisibleRange();
  for (int i = first; i < last; ++i) GetItemAt(i)->DoPaint(hDC, listPaint);
  RECT thumb = ThumbRect();
  if (IsRectEmpty(Intersect(thumb, clipped))) return;
  QPainter& painter = hDC->Painter();
  painter.save();
  hDC->SetClip(clipped);
  CRenderEngine::DrawRoundRect(hDC, thumb, 0, 2, 0, scrollBarColor_);
  painter.restore();
}

CControlUI* CPlayListTreeViewUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) == 0) return CContainerUI::FindControl(proc, data, flags);
  // Hit tests look only at the nodes in view, so scrolled-out nodes never take the mouse.
  const POINT& pt = *static_cast<const POINT*>(data);
  if (!PtInRect(GetPos(), pt)) return nullptr;
  if (PtInRect(ListRect(), pt)) {
    auto [first, last] = VisibleRange();
    for (int i = first; i < last; ++i) {
      if (CControlUI* hit = GetItemAt(i)->FindControl(proc, data, flags)) return hit;
    }
  }
  return proc(this, data);
}

void CPlayListTreeViewUI::DoEvent(TEventUI& event) {
  RECT list = ListRect();
  int page = std::max(1, (list.bottom - list.top) / kDefaultNodeHeight);
  auto moveSelection = [&](int to) {
    if (GetCount() == 0) return;
    to = std::clamp(to, 0, GetCount() - 1);
    if (to == curSel_) return;
    SelectItem(to, true);
    if (GetManager() != nullptr)
      GetManager()->SendNotify(GetNodeAt(to), DUI_MSGTYPE_ITEMSELECT, to);
  };
  switch (event.Type) {
    case UIEVENT_SCROLLWHEEL:
      // wParam 1 is a turn up; anything else a turn down.
      SetScrollPos(scrollY_ + (event.wParam == 1 ? -1 : 1) * kWheelRows * kDefaultNodeHeight);
      return;
    case UIEVENT_KEYDOWN:
      switch (event.chKey) {
        case VK_UP:
          moveSelection(curSel_ - 1);
          return;
        case VK_DOWN:
          moveSelection(curSel_ + 1);
          return;
        case VK_PRIOR:
          moveSelection(curSel_ - page);
          return;
        case VK_NEXT:
          moveSelection(curSel_ + page);
          return;
        case VK_HOME:
          moveSelection(0);
          return;
        case VK_END:
          moveSelection(GetCount() - 1);
          return;
        case VK_RETURN:
          if (CPlayListNodeUI* node = GetNodeAt(curSel_)) OnNodeActivate(node);
          return;
        default:
          break;
      }
      break;
    case UIEVENT_BUTTONDOWN: {
      RECT thumb = ThumbRect();
      if (PtInRect(thumb, event.ptMouse)) {
        draggingThumb_ = true;
        dragStartY_ = event.ptMouse.y;
        dragStartScroll_ = scrollY_;
      } else if (PtInRect(ScrollBarRect(), event.ptMouse)) {
        int visible = list.bottom - list.top;
        SetScrollPos(scrollY_ + (event.ptMouse.y < thumb.top ? -visible : visible));
      }
      return;
    }
    case UIEVENT_MOUSEMOVE:
      if (draggingThumb_) {
        RECT bar = ScrollBarRect();
        RECT thumb = ThumbRect();
        int travel = (bar.bottom - bar.top) - (thumb.bottom - thumb.top);
        if (travel > 0) {
          SetScrollPos(dragStartScroll_ +
                       (event.ptMouse.y - dragStartY_) * GetScrollRange() / travel);
        }
      }
      return;
    case UIEVENT_BUTTONUP:
      draggingThumb_ = false;
      return;
    default:
      break;
  }
  CContainerUI::DoEvent(event);
}

void CPlayListTreeViewUI::OnNodeClick(CPlayListNodeUI* node) {
  int index = GetItemIndex(node);
  if (index < 0) return;
  bool changed = index != curSel_;
  SelectItem(index, true);
  if (GetManager() == nullptr) return;
  GetManager()->SendNotify(node, DUI_MSGTYPE_ITEMCLICK, index);
  if (changed) GetManager()->SendNotify(node, DUI_MSGTYPE_ITEMSELECT, index);
}

void CPlayListTreeViewUI::OnNodeActivate(CPlayListNodeUI* node) {
  int index = GetItemIndex(node);
  if (index < 0 || GetManager() == nullptr) return;
  GetManager()->SendNotify(node, DUI_MSGTYPE_ITEMACTIVATE, index);
}

void CPlayListTreeViewUI::OnNodeDelete(CPlayListNodeUI* node) {
  int index = GetItemIndex(node);
  if (index < 0) return;
  deleteIndex_ = index;
  // Posted, not sent: the handler removes this very node, which must not happen while the node
  // is still handling its own mouse event.
  if (GetManager() != nullptr) {
    korvane::PostWindowMessage(GetManager()->GetPaintWindow(), korvane::WM_PLAYLIST_DELETE,
                               static_cast<WPARAM>(index), 0);
  }
}

}  // namespace DuiLib
