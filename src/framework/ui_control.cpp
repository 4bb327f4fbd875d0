#include "framework/ui_control.h"

#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <cstdlib>

#include "framework/paint_manager.h"
#include "framework/qt_bridge.h"
#include "framework/thread_call.h"

namespace DuiLib {

struct CControlUI::Hosted {
  QPointer<QWidget> widget;
};

namespace {
bool ParseBool(std::string_view v) {
  return v == "true" || v == "1";
}
int ParseInt(std::string_view v) {
  return static_cast<int>(std::strtol(std::string(v).c_str(), nullptr, 10));
}
}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  OnDestroy(this);
  if (manager_ != nullptr) manager_->ReapObject(this);
  if (hosted_ && hosted_->widget) delete hosted_->widget.data();
}

void* CControlUI::GetInterface(std::string_view name) {
  if (name == "Control") return this;
  return nullptr;
}

bool CControlUI::Activate() {
  return IsVisible() && IsEnabled();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  manager_ = manager;
  parent_ = parent;
  if (hosted_ && hosted_->widget && manager_ != nullptr) {
    manager_->RegisterHostedControl(this);
    SyncHostedWidget();
  }
  if (init && parent != nullptr) Init();
}

void CControlUI::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = text;
  Invalidate();
}

void CControlUI::SetBkColor(DWORD argb) {
  bkColor_ = argb;
  Invalidate();
}
void CControlUI::SetBkColor2(DWORD argb) {
  bkColor2_ = argb;
  Invalidate();
}
void CControlUI::SetBorderColor(DWORD argb) {
  borderColor_ = argb;
  Invalidate();
}
void CControlUI::SetBkImage(std::string_view image) {
  if (bkImage_ == image) return;
  bkImage_ = image;
  Invalidate();
}
void CControlUI::SetBorderSize(int size) {
  borderSize_ = size;
  Invalidate();
}
void CControlUI::SetBorderRound(SIZE round) {
  borderRound_ = round;
  Invalidate();
}

void CControlUI::PlaceFloat(RECT absolute) {
  placingFloat_ = true;
  SetPos(absolute, false);
  placingFloat_ = false;
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
  if (float_ && parent_ != nullptr && !placingFloat_) {
    fixedXY_ = {rc.left, rc.top};
    fixedSize_ = {rc.right - rc.left, rc.bottom - rc.top};
    const RECT& origin = parent_->GetPos();
    rc = RECT{origin.left + rc.left, origin.top + rc.top, origin.left + rc.right,
              origin.top + rc.bottom};
  }
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  const RECT old = rcItem_;
  rcItem_ = rc;
  updateNeeded_ = false;
  if (bNeedInvalidate && manager_ != nullptr) {
    manager_->Invalidate(old);
    manager_->Invalidate(rcItem_);
  }
  OnSize(this);
  SyncHostedWidget();
}

void CControlUI::SetPadding(RECT rc) {
  padding_ = rc;
  NeedParentUpdate();
}
void CControlUI::SetFixedXY(SIZE xy) {
  fixedXY_ = xy;
  NeedParentUpdate();
}
void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  fixedSize_.cx = cx;
  NeedParentUpdate();
}
void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  fixedSize_.cy = cy;
  NeedParentUpdate();
}
void CControlUI::SetMinWidth(int cx) {
  if (cx < 0) return;
  minSize_.cx = cx;
  NeedParentUpdate();
}
void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0) return;
  maxSize_.cx = cx;
  NeedParentUpdate();
}
void CControlUI::SetMinHeight(int cy) {
  if (cy < 0) return;
  minSize_.cy = cy;
  NeedParentUpdate();
}
void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0) return;
  maxSize_.cy = cy;
  NeedParentUpdate();
}

SIZE CControlUI::EstimateSize(SIZE) {
  return fixedSize_;
}

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  const bool wasVisible = IsVisible();
  visible_ = visible;
  if (focused_ && !visible && manager_ != nullptr) manager_->SetFocus(nullptr);
  if (wasVisible != IsVisible()) NeedParentUpdate();
  SyncHostedWidget();
}

void CControlUI::SetInternVisible(bool visible) {
  internVisible_ = visible;
  if (!visible && focused_ && manager_ != nullptr) manager_->SetFocus(nullptr);
  SyncHostedWidget();
}

