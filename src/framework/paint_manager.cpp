#include "framework/paint_manager.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "framework/qt_bridge.h"
#include "framework/window_wnd.h"

namespace DuiLib {

namespace {

CDuiString& InstancePath() {
  static CDuiString path;
  return path;
}
CDuiString& ResourcePath() {
  static CDuiString path;
  return path;
}

CControlUI* FindByName(CControlUI* control, void* data) {
  return control->GetName() == *static_cast<std::string_view*>(data) ? control : nullptr;
}

CControlUI* HitTest(CControlUI* control, void*) {
  return control;
}

template <class T>
bool AddUnique(std::vector<T*>& list, T* item) {
  if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

template <class T>
bool RemoveItem(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace

struct CPaintManagerUI::Timer {
  CControlUI* control;
  UINT id;
  std::unique_ptr<QTimer> timer;
};

CPaintManagerUI::CPaintManagerUI() = default;

CPaintManagerUI::~CPaintManagerUI() {
  timers_.clear();
  DestroyRoot();
}

void CPaintManagerUI::SetInstance(std::string_view instancePath) {
  if (!instancePath.empty()) {
    InstancePath() = instancePath;
  } else if (QCoreApplication::instance() != nullptr) {
    InstancePath() = QCoreApplication::applicationDirPath().toStdString();
  }
  if (!InstancePath().empty() && InstancePath().back() != '/') InstancePath() += '/';
}

CDuiString CPaintManagerUI::GetInstancePath() {
  return InstancePath();
}

void CPaintManagerUI::SetResourcePath(std::string_view path) {
  ResourcePath() = path;
  if (!ResourcePath().empty() && ResourcePath().back() != '/') ResourcePath() += '/';
}

CDuiString CPaintManagerUI::GetResourcePath() {
  return ResourcePath();
}

void CPaintManagerUI::Init(CWindowWnd* window) {
  window_ = window;
}

QWidget* CPaintManagerUI::GetPaintWidget() const {
  return window_ != nullptr ? window_->GetWidget() : nullptr;
}

WindowHandle CPaintManagerUI::GetPaintWindow() const {
  return window_ != nullptr ? window_->GetHWND() : 0;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (root == nullptr) return false;
  if (root_ != nullptr && root_ != root) DestroyRoot();
  root_ = root;
  root_->SetManager(this, nullptr, true);
  root_->Init();
  updateNeeded_ = true;
  Invalidate();
  return true;
}

void CPaintManagerUI::DestroyRoot() {
  CControlUI* root = root_;
  if (root == nullptr) return;
  focus_ = hover_ = capture_ = nullptr;
  delete root;
  root_ = nullptr;
  hostedControls_.clear();
}

CControlUI* CPaintManagerUI::FindControl(std::string_view name) const {
  if (root_ == nullptr || name.empty()) return nullptr;
  return root_->FindControl(&FindByName, &name, UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
  if (root_ == nullptr) return nullptr;
  return root_->FindControl(&HitTest, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, std::string_view name) const {
  if (parent == nullptr || name.empty()) return nullptr;
  return parent->FindControl(&FindByName, &name, UIFIND_ALL);
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  return AddUnique(notifiers_, notifier);
}
bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  return RemoveItem(notifiers_, notifier);
}
bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) {
  return AddUnique(preFilters_, filter);
}
bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) {
  return RemoveItem(preFilters_, filter);
}

LRESULT CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                           bool& bHandled) {
  const std::vector<IMessageFilterUI*> filters = preFilters_;
  for (IMessageFilterUI* filter : filters) {
    bHandled = false;
    const LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, bHandled);
    if (bHandled) return result;
  }
  bHandled = false;
  return 0;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  lRes = 0;
  switch (uMsg) {
    case WM_KEYDOWN: {
      const WPARAM modifiers = static_cast<WPARAM>(lParam) & (MK_SHIFT | MK_CONTROL | MK_ALT);
      if (focus_ != nullptr) SendEvent(focus_, UIEVENT_KEYDOWN, POINT{}, modifiers, wParam);
      return false;
    }
    case WM_MOUSEWHEEL:
      OnMouseWheel(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                   GET_WHEEL_DELTA_WPARAM(wParam));
      return true;
    case WM_LBUTTONDBLCLK: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      CControlUI* control = FindControl(pt);
      if (control == nullptr) control = root_;
      if (control == nullptr) return false;
      TNotifyUI msg;
      msg.sType = DUI_MSGTYPE_DBCLICK;
      msg.pSender = control;
      msg.ptMouse = pt;
      msg.wParam = wParam;
      msg.lParam = lParam;
      SendNotify(msg);
      return true;
    }
    default:
      return false;
  }
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
  msg.dwTimestamp = GetTickCount();
  if (msg.pSender != nullptr) msg.pSender->OnNotify(&msg);
  const std::vector<INotifyUI*> notifiers = notifiers_;
  for (INotifyUI* notifier : notifiers) notifier->Notify(msg);
}

