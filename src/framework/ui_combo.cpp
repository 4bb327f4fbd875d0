#include "framework/ui_combo.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QWidget>
#include <cstdlib>

#include "framework/paint_manager.h"
#include "framework/qt_bridge.h"

namespace DuiLib {

void* CListLabelElementUI::GetInterface(std::string_view name) {
  if (name == "ListLabelElement" || name == "ListItem")
    return static_cast<CListLabelElementUI*>(this);
  return CLabelUI::GetInterface(name);
}

CComboUI* CListLabelElementUI::Owner() const {
  return parent_ != nullptr ? static_cast<CComboUI*>(parent_->GetInterface("Combo")) : nullptr;
}

int CListLabelElementUI::GetIndex() const {
  CComboUI* owner = Owner();
  return owner != nullptr ? owner->GetItemIndex(const_cast<CListLabelElementUI*>(this)) : -1;
}

bool CListLabelElementUI::IsSelected() const {
  CComboUI* owner = Owner();
  return owner != nullptr && owner->GetCurSel() == GetIndex();
}

bool CListLabelElementUI::Select(bool select) {
  CComboUI* owner = Owner();
  if (owner == nullptr) return false;
  if (select) return owner->SelectItem(GetIndex());
  if (IsSelected()) owner->SelectItem(-1);
  return true;
}

void CListLabelElementUI::SetAttribute(std::string_view name, std::string_view value) {
  // List-only attributes (scroll bars) have no meaning for a drop-down entry.
  if (name == "hscrollbar" || name == "vscrollbar") return;
  CLabelUI::SetAttribute(name, value);
}

CComboUI::CComboUI() = default;

void* CComboUI::GetInterface(std::string_view name) {
  if (name == "Combo") return static_cast<CComboUI*>(this);
  return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const {
  return IsEnabled() ? 1u : 0u;
}

bool CComboUI::SelectItem(int index, bool bTakeFocus, bool bTriggerEvent) {
  if (index < -1 || index >= GetCount()) return false;
  if (bTakeFocus) SetFocus();
  if (index == curSel_) return true;
  const int old = curSel_;
  curSel_ = index;
  Invalidate();
  if (bTriggerEvent && manager_ != nullptr) {
    manager_->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(curSel_), old);
  }
  return true;
}

bool CComboUI::Add(CControlUI* control) {
  return AddAt(control, GetCount());
}

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  if (curSel_ >= index) ++curSel_;
  return true;
}

bool CComboUI::Remove(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  return RemoveAt(index);
}

bool CComboUI::RemoveAt(int index) {
  if (!CContainerUI::Remove(GetItemAt(index))) return false;
  if (index == curSel_)
    curSel_ = -1;
  else if (index < curSel_)
    --curSel_;
  Invalidate();
  return true;
}

void CComboUI::RemoveAll() {
  CContainerUI::RemoveAll();
  curSel_ = -1;
  Invalidate();
}

CDuiString CComboUI::GetText() const {
  CControlUI* item = GetItemAt(curSel_);
  return item != nullptr ? item->GetText() : CDuiString();
}

