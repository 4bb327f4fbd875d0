#include "framework/window_wnd.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QToolTip>
#include <QWidget>
#include <QWindow>
#include <cstdio>

#include "framework/dialog_builder.h"
#include "framework/file_dialog.h"
#include "framework/message_event.h"
#include "framework/qt_bridge.h"
#include "platform/thread_hand_over.h"

namespace DuiLib {

namespace {

WPARAM VirtualKeyOf(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<WPARAM>(key - Qt::Key_F1);
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    return static_cast<WPARAM>(key);
  }
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_Tab:
      return VK_TAB;
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Comma:
      return VK_OEM_COMMA;
    case Qt::Key_Period:
      return VK_OEM_PERIOD;
    case Qt::Key_BracketLeft:
      return VK_OEM_4;
    case Qt::Key_BracketRight:
      return VK_OEM_6;
    default:
      return 0;
  }
}

POINT ToPoint(const QPointF& p) {
  return POINT{static_cast<int>(p.x()), static_cast<int>(p.y())};
}

WPARAM KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  WPARAM state = 0;
  if (buttons & Qt::LeftButton) state |= MK_LBUTTON;
  if (mods & Qt::ShiftModifier) state |= MK_SHIFT;
  if (mods & Qt::ControlModifier) state |= MK_CONTROL;
  if (mods & Qt::AltModifier) state |= MK_ALT;
  return state;
}

LPARAM KeyModifiersOf(Qt::KeyboardModifiers mods) {
  return static_cast<LPARAM>(KeyStateOf(Qt::NoButton, mods));
}

bool IsTextField(const QWidget* widget) {
  if (qobject_cast<const QLineEdit*>(widget) != nullptr ||
      qobject_cast<const QTextEdit*>(widget) != nullptr ||
      qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
      qobject_cast<const QAbstractSpinBox*>(widget) != nullptr) {
    return true;
  }
  const auto* combo = qobject_cast<const QComboBox*>(widget);
  return combo != nullptr && combo->isEditable();
}

}  // namespace

