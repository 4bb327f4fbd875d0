// CPaintManagerUI: one per window. Owns the control tree of the window, paints it, turns mouse
// and key input into control events, sends notifications to the sender's OnNotify and to the
// registered notifiers, and runs the pre-message filters. Also holds the process-wide instance
// and resource paths, the window's fonts, default attributes and image cache.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "framework/ui_container.h"

class QWidget;
class QFont;

namespace DuiLib {

class CWindowWnd;

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // Process-wide paths. The instance path is the program folder (ending in "/"); the resource
  // path is where skin files and images are looked up (a "/" is appended when missing).
  static void SetInstance(std::string_view instancePath = {});
  static CDuiString GetInstancePath();
  static void SetResourcePath(std::string_view path);
  static CDuiString GetResourcePath();

  // Binds the manager to the window's paint widget. Calling it again is harmless.
  void Init(CWindowWnd* window);
  CWindowWnd* GetWindow() const { return window_; }
  QWidget* GetPaintWidget() const;
  // The handle messages to this window go to (0 before Init).
  WindowHandle GetPaintWindow() const;

  // Makes root the window's control tree (owned from now on); false for null.
  bool AttachDialog(CControlUI* root);
  CControlUI* GetRoot() const { return root_; }
  // Deletes the control tree (done when the window is destroyed).
  void DestroyRoot();

  // Null when no control of the tree has that name (exact case).
  CControlUI* FindControl(std::string_view name) const;
  // Topmost visible, mouse-enabled control under the point; null when none.
  CControlUI* FindControl(POINT pt) const;
  CControlUI* FindSubControlByName(CControlUI* parent, std::string_view name) const;

  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  bool AddPreMessageFilter(IMessageFilterUI* filter);
  bool RemovePreMessageFilter(IMessageFilterUI* filter);
  // Runs the pre-message filters in order until one sets bHandled.
  LRESULT PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
  // Default handling of window messages (keys to the focused control, the wheel to the control
  // under the point, "dbclick"); true when handled.
  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

  // Delivers a notification now: the sender's OnNotify, then every notifier.
  void SendNotify(TNotifyUI& msg);
  void SendNotify(CControlUI* control, std::string_view type, WPARAM wParam = 0, LPARAM lParam = 0);

  // Fonts by id; id -1 is the default font.
  void AddFont(int id, std::string_view face, int size, bool bold, bool underline, bool italic,
               bool isDefault = false);
  LOGFONT GetFont(int id) const;
  QFont GetQFont(int id) const;

  void AddDefaultAttributeList(std::string_view controlName, std::string_view list);
  CDuiString GetDefaultAttributeList(std::string_view controlName) const;

  // Window properties from the skin's <Window> element.
  SIZE GetInitSize() const { return initSize_; }
  void SetInitSize(int cx, int cy) { initSize_ = {cx, cy}; }
  SIZE GetMinInfo() const { return minInfo_; }
  void SetMinInfo(int cx, int cy) { minInfo_ = {cx, cy}; }
  RECT GetCaptionRect() const { return caption_; }
  void SetCaptionRect(RECT rc) { caption_ = rc; }
  RECT GetSizeBox() const { return sizeBox_; }
  void SetSizeBox(RECT rc) { sizeBox_ = rc; }
  bool HasCaption() const { return hasCaption_; }
  void SetHasCaption(bool has) { hasCaption_ = has; }
  DWORD GetDefaultFontColor() const { return defaultFontColor_; }
  void SetDefaultFontColor(DWORD argb) { defaultFontColor_ = argb; }

  // Layout and painting.
  void Invalidate(const RECT& rc);
  void Invalidate();
  void NeedUpdate() { updateNeeded_ = true; }
  // Lays the tree out in the window's client area when something changed.
  void UpdateLayout(bool force = false);
  RECT GetClientRect() const;
  void Paint(QWidget* target, const RECT& rcPaint);

  // Focus, capture and hover.
  CControlUI* GetFocus() const { return focus_; }
  void SetFocus(CControlUI* control);
  void SetCapture(CControlUI* control) { capture_ = control; }
  void ReleaseCapture() { capture_ = nullptr; }
  CControlUI* GetCapture() const { return capture_; }
  // Forgets a control that is being deleted (focus, hover, capture, timers, hosted list).
  void ReapObject(CControlUI* control);

  // A UIEVENT_TIMER every `elapse` ms to the control until KillTimer; false for a null control.
  bool SetTimer(CControlUI* control, UINT id, UINT elapse);
  bool KillTimer(CControlUI* control, UINT id);

  // Input from the paint widget (window client coordinates).
  void OnMouseDown(POINT pt, WPARAM keyState, bool right);
  void OnMouseUp(POINT pt, WPARAM keyState);
  // A left double click: the control under pt takes the capture and gets UIEVENT_DBLCLICK.
  void OnMouseDoubleClick(POINT pt);
  void OnMouseMove(POINT pt, WPARAM keyState);
  void OnMouseLeave();
  void OnMouseWheel(POINT pt, int delta);
  // Tooltip text for the control under the point; empty when none.
  CDuiString GetToolTipAt(POINT pt) const;
  // True when pt lies in the caption area and on no clickable control.
  bool IsCaptionPoint(POINT pt) const;
  // Size-box edges at pt as Qt::Edges bits; 0 when none.
  int SizeBoxEdgesAt(POINT pt) const;

  // Controls hosting a widget are kept in sync with the window's visibility.
  void RegisterHostedControl(CControlUI* control);
  void UnregisterHostedControl(CControlUI* control);
  void OnWindowShown();
  void OnWindowHidden();
  bool WasShown() const { return shown_; }

  // Images: the cached image of a file (relative to the resource path unless absolute).
  struct ImageEntry;
  const ImageEntry* GetImage(std::string_view file);

 private:
  void SetHover(CControlUI* control, POINT pt);
  void SendEvent(CControlUI* control, int type, POINT pt, WPARAM keyState = 0, WPARAM wParam = 0);

  CWindowWnd* window_ = nullptr;
  CControlUI* root_ = nullptr;
  CControlUI* focus_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* capture_ = nullptr;
  std::vector<INotifyUI*> notifiers_;
  std::vector<IMessageFilterUI*> preFilters_;
  std::vector<CControlUI*> hostedControls_;
  std::map<int, LOGFONT> fonts_;
  int defaultFont_ = -1;
  std::map<std::string, std::string, std::less<>> defaultAttributes_;
  std::map<std::string, std::unique_ptr<ImageEntry>, std::less<>> images_;
  struct Timer;
  std::vector<std::unique_ptr<Timer>> timers_;
  SIZE initSize_{800, 600};
  SIZE minInfo_;
  RECT caption_;
  RECT sizeBox_;
  bool hasCaption_ = false;
  bool updateNeeded_ = true;
  bool shown_ = false;
  DWORD defaultFontColor_ = 0xFF000000;
};

// The control named `name` when it is a T; null when absent or of another kind.
template <class T>
T* FindControlAs(const CPaintManagerUI& manager, std::string_view name) {
  return dynamic_cast<T*>(manager.FindControl(name));
}

}  // namespace DuiLib
