#include "framework/ui_label.h"

#include <cstdlib>

#include "framework/paint_manager.h"

namespace DuiLib {

namespace {
int ToInt(std::string_view v) {
  return static_cast<int>(std::strtol(std::string(v).c_str(), nullptr, 10));
}
bool ToBool(std::string_view v) {
  return v == "true" || v == "1";
}
}  // namespace

CLabelUI::CLabelUI() : textStyle_(DT_VCENTER | DT_SINGLELINE) {}

void* CLabelUI::GetInterface(std::string_view name) {
  if (name == "Label") return static_cast<CLabelUI*>(this);
  return CControlUI::GetInterface(name);
}

void CLabelUI::SetTextStyle(UINT style) {
  textStyle_ = style;
  Invalidate();
}
void CLabelUI::SetTextColor(DWORD argb) {
  textColor_ = argb;
  Invalidate();
}
void CLabelUI::SetDisabledTextColor(DWORD argb) {
  disabledTextColor_ = argb;
  Invalidate();
}
void CLabelUI::SetFont(int index) {
  font_ = index;
  Invalidate();
}
void CLabelUI::SetTextPadding(RECT rc) {
  textPadding_ = rc;
  Invalidate();
}

SIZE CLabelUI::EstimateSize(SIZE available) {
  SIZE size = CControlUI::EstimateSize(available);
  if (autoWidth_ && manager_ != nullptr) {
    size.cx = CRenderEngine::MeasureText(manager_, text_, font_).cx + textPadding_.left +
              textPadding_.right;
  }
  return size;
}

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "align") {
    textStyle_ &= ~(DT_LEFT | DT_CENTER | DT_RIGHT);
    if (value.find("center") != std::string_view::npos) textStyle_ |= DT_CENTER;
    if (value.find("right") != std::string_view::npos) textStyle_ |= DT_RIGHT;
    Invalidate();
  } else if (name == "valign") {
    textStyle_ &= ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
    if (value.find("center") != std::string_view::npos) textStyle_ |= DT_VCENTER;
    if (value.find("bottom") != std::string_view::npos) textStyle_ |= DT_BOTTOM;
    Invalidate();
  } else if (name == "endellipsis") {
    if (ToBool(value))
      textStyle_ |= DT_END_ELLIPSIS;
    else
      textStyle_ &= ~DT_END_ELLIPSIS;
  } else if (name == "wordbreak") {
    if (ToBool(value)) {
      textStyle_ &= ~DT_SINGLELINE;
      textStyle_ |= DT_WORDBREAK;
    } else {
      textStyle_ &= ~DT_WORDBREAK;
      textStyle_ |= DT_SINGLELINE;
    }
  } else if (name == "font") {
    SetFont(ToInt(value));
  } else if (name == "textcolor") {
    SetTextColor(ParseColor(value));
  } else if (name == "disabledtextcolor") {
    SetDisabledTextColor(ParseColor(value));
  } else if (name == "textpadding") {
    SetTextPadding(ParseRect(value));
  } else if (name == "autocalcwidth") {
    autoWidth_ = ToBool(value);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CLabelUI::PaintTextIn(HDC hDC, DWORD argb) {
  if (text_.empty()) return;
  if (argb == 0 && manager_ != nullptr) argb = manager_->GetDefaultFontColor();
  const RECT rc{rcItem_.left + textPadding_.left, rcItem_.top + textPadding_.top,
                rcItem_.right - textPadding_.right, rcItem_.bottom - textPadding_.bottom};
  CRenderEngine::DrawText(hDC, manager_, rc, text_, argb, font_, textStyle_);
}

void CLabelUI::PaintText(HDC hDC) {
  const DWORD color =
      IsEnabled() ? textColor_ : (disabledTextColor_ != 0 ? disabledTextColor_ : 0xFF808080);
  PaintTextIn(hDC, color);
}

CTextUI::CTextUI() {
  textStyle_ = DT_WORDBREAK;
}

void* CTextUI::GetInterface(std::string_view name) {
  if (name == "Text") return static_cast<CTextUI*>(this);
  return CLabelUI::GetInterface(name);
}

CButtonUI::CButtonUI() {
  textStyle_ = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

void* CButtonUI::GetInterface(std::string_view name) {
  if (name == "Button") return static_cast<CButtonUI*>(this);
  return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const {
  return IsEnabled() ? 1u : 0u;
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (manager_ != nullptr) manager_->SendNotify(this, DUI_MSGTYPE_CLICK);
  return true;
}

void CButtonUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!enabled) hot_ = pushed_ = captured_ = false;
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT_MOUSEMOVE && event.Type < UIEVENT_KEYDOWN) {
    if (parent_ != nullptr) parent_->DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled() && PtInRect(rcItem_, event.ptMouse)) {
        pushed_ = captured_ = true;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (captured_) {
        const bool inside = PtInRect(rcItem_, event.ptMouse);
        if (inside != pushed_) {
          pushed_ = inside;
          Invalidate();
        }
      }
      return;
    case UIEVENT_BUTTONUP:
      if (captured_) {
        const bool click = PtInRect(rcItem_, event.ptMouse);
        pushed_ = captured_ = false;
        Invalidate();
        if (click) Activate();
      }
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        hot_ = true;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      return;
    case UIEVENT_KEYDOWN:
      if (event.chKey == VK_SPACE || event.chKey == VK_RETURN) {
        Activate();
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(std::string_view image) {
  normalImage_ = image;
  Invalidate();
}
void CButtonUI::SetHotImage(std::string_view image) {
  hotImage_ = image;
  Invalidate();
}
void CButtonUI::SetPushedImage(std::string_view image) {
  pushedImage_ = image;
  Invalidate();
}
void CButtonUI::SetDisabledImage(std::string_view image) {
  disabledImage_ = image;
  Invalidate();
}
void CButtonUI::SetForeImage(std::string_view image) {
  foreImage_ = image;
  Invalidate();
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "normalimage")
    SetNormalImage(value);
  else if (name == "hotimage")
    SetHotImage(value);
  else if (name == "pushedimage")
    SetPushedImage(value);
  else if (name == "disabledimage")
    SetDisabledImage(value);
  else if (name == "foreimage")
    SetForeImage(value);
  else if (name == "hotforeimage")
    hotForeImage_ = value;
  else if (name == "hottextcolor")
    SetHotTextColor(ParseColor(value));
  else if (name == "pushedtextcolor")
    pushedTextColor_ = ParseColor(value);
  else if (name == "hotbkcolor")
    SetHotBkColor(ParseColor(value));
  else if (name == "pushedbkcolor")
    SetPushedBkColor(ParseColor(value));
  else
    CLabelUI::SetAttribute(name, value);
}

void CButtonUI::PaintBkColor(HDC hDC) {
  DWORD color = bkColor_;
  if (IsEnabled() && pushed_ && pushedBkColor_ != 0)
    color = pushedBkColor_;
  else if (IsEnabled() && (hot_ || pushed_) && hotBkColor_ != 0)
    color = hotBkColor_;
  if (color == 0) return;
  if (borderRound_.cx > 0) {
    CRenderEngine::DrawRoundRect(hDC, rcItem_, 0, borderRound_.cx, 0, color);
  } else {
    CRenderEngine::DrawColor(hDC, rcItem_, color);
  }
}

void CButtonUI::PaintStatusImage(HDC hDC) {
  bool drawn = false;
  if (!IsEnabled() && !disabledImage_.empty())
    drawn = DrawImage(hDC, disabledImage_);
  else if (pushed_ && !pushedImage_.empty())
    drawn = DrawImage(hDC, pushedImage_);
  else if (hot_ && !hotImage_.empty())
    drawn = DrawImage(hDC, hotImage_);
  if (!drawn && !normalImage_.empty()) DrawImage(hDC, normalImage_);
  if (hot_ && !hotForeImage_.empty())
    DrawImage(hDC, hotForeImage_);
  else if (!foreImage_.empty())
    DrawImage(hDC, foreImage_);
}

void CButtonUI::PaintText(HDC hDC) {
  DWORD color = textColor_;
  if (!IsEnabled())
    color = disabledTextColor_ != 0 ? disabledTextColor_ : 0xFF808080;
  else if (pushed_ && pushedTextColor_ != 0)
    color = pushedTextColor_;
  else if ((hot_ || pushed_) && hotTextColor_ != 0)
    color = hotTextColor_;
  PaintTextIn(hDC, color);
}

COptionUI::~COptionUI() = default;

void* COptionUI::GetInterface(std::string_view name) {
  if (name == "Option") return static_cast<COptionUI*>(this);
  return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  CButtonUI::SetManager(manager, parent, init);
}

void COptionUI::SetGroup(std::string_view group) {
  group_ = group;
  if (selected_) Selected(true, false);
}

// Unselects the other options of the same group inside the same root.
static void UnselectGroupPeers(COptionUI* self, CPaintManagerUI* manager) {
  if (manager == nullptr || manager->GetRoot() == nullptr || self->GetGroup().empty()) return;
  struct Ctx {
    COptionUI* self;
  } ctx{self};
  manager->GetRoot()->FindControl(
      [](CControlUI* c, void* data) -> CControlUI* {
        auto* ctx = static_cast<Ctx*>(data);
        auto* opt = static_cast<COptionUI*>(c->GetInterface("Option"));
        if (opt != nullptr && opt != ctx->self && opt->GetGroup() == ctx->self->GetGroup() &&
            opt->IsSelected()) {
          opt->Selected(false);
        }
        return nullptr;
      },
      &ctx, UIFIND_ALL);
}

void COptionUI::Selected(bool selected, bool bTriggerEvent) {
  if (selected_ == selected) return;
  selected_ = selected;
  if (selected_) UnselectGroupPeers(this, manager_);
  if (bTriggerEvent && manager_ != nullptr) {
    manager_->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED, selected_ ? 1 : 0);
  }
  Invalidate();
}

bool COptionUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (!group_.empty())
    Selected(true);
  else
    Selected(!selected_);
  if (manager_ != nullptr) manager_->SendNotify(this, DUI_MSGTYPE_CLICK);
  return true;
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "group")
    SetGroup(value);
  else if (name == "selected")
    Selected(ToBool(value), false);
  else if (name == "selectedimage")
    SetSelectedImage(value);
  else if (name == "selectedhotimage")
    selectedHotImage_ = value;
  else if (name == "selectedtextcolor")
    selectedTextColor_ = ParseColor(value);
  else if (name == "selectedbkcolor")
    selectedBkColor_ = ParseColor(value);
  else
    CButtonUI::SetAttribute(name, value);
}

void COptionUI::PaintBkColor(HDC hDC) {
  if (selected_ && selectedBkColor_ != 0) {
    CRenderEngine::DrawColor(hDC, rcItem_, selectedBkColor_);
    return;
  }
  CButtonUI::PaintBkColor(hDC);
}

void COptionUI::PaintStatusImage(HDC hDC) {
  if (selected_) {
    if (hot_ && !selectedHotImage_.empty() && DrawImage(hDC, selectedHotImage_)) return;
    if (!selectedImage_.empty() && DrawImage(hDC, selectedImage_)) return;
  }
  CButtonUI::PaintStatusImage(hDC);
}

void COptionUI::PaintText(HDC hDC) {
  if (selected_ && selectedTextColor_ != 0 && IsEnabled()) {
    PaintTextIn(hDC, selectedTextColor_);
    return;
  }
  CButtonUI::PaintText(hDC);
}

void* CCheckBoxUI::GetInterface(std::string_view name) {
  if (name == "CheckBox") return static_cast<CCheckBoxUI*>(this);
  return COptionUI::GetInterface(name);
}

}  // namespace DuiLib