// The Qt widget of a window: paints the control tree and turns Qt input into control events and
// window messages.
class CPaintWidget : public QWidget {
 public:
  CPaintWidget(CWindowWnd* window, QWidget* parent, Qt::WindowFlags flags)
      : QWidget(parent, flags), window_(window) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setFocusPolicy(Qt::StrongFocus);
  }
  void Detach() { window_ = nullptr; }

  // A key headed for `target`, a widget inside this window that has the focus: true when the
  // window's filters kept it.
  bool OfferHostedKey(const QKeyEvent* e, const QWidget* target) {
    const WPARAM vk = VirtualKeyOf(e->key());
    if (vk == 0 || window_ == nullptr || window_->IsClosing()) return false;
    const LPARAM flags = KeyModifiersOf(e->modifiers()) | (IsTextField(target) ? KEY_TEXTFIELD : 0);
    return window_->FilterMessage(WM_KEYDOWN, vk, flags);
  }

 protected:
  CPaintManagerUI* Manager() const {
    return window_ != nullptr ? window_->GetPaintManager() : nullptr;
  }

  bool event(QEvent* e) override {
    if (e->type() == CMessageEvent::EventType()) {
      auto* m = static_cast<CMessageEvent*>(e);
      LRESULT result = 0;
      if (window_ != nullptr && !window_->IsClosing()) {
        result = window_->RouteMessage(m->message, m->wParam, m->lParam);
      }
      if (m->pending) m->pending->Complete(result);
      return true;
    }
    if (e->type() == QEvent::ToolTip) {
      auto* help = static_cast<QHelpEvent*>(e);
      CPaintManagerUI* pm = Manager();
      const CDuiString tip = pm != nullptr ? pm->GetToolTipAt(ToPoint(help->pos())) : CDuiString();
      if (tip.empty()) {
        QToolTip::hideText();
      } else {
        QToolTip::showText(help->globalPos(), ToQ(tip), this);
      }
      return true;
    }
    return QWidget::event(e);
  }

  void paintEvent(QPaintEvent* e) override {
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr) return;
    pm->Paint(this, FromQRect(e->rect()));
  }

  void resizeEvent(QResizeEvent*) override {
    if (CPaintManagerUI* pm = Manager()) {
      pm->NeedUpdate();
      pm->UpdateLayout(true);
    }
  }

  void showEvent(QShowEvent*) override {
    if (CPaintManagerUI* pm = Manager()) pm->OnWindowShown();
  }

  void hideEvent(QHideEvent*) override {
    if (CPaintManagerUI* pm = Manager()) pm->OnWindowHidden();
  }

  void mousePressEvent(QMouseEvent* e) override {
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr) return;
    const POINT pt = ToPoint(e->position());
    if (e->button() == Qt::LeftButton && windowHandle() != nullptr) {
      if (const int edges = pm->SizeBoxEdgesAt(pt); edges != 0) {
        windowHandle()->startSystemResize(static_cast<Qt::Edges>(edges));
        return;
      }
      if (pm->IsCaptionPoint(pt)) {
        windowHandle()->startSystemMove();
        return;
      }
    }
    pm->OnMouseDown(pt, KeyStateOf(e->buttons(), e->modifiers()), e->button() == Qt::RightButton);
  }

  void mouseDoubleClickEvent(QMouseEvent* e) override {
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr || window_ == nullptr || e->button() != Qt::LeftButton) return;
    const POINT pt = ToPoint(e->position());
    if (pm->IsCaptionPoint(pt)) {
      if (isMaximized())
        showNormal();
      else
        showMaximized();
      return;
    }
    pm->OnMouseDoubleClick(pt);
    if (window_ != nullptr)
      window_->RouteMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  }

  void mouseReleaseEvent(QMouseEvent* e) override {
    if (CPaintManagerUI* pm = Manager()) {
      pm->OnMouseUp(ToPoint(e->position()), KeyStateOf(e->buttons(), e->modifiers()));
    }
  }

  void mouseMoveEvent(QMouseEvent* e) override {
    CPaintManagerUI* pm = Manager();
    if (pm == nullptr) return;
    const POINT pt = ToPoint(e->position());
    const int edges = pm->SizeBoxEdgesAt(pt);
    constexpr int kTopLeft = Qt::LeftEdge | Qt::TopEdge;
    constexpr int kBottomRight = Qt::RightEdge | Qt::BottomEdge;
    constexpr int kTopRight = Qt::RightEdge | Qt::TopEdge;
    constexpr int kBottomLeft = Qt::LeftEdge | Qt::BottomEdge;
    if (edges == kTopLeft || edges == kBottomRight) {
      setCursor(Qt::SizeFDiagCursor);
    } else if (edges == kTopRight || edges == kBottomLeft) {
      setCursor(Qt::SizeBDiagCursor);
    } else if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
      setCursor(Qt::SizeHorCursor);
    } else if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
      setCursor(Qt::SizeVerCursor);
    } else {
      unsetCursor();
    }
    pm->OnMouseMove(pt, KeyStateOf(e->buttons(), e->modifiers()));
  }

  void leaveEvent(QEvent*) override {
    if (CPaintManagerUI* pm = Manager()) pm->OnMouseLeave();
  }

  void wheelEvent(QWheelEvent* e) override {
    const int delta = e->angleDelta().y();
    if (window_ == nullptr || delta == 0) return;
    const POINT pt = ToPoint(e->position());
    window_->RouteMessage(
        WM_MOUSEWHEEL,
        MAKEWPARAM(static_cast<int>(KeyStateOf(e->buttons(), e->modifiers())), delta),
        MAKELPARAM(pt.x, pt.y));
  }

  void keyPressEvent(QKeyEvent* e) override {
    const WPARAM vk = VirtualKeyOf(e->key());
    // A key coming up from the hosted widget that has the focus was offered to the window by the
    // key filter already, and is that widget's.
    if (vk == 0 || window_ == nullptr || HostedWidgetHasFocus()) {
      QWidget::keyPressEvent(e);
      return;
    }
    window_->RouteMessage(WM_KEYDOWN, vk, KeyModifiersOf(e->modifiers()));
  }

  bool HostedWidgetHasFocus() const {
    const QWidget* focus = focusWidget();
    return focus != nullptr && focus != this && isAncestorOf(focus);
  }

  void closeEvent(QCloseEvent* e) override {
    // The system's close request becomes WM_CLOSE; the window ends itself from there.
    e->ignore();
    if (window_ != nullptr && !window_->IsClosing()) window_->RouteMessage(WM_CLOSE, 0, 0);
  }

  void dragEnterEvent(QDragEnterEvent* e) override {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
  }

  void dropEvent(QDropEvent* e) override {
    DropFiles drop;
    for (const QUrl& url : e->mimeData()->urls()) {
      if (url.isLocalFile()) drop.paths.push_back(url.toLocalFile().toStdString());
    }
    if (drop.paths.empty() || window_ == nullptr) return;
    e->acceptProposedAction();
    window_->RouteMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(&drop), 0);
  }

 private:
  CWindowWnd* window_;
};

