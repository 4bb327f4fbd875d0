// CWindowWnd: a top-level window (a frameless Qt widget when the skin draws its own caption)
// that receives window messages through HandleMessage; and WindowImplBase, the window built from
// a skin file with the hooks the program's windows override.
//
// Message path: every message delivered to a window (keys, a double click, dropped files, the
// messages posted or sent with korvane::PostWindowMessage/SendWindowMessage, WM_CLOSE,
// WM_DESTROY) first goes through the paint manager's pre-message filters (MessageHandler of each
// IMessageFilterUI), then, unless a filter set bHandled, to HandleMessage.
//
// Keys: a key pressed anywhere in the window, on its own controls or in a widget a control hosts
// (the map's web view, a text field), is WM_KEYDOWN with the virtual key in wParam and, in lParam,
// the modifiers held (MK_SHIFT, MK_CONTROL, MK_ALT) and KEY_TEXTFIELD when the key is headed for a
// text field. The pre-message filters see it first, and a filter that sets bHandled keeps it: it
// goes nowhere else. Otherwise it goes, once, where the input focus is: to the focused control
// (HandleMessage, then UIEVENT_KEYDOWN) or to the hosted widget that has the focus.
// The mouse wheel is WM_MOUSEWHEEL (wParam: the MK_ key state in the low word, the signed delta,
// 120 a notch, in the high word; lParam: the point in client coordinates), filtered the same way
// before the control under the point gets UIEVENT_SCROLLWHEEL.
#pragma once
#include <memory>
#include <vector>

#include "framework/paint_manager.h"

class QWidget;

namespace DuiLib {

// In the lParam of WM_KEYDOWN, beside the MK_ modifiers: the key is headed for a text field.
constexpr LPARAM KEY_TEXTFIELD = 0x0100;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// Saved position and state of a window, as GetWindowPlacement gives it.
struct WINDOWPLACEMENT {
  int showCmd = SW_SHOWNORMAL;
  RECT rcNormalPosition;
};

// Screen metrics for full-screen placement.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
// The primary screen's size for SM_CXSCREEN/SM_CYSCREEN, 0 for the frame metrics (windows here
// have no system frame); 0 for unknown indexes.
int GetSystemMetrics(int index);
// The work area (the screen less panels and docks) of every screen present, the primary screen
// first; empty when the platform knows no screen.
std::vector<RECT> GetScreenWorkAreas();

class CWindowWnd {
 public:
  CWindowWnd();
  virtual ~CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  // The window's handle for messages; 0 before Create and after destruction.
  WindowHandle GetHWND() const { return hwnd_; }
  operator WindowHandle() const { return hwnd_; }
  QWidget* GetWidget() const;
  // The window with that handle on the UI thread; null when none.
  static CWindowWnd* FromHandle(WindowHandle hwnd);

  // Creates the window (hidden unless WS_VISIBLE). Returns 0 when creation failed (e.g. its skin
  // could not be built). CW_USEDEFAULT or 0 sizes leave the size to the window.
  WindowHandle Create(WindowHandle hwndParent, const char* pstrName, DWORD dwStyle, DWORD dwExStyle,
                      int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                      int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
  // Runs a message loop until the window is closed; returns the code given to Close, or -1
  // (as UINT) when the window does not exist. Modal to the parent window when there is one.
  UINT ShowModal();
  void ShowWindow(bool bShow = true, bool bTakeFocus = true);
  void ShowWindow(int nCmdShow);
  // Ends the window (asynchronously, like posting WM_CLOSE) with the code ShowModal returns.
  void Close(UINT nRet = IDOK);
  void CenterWindow();
  // The program icon (the id is kept for callers written that way; there is one icon).
  void SetIcon(UINT nRes);
  void ResizeClient(int cx = -1, int cy = -1);
  void SetWindowText(std::string_view text);

  // Placement, for full screen and its undo, and for the geometry kept across runs.
  bool GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  // A shown window is shown at once as the placement says; a window not shown yet only takes its
  // normal rectangle and maximised state, which its first show applies.
  bool SetWindowPlacement(const WINDOWPLACEMENT& placement);
  void SetTopMost(bool topmost);
  void MoveWindow(int x, int y, int cx, int cy);
  bool IsMaximized() const;
  RECT GetWindowRect() const;

  // Delivers a message through the filters and HandleMessage on the calling (UI) thread.
  LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Queues a message for the window; false when the window does not exist.
  bool PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual const char* GetWindowClassName() const = 0;
  virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Called after the window is gone; the object may delete itself here.
  virtual void OnFinalMessage(WindowHandle hWnd);

  // Framework internals: message routing and the window's end.
  LRESULT RouteMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Runs only the pre-message filters; true when one of them kept the message.
  bool FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  void DestroyWindow();
  bool IsClosing() const { return closing_; }

 protected:
  // Called inside Create once the widget exists; false aborts creation.
  virtual bool OnCreateWindow() { return true; }
  // Runs the pre-message filters (WindowImplBase: its paint manager's).
  virtual LRESULT PreFilterMessage(UINT, WPARAM, LPARAM, bool& bHandled) {
    bHandled = false;
    return 0;
  }
  // Sizes the new window from Create's arguments or the skin, and makes it frameless when the
  // skin draws its own caption. Called by OnCreateWindow before InitWindow.
  void ApplyInitialGeometry();

 public:
  virtual CPaintManagerUI* GetPaintManager() { return nullptr; }

 private:
  friend class CPaintWidget;
  struct Impl;
  std::unique_ptr<Impl> impl_;
  WindowHandle hwnd_ = 0;
  bool closing_ = false;
};

class WindowImplBase : public CWindowWnd,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  WindowImplBase() = default;
  ~WindowImplBase() override = default;

  virtual CDuiString GetSkinFolder() = 0;
  virtual CDuiString GetSkinFile() = 0;
  virtual void InitWindow() {}
  // The message map: "click" goes to OnClick.
  void Notify(TNotifyUI& msg) override;
  // Handles the skin's "closebtn", "minbtn", "maxbtn" and "restorebtn".
  virtual void OnClick(TNotifyUI& msg);
  // Enter and Escape reach ResponseDefaultKeyEvent.
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
  // Escape closes the window with IDCANCEL; returns non-zero when the key was used.
  virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
  // Called when the window is being destroyed, before its controls are deleted.
  virtual void OnDestroy() {}
  CControlUI* CreateControl(const char*) override { return nullptr; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

  CPaintManagerUI m_PaintManager;

 protected:
  bool OnCreateWindow() override;
  // A part of the skin (e.g. a sub-layout built in CreateControl) could not be built: the reason
  // goes to stderr and Create fails once the build is done.
  void ReportSkinError(const std::string& reason);
  LRESULT PreFilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

 public:
  CPaintManagerUI* GetPaintManager() override { return &m_PaintManager; }

 private:
  bool skinFailed_ = false;
};

}  // namespace DuiLib