void CControlUI::SetDropped(bool dropped) {
  if (dropped_ == dropped) return;
  dropped_ = dropped;
  if (dropped && focused_ && manager_ != nullptr) manager_->SetFocus(nullptr);
  SyncHostedWidget();
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void CControlUI::SetFocus() {
  if (manager_ != nullptr) manager_->SetFocus(this);
}

void CControlUI::SetFloat(bool isFloat) {
  if (float_ == isFloat) return;
  float_ = isFloat;
  NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((flags & UIFIND_HITTEST) &&
      (!mouseEnabled_ || !PtInRect(rcItem_, *static_cast<POINT*>(data)))) {
    return nullptr;
  }
  return proc(this, data);
}

void CControlUI::Invalidate() {
  if (manager_ != nullptr && IsVisible()) manager_->Invalidate(rcItem_);
}

void CControlUI::InvalidateFromAnyThread() {
  RunOnThreadOf(manager_ != nullptr ? manager_->GetPaintWidget() : nullptr,
                [this] { Invalidate(); });
}

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  updateNeeded_ = true;
  Invalidate();
  if (manager_ != nullptr) manager_->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (parent_ != nullptr) {
    parent_->NeedUpdate();
    parent_->Invalidate();
  } else {
    NeedUpdate();
  }
  if (manager_ != nullptr) manager_->NeedUpdate();
}

void CControlUI::Init() {
  if (inited_) return;
  inited_ = true;
  DoInit();
  OnInit(this);
}

void CControlUI::Event(TEventUI& event) {
  if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
      focused_ = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      focused_ = false;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
    case UIEVENT_KEYDOWN:
      if (parent_ != nullptr) parent_->DoEvent(event);
      return;
    default:
      return;
  }
}

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "pos") {
    const RECT r = ParseRect(value);
    fixedXY_ = {r.left, r.top};
    fixedSize_ = {r.right - r.left, r.bottom - r.top};
    NeedParentUpdate();
  } else if (name == "padding") {
    SetPadding(ParseRect(value));
  } else if (name == "bkcolor" || name == "bkcolor1") {
    SetBkColor(ParseColor(value));
  } else if (name == "bkcolor2") {
    SetBkColor2(ParseColor(value));
  } else if (name == "bordercolor") {
    SetBorderColor(ParseColor(value));
  } else if (name == "bordersize") {
    SetBorderSize(ParseInt(value));
  } else if (name == "borderround") {
    SetBorderRound(ParseSize(value));
  } else if (name == "bkimage") {
    SetBkImage(value);
  } else if (name == "width") {
    SetFixedWidth(ParseInt(value));
  } else if (name == "height") {
    SetFixedHeight(ParseInt(value));
  } else if (name == "minwidth") {
    SetMinWidth(ParseInt(value));
  } else if (name == "droporder") {
    SetDropOrder(ParseInt(value));
  } else if (name == "minheight") {
    SetMinHeight(ParseInt(value));
  } else if (name == "maxwidth") {
    SetMaxWidth(ParseInt(value));
  } else if (name == "maxheight") {
    SetMaxHeight(ParseInt(value));
  } else if (name == "name") {
    SetName(value);
  } else if (name == "text") {
    SetText(value);
  } else if (name == "tooltip") {
    SetToolTip(value);
  } else if (name == "userdata") {
    SetUserData(value);
  } else if (name == "enabled") {
    SetEnabled(ParseBool(value));
  } else if (name == "mouse") {
    SetMouseEnabled(ParseBool(value));
  } else if (name == "visible") {
    SetVisible(ParseBool(value));
  } else if (name == "float") {
    SetFloat(ParseBool(value));
  }
}