// Offers every key headed for a widget hosted inside a window (the map's web view, a text field)
// to that window's filters before the widget sees it. One per application.
class CHostedKeyFilter : public QObject {
 public:
  using QObject::QObject;

  static void EnsureInstalled() {
    static QPointer<CHostedKeyFilter> installed;
    if (installed || QCoreApplication::instance() == nullptr) return;
    installed = new CHostedKeyFilter(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installed);
  }

 protected:
  // Every object's events pass here, the web engine's own among them, and that library is built
  // without type information: the undefined-behaviour sanitizer's check of the dynamic type would
  // call a sound member call on one of its widgets a fault, so that one check is off here.
  __attribute__((no_sanitize("vptr"))) bool eventFilter(QObject* watched, QEvent* e) override {
    // Being the first to see every event, this is where a window message queued on another
    // thread (CMessageEvent) is taken over before anything reads it.
    korvane::TakeOver(e);
    if (e->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* target = static_cast<QWidget*>(watched);
    auto* top = dynamic_cast<CPaintWidget*>(target->window());
    // The window's own widget routes its keys itself. A press travelling up from the focus widget
    // to its parents, or handed back by the web view, is not offered twice: only the press at the
    // focus widget is.
    if (top == nullptr || target == top || target != top->focusWidget()) return false;
    return top->OfferHostedKey(static_cast<QKeyEvent*>(e), target);
  }
};

struct CWindowWnd::Impl {
  QPointer<CPaintWidget> widget;
  QEventLoop* modalLoop = nullptr;
  UINT* modalResult = nullptr;
  UINT closeCode = 0;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
};

int GetSystemMetrics(int index) {
  QScreen* screen = QGuiApplication::primaryScreen();
  switch (index) {
    case SM_CXSCREEN:
      return screen != nullptr ? screen->geometry().width() : 0;
    case SM_CYSCREEN:
      return screen != nullptr ? screen->geometry().height() : 0;
    default:
      return 0;
  }
}

std::vector<RECT> GetScreenWorkAreas() {
  std::vector<RECT> areas;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) areas.push_back(FromQRect(primary->availableGeometry()));
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) areas.push_back(FromQRect(screen->availableGeometry()));
  }
  return areas;
}

CWindowWnd::CWindowWnd() : impl_(std::make_unique<Impl>()) {}

CWindowWnd::~CWindowWnd() {
  if (hwnd_ != 0) CWindowMessageDispatcher::Instance().Unregister(hwnd_);
  if (impl_->widget) {
    impl_->widget->Detach();
    delete impl_->widget.data();
  }
}

