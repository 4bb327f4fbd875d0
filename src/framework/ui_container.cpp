#include "framework/ui_container.h"

#include <algorithm>
#include <cstdlib>

#include "framework/paint_manager.h"

namespace DuiLib {

CContainerUI::~CContainerUI() {
  for (CControlUI* item : items_) delete item;
  items_.clear();
}

void* CContainerUI::GetInterface(std::string_view name) {
  if (name == "Container") return static_cast<CContainerUI*>(this);
  if (name == "IContainer") return static_cast<IContainerUI*>(this);
  return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[static_cast<std::size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  auto it = std::find(items_.begin(), items_.end(), control);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
  const int from = GetItemIndex(control);
  if (from < 0 || index < 0 || index >= GetCount()) return false;
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + index, control);
  NeedUpdate();
  return true;
}

bool CContainerUI::Add(CControlUI* control) {
  return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr || index < 0 || index > GetCount()) return false;
  items_.insert(items_.begin() + index, control);
  control->SetManager(manager_, this, manager_ != nullptr);
  control->SetInternVisible(IsVisible());
  NeedUpdate();
  if (manager_ != nullptr) manager_->NeedUpdate();
  return true;
}

CControlUI* CContainerUI::Detach(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  if (manager_ != nullptr) manager_->ReapObject(control);
  NeedUpdate();
  return control;
}

bool CContainerUI::Remove(CControlUI* control) {
  if (Detach(control) == nullptr) return false;
  delete control;
  return true;
}

bool CContainerUI::RemoveAt(int index) {
  return Remove(GetItemAt(index));
}

void CContainerUI::RemoveAll() {
  std::vector<CControlUI*> items;
  items.swap(items_);
  for (CControlUI* item : items) delete item;
  NeedUpdate();
}

void CContainerUI::SetInset(RECT rc) {
  inset_ = rc;
  NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
  childPadding_ = padding;
  NeedUpdate();
}

void CContainerUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  CControlUI::SetVisible(visible);
  for (CControlUI* item : items_) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  for (CControlUI* item : items_) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  for (CControlUI* item : items_) item->SetManager(manager, this, init);
  CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) && !PtInRect(rcItem_, *static_cast<POINT*>(data))) return nullptr;
  if (flags & UIFIND_ME_FIRST) {
    if (CControlUI* me = CControlUI::FindControl(proc, data, flags)) return me;
  }
  if (flags & UIFIND_TOP_FIRST) {
    // Later children paint on top; floating ones above the laid-out ones.
    for (int pass = 0; pass < 2; ++pass) {
      for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if ((*it)->IsFloat() != (pass == 0)) continue;
        if (CControlUI* found = (*it)->FindControl(proc, data, flags)) return found;
      }
    }
  } else {
    for (CControlUI* item : items_) {
      if (CControlUI* found = item->FindControl(proc, data, flags)) return found;
    }
  }
  if (!(flags & UIFIND_ME_FIRST)) return CControlUI::FindControl(proc, data, flags);
  return nullptr;
}

RECT CContainerUI::InnerRect() const {
  return RECT{rcItem_.left + inset_.left, rcItem_.top + inset_.top, rcItem_.right - inset_.right,
              rcItem_.bottom - inset_.bottom};
}

bool CContainerUI::PlacedOutsideFlow(CControlUI* child) {
  if (!child->IsShownByChoice()) return true;
  if (!child->IsFloat()) return false;
  SetFloatPos(child);
  return true;
}

void CContainerUI::SetFloatPos(CControlUI* child) {
  const SIZE xy = child->GetFixedXY();
  const int cx = child->GetFixedWidth();
  const int cy = child->GetFixedHeight();
  const RECT rc{rcItem_.left + xy.cx, rcItem_.top + xy.cy, rcItem_.left + xy.cx + cx,
                rcItem_.top + xy.cy + cy};
  child->PlaceFloat(rc);
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  const RECT inner = InnerRect();
  for (CControlUI* item : items_) {
    if (PlacedOutsideFlow(item)) continue;
    const RECT pad = item->GetPadding();
    item->SetPos(RECT{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right,
                      inner.bottom - pad.bottom},
                 false);
  }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT clip;
  if (!IntersectRect(&clip, rcPaint, rcItem_)) return;
  CControlUI::DoPaint(hDC, rcPaint);
  RECT inner = InnerRect();
  RECT childPaint;
  if (!IntersectRect(&childPaint, clip, rcItem_)) return;
  for (int pass = 0; pass < 2; ++pass) {
    for (CControlUI* item : items_) {
      if (!item->IsVisible() || item->IsFloat() != (pass == 1)) continue;
      RECT itemPaint;
      if (!IntersectRect(&itemPaint, childPaint, item->GetPos())) continue;
      item->DoPaint(hDC, childPaint);
    }
  }
  (void)inner;
}

void CContainerUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "inset") {
    SetInset(ParseRect(value));
  } else if (name == "childpadding") {
    SetChildPadding(static_cast<int>(std::strtol(std::string(value).c_str(), nullptr, 10)));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CContainerUI::DoEvent(TEventUI& event) {
  CControlUI::DoEvent(event);
}

void* CVerticalLayoutUI::GetInterface(std::string_view name) {
  if (name == "VerticalLayout") return this;
  return CContainerUI::GetInterface(name);
}

void* CHorizontalLayoutUI::GetInterface(std::string_view name) {
  if (name == "HorizontalLayout") return this;
  return CContainerUI::GetInterface(name);
}

namespace {

struct Slot {
  CControlUI* item;
  int fixed;  // size along the layout direction, 0 = share
  int size = 0;
};

// Distributes `available` along one direction: fixed slots first, the rest shared equally with
// min/max limits respected.
void Distribute(std::vector<Slot>& slots, int available, bool vertical) {
  int fixedTotal = 0;
  int shares = 0;
  for (Slot& s : slots) {
    if (s.fixed > 0) {
      s.size = s.fixed;
      fixedTotal += s.fixed;
    } else {
      ++shares;
    }
  }
  int rest = std::max(0, available - fixedTotal);
  // Repeat while min/max limits take slots out of the shared pool.
  std::vector<bool> settled(slots.size(), false);
  for (std::size_t i = 0; i < slots.size(); ++i) settled[i] = slots[i].fixed > 0;
  bool changed = true;
  while (changed && shares > 0) {
    changed = false;
    const int each = rest / shares;
    for (std::size_t i = 0; i < slots.size(); ++i) {
      if (settled[i]) continue;
      CControlUI* c = slots[i].item;
      const int mn = vertical ? c->GetMinHeight() : c->GetMinWidth();
      const int mx = vertical ? c->GetMaxHeight() : c->GetMaxWidth();
      const int clamped = std::clamp(each, mn, std::max(mn, mx));
      if (clamped != each) {
        slots[i].size = clamped;
        settled[i] = true;
        rest = std::max(0, rest - clamped);
        --shares;
        changed = true;
      }
    }
  }
  if (shares > 0) {
    const int each = rest / shares;
    int remainder = rest - each * shares;
    for (std::size_t i = 0; i < slots.size(); ++i) {
      if (settled[i]) continue;
      slots[i].size = each + (remainder > 0 ? 1 : 0);
      if (remainder > 0) --remainder;
    }
  }
}

// While the fixed sizes and paddings overrun `alongSpace`, leaves out the slot with the highest
// drop order (the later one of equals) together with its padding and its gap; every other slot
// is shown again, so a row that grows gets them back.
void LeaveOutForRoom(std::vector<Slot>& slots, int alongSpace, int childPadding, int& padTotal,
                     bool vertical) {
  int needed = padTotal;
  for (const Slot& s : slots) {
    s.item->SetDropped(false);
    needed += s.fixed;
  }
  while (needed > alongSpace) {
    auto out = slots.end();
    for (auto it = slots.begin(); it != slots.end(); ++it) {
      const int order = it->item->GetDropOrder();
      if (order > 0 && (out == slots.end() || order >= out->item->GetDropOrder())) out = it;
    }
    if (out == slots.end()) return;
    const RECT pad = out->item->GetPadding();
    const int padding = (vertical ? pad.top + pad.bottom : pad.left + pad.right) +
                        (slots.size() > 1 ? childPadding : 0);
    needed -= out->fixed + padding;
    padTotal -= padding;
    out->item->SetDropped(true);
    slots.erase(out);
  }
}

}  // namespace

void CContainerUI::LayoutLine(bool vertical) {
  const RECT inner = InnerRect();
  const SIZE available{inner.right - inner.left, inner.bottom - inner.top};
  // Along: the layout's direction; across: the other one.
  const int alongSpace = vertical ? available.cy : available.cx;
  const int acrossSpace = vertical ? available.cx : available.cy;
  std::vector<Slot> slots;
  int padTotal = 0;
  for (CControlUI* item : items_) {
    if (PlacedOutsideFlow(item)) continue;
    const RECT pad = item->GetPadding();
    const SIZE sz = item->EstimateSize(available);
    const int fixed = vertical ? sz.cy : sz.cx;
    const int minimum = vertical ? item->GetMinHeight() : item->GetMinWidth();
    slots.push_back(Slot{item, fixed > 0 ? std::max(fixed, minimum) : 0});
    padTotal += vertical ? pad.top + pad.bottom : pad.left + pad.right;
  }
  if (slots.size() > 1) padTotal += childPadding_ * static_cast<int>(slots.size() - 1);
  LeaveOutForRoom(slots, alongSpace, childPadding_, padTotal, vertical);
  Distribute(slots, alongSpace - padTotal, vertical);
  int along = vertical ? inner.top : inner.left;
  for (Slot& s : slots) {
    const RECT pad = s.item->GetPadding();
    const SIZE sz = s.item->EstimateSize(available);
    const int padBefore = vertical ? pad.top : pad.left;
    const int padAfter = vertical ? pad.bottom : pad.right;
    const int acrossBefore = vertical ? pad.left : pad.top;
    const int acrossRoom = acrossSpace - (vertical ? pad.left + pad.right : pad.top + pad.bottom);
    const int wanted = vertical ? sz.cx : sz.cy;
    const int across = std::max(0, std::min(wanted > 0 ? wanted : acrossRoom, acrossRoom));
    // Children of a row that are shorter than it are centred, as toolbars expect.
    const int offset = !vertical && wanted > 0 ? (acrossRoom - across) / 2 : 0;
    along += padBefore;
    if (vertical) {
      const int left = inner.left + acrossBefore;
      s.item->SetPos(RECT{left, along, left + across, along + s.size}, false);
    } else {
      const int top = inner.top + acrossBefore + offset;
      s.item->SetPos(RECT{along, top, along + s.size, top + across}, false);
    }
    along += s.size + padAfter + childPadding_;
  }
}

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  LayoutLine(true);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  LayoutLine(false);
}

}  // namespace DuiLib