void CComboUI::ShowDropDown() {
  QWidget* paint = manager_ != nullptr ? manager_->GetPaintWidget() : nullptr;
  if (paint == nullptr || GetCount() == 0) return;
  QMenu menu(paint);
  const int width = rcItem_.right - rcItem_.left;
  menu.setMinimumWidth(width);
  menu.setFont(manager_->GetQFont(font_));
  auto hex = [](DWORD argb) { return QString("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0')); };
  menu.setStyleSheet(QString("QMenu{background:%1;color:%2;border:1px solid #3a3f47;padding:2px;}"
                             "QMenu::item{padding:5px 14px;}"
                             "QMenu::item:selected{background:%3;color:#ffffff;}")
                         .arg(hex(popupBkColor_), hex(textColor_), hex(popupHotColor_)));
  for (int i = 0; i < GetCount(); ++i) {
    QAction* action = menu.addAction(ToQ(GetItemAt(i)->GetText()));
    action->setData(i);
    if (i == curSel_) menu.setActiveAction(action);
  }
  const QPoint at = paint->mapToGlobal(QPoint(rcItem_.left, rcItem_.bottom));
  QAction* chosen = menu.exec(at);
  if (chosen != nullptr) SelectItem(chosen->data().toInt(), true);
}

void CComboUI::SetPos(RECT rc, bool bNeedInvalidate) {
  // Items live in the drop-down, not inside the combo.
  CControlUI::SetPos(rc, bNeedInvalidate);
}

void CComboUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      if (IsEnabled()) ShowDropDown();
      return;
    case UIEVENT_MOUSEENTER:
      hot_ = true;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
      if (IsEnabled()) {
        const int next = curSel_ + (event.wParam == 1 ? -1 : 1);
        if (next >= 0 && next < GetCount()) SelectItem(next);
      }
      return;
    case UIEVENT_KEYDOWN:
      if (IsEnabled() && (event.chKey == VK_UP || event.chKey == VK_DOWN)) {
        const int next = curSel_ + (event.chKey == VK_UP ? -1 : 1);
        if (next >= 0 && next < GetCount()) SelectItem(next);
        return;
      }
      break;
    default:
      break;
  }
  CContainerUI::DoEvent(event);
}

void CComboUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "normalimage")
    normalImage_ = value;
  else if (name == "hotimage")
    hotImage_ = value;
  else if (name == "pushedimage")
    pushedImage_ = value;
  else if (name == "disabledimage")
    disabledImage_ = value;
  else if (name == "textcolor" || name == "itemtextcolor")
    textColor_ = ParseColor(value);
  else if (name == "popupbkcolor" || name == "itembkcolor")
    popupBkColor_ = ParseColor(value);
  else if (name == "popuphotcolor" || name == "itemselectedbkcolor")
    popupHotColor_ = ParseColor(value);
  else if (name == "font" || name == "itemfont")
    font_ = std::atoi(std::string(value).c_str());
  else if (name == "textpadding")
    textPadding_ = ParseRect(value);
  else if (name == "hscrollbar" || name == "vscrollbar" || name == "dropboxsize")
    return;
  else
    CContainerUI::SetAttribute(name, value);
}

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::PaintStatusImage(HDC hDC) {
  bool drawn = false;
  if (!IsEnabled() && !disabledImage_.empty())
    drawn = DrawImage(hDC, disabledImage_);
  else if (hot_ && !hotImage_.empty())
    drawn = DrawImage(hDC, hotImage_);
  if (!drawn && !normalImage_.empty()) drawn = DrawImage(hDC, normalImage_);
  if (drawn) return;
  // Without images: a rounded field with a chevron.
  const DWORD border = !IsEnabled() ? 0xFF33373D : hot_ ? 0xFF2F80ED : 0xFF454B55;
  CRenderEngine::DrawRoundRect(hDC, rcItem_, 1, 4, border, IsEnabled() ? 0xFF23262B : 0xFF1E2024);
  const int cx = rcItem_.right - 13;
  const int cy = (rcItem_.top + rcItem_.bottom) / 2;
  QPainter& p = hDC->Painter();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(QColor::fromRgba(IsEnabled() ? 0xFFB8BEC8 : 0xFF5A5F66));
  pen.setWidthF(1.6);
  p.setPen(pen);
  p.drawLine(QPointF(cx - 4, cy - 2), QPointF(cx, cy + 2));
  p.drawLine(QPointF(cx, cy + 2), QPointF(cx + 4, cy - 2));
  p.restore();
}

void CComboUI::PaintText(HDC hDC) {
  const RECT rc{rcItem_.left + textPadding_.left, rcItem_.top + textPadding_.top,
                rcItem_.right - textPadding_.right, rcItem_.bottom - textPadding_.bottom};
  CRenderEngine::DrawText(hDC, manager_, rc, GetText(), IsEnabled() ? textColor_ : 0xFF6A6F78,
                          font_, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

CControlUI* CComboUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  if (flags & UIFIND_HITTEST) return CControlUI::FindControl(proc, data, flags);
  return CContainerUI::FindControl(proc, data, flags);
}

}  // namespace DuiLib