QWidget* CWindowWnd::GetWidget() const {
  return impl_->widget.data();
}

CWindowWnd* CWindowWnd::FromHandle(WindowHandle hwnd) {
  return hwnd == 0 ? nullptr : CWindowMessageDispatcher::Instance().Find(hwnd);
}

WindowHandle CWindowWnd::Create(WindowHandle hwndParent, const char* pstrName, DWORD dwStyle,
                                DWORD dwExStyle, int x, int y, int cx, int cy, HMENU) {
  if (impl_->widget) return hwnd_;
  CWindowMessageDispatcher::EnsureInstalled();
  CHostedKeyFilter::EnsureInstalled();
  CWindowWnd* parent = FromHandle(hwndParent);
  QWidget* parentWidget = parent != nullptr ? parent->GetWidget() : nullptr;
  const Qt::WindowFlags flags = parentWidget != nullptr ? Qt::Dialog : Qt::Window;
  auto* widget = new CPaintWidget(this, parentWidget, flags);
  impl_->widget = widget;
  widget->setWindowTitle(QString::fromUtf8(pstrName != nullptr ? pstrName : ""));
  widget->setAcceptDrops((dwExStyle & WS_EX_ACCEPTFILES) != 0);
  if (parentWidget != nullptr) widget->setWindowModality(Qt::ApplicationModal);
  impl_->x = x;
  impl_->y = y;
  impl_->cx = cx;
  impl_->cy = cy;
  hwnd_ = CWindowMessageDispatcher::Instance().Register(this, widget);
  closing_ = false;
  if (!OnCreateWindow()) {
    CWindowMessageDispatcher::Instance().Unregister(hwnd_);
    hwnd_ = 0;
    if (CPaintManagerUI* pm = GetPaintManager()) pm->DestroyRoot();
    widget->Detach();
    delete widget;
    return 0;
  }
  if (dwStyle & WS_VISIBLE) widget->show();
  return hwnd_;
}

void CWindowWnd::ApplyInitialGeometry() {
  QWidget* w = GetWidget();
  if (w == nullptr) return;
  CPaintManagerUI* pm = GetPaintManager();
  if (pm != nullptr && pm->HasCaption()) w->setWindowFlag(Qt::FramelessWindowHint, true);
  if (pm != nullptr && (pm->GetMinInfo().cx > 0 || pm->GetMinInfo().cy > 0)) {
    w->setMinimumSize(pm->GetMinInfo().cx, pm->GetMinInfo().cy);
  }
  const bool sized =
      impl_->cx != CW_USEDEFAULT && impl_->cy != CW_USEDEFAULT && impl_->cx > 0 && impl_->cy > 0;
  if (sized) {
    w->resize(impl_->cx, impl_->cy);
  } else if (pm != nullptr) {
    w->resize(pm->GetInitSize().cx, pm->GetInitSize().cy);
  }
  if (impl_->x != CW_USEDEFAULT && impl_->y != CW_USEDEFAULT && (impl_->x != 0 || impl_->y != 0)) {
    w->move(impl_->x, impl_->y);
  }
  if (pm != nullptr) pm->UpdateLayout(true);
}

UINT CWindowWnd::ShowModal() {
  QWidget* w = GetWidget();
  if (w == nullptr || closing_) return static_cast<UINT>(-1);
  UINT result = 0;
  QEventLoop loop;
  impl_->modalLoop = &loop;
  impl_->modalResult = &result;
  if (!w->isVisible()) w->show();
  loop.exec();
  // The window may have deleted itself in OnFinalMessage: touch nothing of it here.
  return result;
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
  QWidget* w = GetWidget();
  if (w == nullptr) return;
  w->setVisible(bShow);
  if (bShow && bTakeFocus) {
    w->raise();
    w->activateWindow();
  }
}