void CPaintManagerUI::SendNotify(CControlUI* control, std::string_view type, WPARAM wParam,
                                 LPARAM lParam) {
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = control;
  msg.wParam = wParam;
  msg.lParam = lParam;
  if (QWidget* w = GetPaintWidget()) {
    const QPoint p = w->mapFromGlobal(QCursor::pos());
    msg.ptMouse = POINT{p.x(), p.y()};
  }
  SendNotify(msg);
}

void CPaintManagerUI::AddFont(int id, std::string_view face, int size, bool bold, bool underline,
                              bool italic, bool isDefault) {
  LOGFONT f;
  if (!face.empty()) f.lfFaceName = face;
  f.lfHeight = size > 0 ? size : 12;
  f.lfWeight = bold ? 700 : 400;
  f.lfUnderline = underline;
  f.lfItalic = italic;
  fonts_[id] = f;
  if (isDefault) defaultFont_ = id;
}

LOGFONT CPaintManagerUI::GetFont(int id) const {
  auto it = fonts_.find(id);
  if (it == fonts_.end()) it = fonts_.find(defaultFont_);
  if (it != fonts_.end()) return it->second;
  LOGFONT f;
  f.lfHeight = 13;
  return f;
}

QFont CPaintManagerUI::GetQFont(int id) const {
  return ToQFont(GetFont(id));
}

void CPaintManagerUI::AddDefaultAttributeList(std::string_view controlName, std::string_view list) {
  defaultAttributes_[std::string(controlName)] = std::string(list);
}

CDuiString CPaintManagerUI::GetDefaultAttributeList(std::string_view controlName) const {
  auto it = defaultAttributes_.find(controlName);
  return it == defaultAttributes_.end() ? CDuiString() : CDuiString(it->second);
}

void CPaintManagerUI::Invalidate(const RECT& rc) {
  if (QWidget* w = GetPaintWidget()) w->update(ToQRect(rc));
}

void CPaintManagerUI::Invalidate() {
  if (QWidget* w = GetPaintWidget()) w->update();
}

RECT CPaintManagerUI::GetClientRect() const {
  QWidget* w = GetPaintWidget();
  if (w == nullptr) return RECT{0, 0, initSize_.cx, initSize_.cy};
  return RECT{0, 0, w->width(), w->height()};
}

void CPaintManagerUI::UpdateLayout(bool force) {
  if (root_ == nullptr || (!updateNeeded_ && !force)) return;
  updateNeeded_ = false;
  root_->SetPos(GetClientRect(), false);
}

void CPaintManagerUI::Paint(QWidget* target, const RECT& rcPaint) {
  UpdateLayout();
  if (root_ == nullptr || target == nullptr) return;
  QPainter painter(target);
  CDrawContext context(painter, this);
  root_->DoPaint(&context, rcPaint);
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == focus_) return;
  CControlUI* old = focus_;
  focus_ = control;
  if (old != nullptr) SendEvent(old, UIEVENT_KILLFOCUS, POINT{});
  if (focus_ != nullptr) SendEvent(focus_, UIEVENT_SETFOCUS, POINT{});
}