void CControlUI::ApplyAttributeList(std::string_view list) {
  std::size_t p = 0;
  auto skipSpace = [&] {
    while (p < list.size() && (list[p] == ' ' || list[p] == '\t' || list[p] == '\n')) ++p;
  };
  while (true) {
    skipSpace();
    if (p >= list.size()) return;
    const std::size_t nameStart = p;
    while (p < list.size() && list[p] != '=' && list[p] != ' ') ++p;
    const std::string_view name = list.substr(nameStart, p - nameStart);
    skipSpace();
    if (p >= list.size() || list[p] != '=') return;
    ++p;
    skipSpace();
    if (p >= list.size() || (list[p] != '"' && list[p] != '\'')) return;
    const char quote = list[p++];
    const std::size_t end = list.find(quote, p);
    if (end == std::string_view::npos) return;
    SetAttribute(name, list.substr(p, end - p));
    p = end + 1;
  }
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT clip;
  if (hDC == nullptr || !IntersectRect(&clip, rcPaint, rcItem_)) return;
  QPainter& painter = hDC->Painter();
  painter.save();
  const Pen pen = hDC->GetPen();
  const LOGFONT font = hDC->GetFont();
  const COLORREF textColor = hDC->GetTextColor();
  hDC->SetClip(clip);
  PaintBkColor(hDC);
  PaintBkImage(hDC);
  PaintStatusImage(hDC);
  PaintText(hDC);
  PaintBorder(hDC);
  hDC->SelectPen(pen);
  hDC->SelectFont(font);
  hDC->SetTextColor(textColor);
  painter.restore();
}

void CControlUI::PaintBkColor(HDC hDC) {
  if (bkColor_ == 0) return;
  if (borderRound_.cx > 0) {
    CRenderEngine::DrawRoundRect(hDC, rcItem_, 0, borderRound_.cx, 0,
                                 CRenderEngine::GetAdjustColor(bkColor_));
  } else if (bkColor2_ != 0) {
    CRenderEngine::DrawGradient(hDC, rcItem_, CRenderEngine::GetAdjustColor(bkColor_),
                                CRenderEngine::GetAdjustColor(bkColor2_), true);
  } else {
    CRenderEngine::DrawColor(hDC, rcItem_, CRenderEngine::GetAdjustColor(bkColor_));
  }
}

void CControlUI::PaintBkImage(HDC hDC) {
  if (!bkImage_.empty()) DrawImage(hDC, bkImage_);
}

void CControlUI::PaintStatusImage(HDC) {}
void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) {
  if (borderSize_ <= 0 || borderColor_ == 0) return;
  if (borderRound_.cx > 0) {
    CRenderEngine::DrawRoundRect(hDC, rcItem_, borderSize_, borderRound_.cx,
                                 CRenderEngine::GetAdjustColor(borderColor_), 0);
  } else {
    CRenderEngine::DrawRect(hDC, rcItem_, borderSize_, CRenderEngine::GetAdjustColor(borderColor_));
  }
}

bool CControlUI::DrawImage(HDC hDC, std::string_view image, std::string_view modify) {
  if (image.empty()) return false;
  std::string desc;
  if (!modify.empty()) desc.append(modify).append(" ");
  if (image.find('=') == std::string_view::npos) {
    desc.append("file='").append(image).append("'");
  } else {
    desc.append(image);
  }
  return CRenderEngine::DrawImageString(hDC, manager_, rcItem_, rcItem_, desc);
}

void CControlUI::SetHostedWidget(QWidget* widget) {
  if (!hosted_) hosted_ = std::make_unique<Hosted>();
  if (hosted_->widget == widget) return;
  if (hosted_->widget) delete hosted_->widget.data();
  hosted_->widget = widget;
  if (manager_ != nullptr) {
    if (widget != nullptr) {
      manager_->RegisterHostedControl(this);
    } else {
      manager_->UnregisterHostedControl(this);
    }
  }
  SyncHostedWidget();
}

QWidget* CControlUI::GetHostedWidget() const {
  return hosted_ ? hosted_->widget.data() : nullptr;
}

bool CControlUI::IsVisibleInTree() const {
  for (const CControlUI* c = this; c != nullptr; c = c->parent_) {
    if (!c->IsVisible()) return false;
  }
  return true;
}

void CControlUI::SyncHostedWidget() {
  QWidget* widget = GetHostedWidget();
  if (widget == nullptr) return;
  QWidget* paint = manager_ != nullptr ? manager_->GetPaintWidget() : nullptr;
  if (paint != nullptr && widget->parentWidget() != paint) widget->setParent(paint);
  const RECT rc = GetHostedRect();
  widget->setGeometry(ToQRect(rc));
  const bool show = paint != nullptr && IsVisibleInTree() && !IsRectEmpty(rc);
  if (widget->isVisibleTo(paint) != show) widget->setVisible(show);
}

}  // namespace DuiLib