void CWindowWnd::ShowWindow(int nCmdShow) {
  QWidget* w = GetWidget();
  if (w == nullptr) return;
  switch (nCmdShow) {
    case SW_HIDE:
      w->hide();
      break;
    case SW_SHOWMAXIMIZED:
      w->showMaximized();
      break;
    case SW_SHOWMINIMIZED:
      w->showMinimized();
      break;
    case SW_SHOW:
      w->show();
      break;
    default:
      w->showNormal();
      break;
  }
}

void CWindowWnd::Close(UINT nRet) {
  if (GetWidget() == nullptr || closing_) return;
  // Like posting WM_CLOSE: the caller (often a click handler inside the tree) returns first.
  QPointer<CPaintWidget> widget = impl_->widget;
  QMetaObject::invokeMethod(
      widget.data(),
      [this, widget, nRet] {
        if (widget && !closing_) RouteMessage(WM_CLOSE, nRet, 0);
      },
      Qt::QueuedConnection);
}

void CWindowWnd::CenterWindow() {
  QWidget* w = GetWidget();
  if (w == nullptr) return;
  QRect area;
  if (QWidget* parent = w->parentWidget(); parent != nullptr && parent->isVisible()) {
    area = parent->window()->frameGeometry();
  } else if (QScreen* screen =
                 w->screen() != nullptr ? w->screen() : QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isEmpty()) return;
  QRect frame = w->frameGeometry();
  frame.moveCenter(area.center());
  w->move(frame.topLeft());
}

void CWindowWnd::SetIcon(UINT) {
  QWidget* w = GetWidget();
  if (w == nullptr) return;
  const QString path = ToQ(CPaintManagerUI::GetResourcePath()) + "logo.svg";
  if (QFileInfo::exists(path)) w->setWindowIcon(QIcon(path));
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  QWidget* w = GetWidget();
  if (w == nullptr) return;
  w->resize(cx < 0 ? w->width() : cx, cy < 0 ? w->height() : cy);
}

void CWindowWnd::SetWindowText(std::string_view text) {
  if (QWidget* w = GetWidget()) w->setWindowTitle(ToQ(text));
}

bool CWindowWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
  QWidget* w = GetWidget();
  if (w == nullptr || placement == nullptr) return false;
  placement->showCmd = w->isMaximized()   ? SW_SHOWMAXIMIZED
                       : w->isMinimized() ? SW_SHOWMINIMIZED
                                          : SW_SHOWNORMAL;
  const QRect normal = w->isMaximized() || w->isMinimized() ? w->normalGeometry() : w->geometry();
  placement->rcNormalPosition = FromQRect(normal);
  return true;
}

bool CWindowWnd::SetWindowPlacement(const WINDOWPLACEMENT& placement) {
  QWidget* w = GetWidget();
  if (w == nullptr) return false;
  if (!w->isVisible()) {
    if (!IsRectEmpty(placement.rcNormalPosition)) {
      w->setGeometry(ToQRect(placement.rcNormalPosition));
    }
    w->setWindowState(placement.showCmd == SW_SHOWMAXIMIZED ? Qt::WindowMaximized
                                                            : Qt::WindowNoState);
    return true;
  }
  if (w->isMaximized() || w->isFullScreen()) w->showNormal();
  if (!IsRectEmpty(placement.rcNormalPosition)) w->setGeometry(ToQRect(placement.rcNormalPosition));
  ShowWindow(placement.showCmd);
  return true;
}