void CPaintManagerUI::ReapObject(CControlUI* control) {
  if (control == nullptr) return;
  if (focus_ == control) focus_ = nullptr;
  if (hover_ == control) hover_ = nullptr;
  if (capture_ == control) capture_ = nullptr;
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const auto& t) { return t->control == control; }),
                timers_.end());
  UnregisterHostedControl(control);
}

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT id, UINT elapse) {
  if (control == nullptr) return false;
  KillTimer(control, id);
  auto t = std::make_unique<Timer>();
  t->control = control;
  t->id = id;
  t->timer = std::make_unique<QTimer>();
  t->timer->setInterval(static_cast<int>(elapse));
  QObject::connect(t->timer.get(), &QTimer::timeout,
                   [this, control, id] { SendEvent(control, UIEVENT_TIMER, POINT{}, 0, id); });
  t->timer->start();
  timers_.push_back(std::move(t));
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const auto& t) { return t->control == control && t->id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void CPaintManagerUI::SendEvent(CControlUI* control, int type, POINT pt, WPARAM keyState,
                                WPARAM wParam) {
  if (control == nullptr) return;
  TEventUI event;
  event.Type = type;
  event.pSender = control;
  event.dwTimestamp = GetTickCount();
  event.ptMouse = pt;
  event.wKeyState = keyState;
  event.wParam = wParam;
  if (type == UIEVENT_KEYDOWN) event.chKey = wParam;
  control->Event(event);
}

void CPaintManagerUI::SetHover(CControlUI* control, POINT pt) {
  if (control == hover_) return;
  CControlUI* old = hover_;
  hover_ = control;
  if (old != nullptr) SendEvent(old, UIEVENT_MOUSELEAVE, pt);
  if (hover_ != nullptr) SendEvent(hover_, UIEVENT_MOUSEENTER, pt);
}

void CPaintManagerUI::OnMouseDown(POINT pt, WPARAM keyState, bool right) {
  UpdateLayout();
  CControlUI* control = FindControl(pt);
  if (control == nullptr) return;
  if (right) {
    SendEvent(control, UIEVENT_RBUTTONDOWN, pt, keyState);
    return;
  }
  if (control->IsEnabled()) SetFocus(control);
  // Focus handlers may delete controls; look the control up again.
  control = FindControl(pt);
  if (control == nullptr) return;
  capture_ = control;
  SendEvent(control, UIEVENT_BUTTONDOWN, pt, keyState);
}

void CPaintManagerUI::OnMouseUp(POINT pt, WPARAM keyState) {
  CControlUI* control = capture_;
  capture_ = nullptr;
  if (control != nullptr) SendEvent(control, UIEVENT_BUTTONUP, pt, keyState);
}

void CPaintManagerUI::OnMouseDoubleClick(POINT pt) {
  CControlUI* control = FindControl(pt);
  if (control == nullptr) return;
  SetCapture(control);
  SendEvent(control, UIEVENT_DBLCLICK, pt, MK_LBUTTON);
}

void CPaintManagerUI::OnMouseMove(POINT pt, WPARAM keyState) {
  if (capture_ != nullptr) {
    SendEvent(capture_, UIEVENT_MOUSEMOVE, pt, keyState);
    return;
  }
  CControlUI* control = FindControl(pt);
  SetHover(control, pt);
  if (control != nullptr) SendEvent(control, UIEVENT_MOUSEMOVE, pt, keyState);
}

void CPaintManagerUI::OnMouseLeave() {
  if (capture_ == nullptr) SetHover(nullptr, POINT{});
}

void CPaintManagerUI::OnMouseWheel(POINT pt, int delta) {
  CControlUI* control = FindControl(pt);
  if (control != nullptr) SendEvent(control, UIEVENT_SCROLLWHEEL, pt, 0, delta > 0 ? 1 : 0);
}

CDuiString CPaintManagerUI::GetToolTipAt(POINT pt) const {
  for (CControlUI* c = FindControl(pt); c != nullptr; c = c->GetParent()) {
    if (CDuiString tip = c->GetToolTipAt(pt); !tip.empty()) return tip;
  }
  return {};
}

bool CPaintManagerUI::IsCaptionPoint(POINT pt) const {
  if (!hasCaption_) return false;
  const RECT client = GetClientRect();
  if (pt.x < caption_.left || pt.x >= client.right - caption_.right || pt.y < caption_.top ||
      pt.y >= caption_.bottom) {
    return false;
  }
  CControlUI* control = FindControl(pt);
  return control == nullptr || control->GetControlFlags() == 0;
}

int CPaintManagerUI::SizeBoxEdgesAt(POINT pt) const {
  QWidget* w = GetPaintWidget();
  if (w == nullptr || w->isMaximized() || w->isFullScreen() || !hasCaption_) return 0;
  const RECT client = GetClientRect();
  int edges = 0;
  if (sizeBox_.left > 0 && pt.x < sizeBox_.left) edges |= Qt::LeftEdge;
  if (sizeBox_.right > 0 && pt.x >= client.right - sizeBox_.right) edges |= Qt::RightEdge;
  if (sizeBox_.top > 0 && pt.y < sizeBox_.top) edges |= Qt::TopEdge;
  if (sizeBox_.bottom > 0 && pt.y >= client.bottom - sizeBox_.bottom) edges |= Qt::BottomEdge;
  return edges;
}

void CPaintManagerUI::RegisterHostedControl(CControlUI* control) {
  // A control that joins a window already on screen gets its "shown" call at once.
  if (AddUnique(hostedControls_, control) && shown_) control->OnWindowShown();
}

void CPaintManagerUI::UnregisterHostedControl(CControlUI* control) {
  RemoveItem(hostedControls_, control);
}

void CPaintManagerUI::OnWindowShown() {
  UpdateLayout();
  const bool first = !shown_;
  shown_ = true;
  const std::vector<CControlUI*> hosted = hostedControls_;
  for (CControlUI* c : hosted) c->SyncHostedWidget();
  if (first) {
    for (CControlUI* c : hosted) c->OnWindowShown();
  }
}

void CPaintManagerUI::OnWindowHidden() {
  const std::vector<CControlUI*> hosted = hostedControls_;
  for (CControlUI* c : hosted) c->SyncHostedWidget();
}

const CPaintManagerUI::ImageEntry* CPaintManagerUI::GetImage(std::string_view file) {
  if (file.empty()) return nullptr;
  auto it = images_.find(file);
  if (it != images_.end()) return it->second.get();
  QString path = ToQ(file);
  if (!QDir::isAbsolutePath(path)) path = ToQ(GetResourcePath()) + path;
  auto entry = LoadImageEntry(path);
  const ImageEntry* result = entry.get();
  images_.emplace(std::string(file), std::move(entry));
  return result;
}

}  // namespace DuiLib