void CWindowWnd::SetTopMost(bool topmost) {
  QWidget* w = GetWidget();
  if (w == nullptr || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  const bool visible = w->isVisible();
  const QRect geometry = w->geometry();
  w->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  w->setGeometry(geometry);
  if (visible) w->show();
}

void CWindowWnd::MoveWindow(int x, int y, int cx, int cy) {
  if (QWidget* w = GetWidget()) w->setGeometry(x, y, cx, cy);
}

bool CWindowWnd::IsMaximized() const {
  QWidget* w = GetWidget();
  return w != nullptr && w->isMaximized();
}

RECT CWindowWnd::GetWindowRect() const {
  QWidget* w = GetWidget();
  return w != nullptr ? FromQRect(w->geometry()) : RECT{};
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (GetWidget() == nullptr) return 0;
  return RouteMessage(uMsg, wParam, lParam);
}

bool CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return CWindowMessageDispatcher::Instance().Post(hwnd_, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::RouteMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const LRESULT filtered = PreFilterMessage(uMsg, wParam, lParam, handled);
  if (handled) return filtered;
  return HandleMessage(uMsg, wParam, lParam);
}

bool CWindowWnd::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  PreFilterMessage(uMsg, wParam, lParam, handled);
  return handled;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM) {
  if (uMsg == WM_CLOSE) {
    impl_->closeCode = static_cast<UINT>(wParam);
    DestroyWindow();
  }
  return 0;
}

void CWindowWnd::OnFinalMessage(WindowHandle) {}

void CWindowWnd::DestroyWindow() {
  if (closing_ || !impl_->widget) return;
  closing_ = true;
  const WindowHandle hwnd = hwnd_;
  // From here a worker's send returns 0 at once, so OnDestroy may join workers safely.
  CWindowMessageDispatcher::Instance().Unregister(hwnd);
  HandleMessage(WM_DESTROY, 0, 0);
  CPaintWidget* widget = impl_->widget.data();
  widget->hide();
  if (CPaintManagerUI* pm = GetPaintManager()) pm->DestroyRoot();
  widget->Detach();
  widget->deleteLater();
  impl_->widget = nullptr;
  hwnd_ = 0;
  if (impl_->modalLoop != nullptr) {
    *impl_->modalResult = impl_->closeCode;
    impl_->modalLoop->exit(0);
    impl_->modalLoop = nullptr;
    impl_->modalResult = nullptr;
  }
  OnFinalMessage(hwnd);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  if (msg.pSender == nullptr) return;
  const CDuiString name = msg.pSender->GetName();
  QWidget* w = GetWidget();
  if (name == "closebtn") {
    Close(IDCANCEL);
  } else if (name == "minbtn" && w != nullptr) {
    w->showMinimized();
  } else if (name == "maxbtn" && w != nullptr) {
    if (w->isMaximized()) {
      w->showNormal();
    } else {
      w->showMaximized();
    }
  } else if (name == "restorebtn" && w != nullptr) {
    w->showNormal();
  }
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool&) {
  if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    return ResponseDefaultKeyEvent(wParam);
  }
  return 0;
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
  if (wParam == VK_ESCAPE) {
    Close(IDCANCEL);
    return 1;
  }
  return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_DESTROY) {
    OnDestroy();
    return 0;
  }
  LRESULT result = 0;
  if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

bool WindowImplBase::OnCreateWindow() {
  m_PaintManager.Init(this);
  m_PaintManager.AddPreMessageFilter(this);
  CDialogBuilder builder;
  const CDuiString file = GetSkinFolder() + GetSkinFile();
  skinFailed_ = false;
  CControlUI* root = builder.Create(file, {}, this, &m_PaintManager, nullptr);
  if (root == nullptr) ReportSkinError(builder.GetLastError());
  if (skinFailed_) {
    delete root;
    return false;
  }
  m_PaintManager.AttachDialog(root);
  m_PaintManager.AddNotifier(this);
  ApplyInitialGeometry();
  InitWindow();
  return true;
}

void WindowImplBase::ReportSkinError(const std::string& reason) {
  skinFailed_ = true;
  std::fprintf(stderr, "KORVANE: cannot build window \"%s\": %s\n", GetWindowClassName(),
               reason.c_str());
}

LRESULT WindowImplBase::PreFilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
  return m_PaintManager.PreMessageHandler(uMsg, wParam, lParam, bHandled);
}

}  // namespace DuiLib
