// Notifications, input events and the callback interfaces of the framework.
#pragma once
#include "framework/ui_defs.h"

namespace DuiLib {

class CControlUI;

// Notification type names used across the program.
inline constexpr const char* DUI_MSGTYPE_CLICK = "click";
inline constexpr const char* DUI_MSGTYPE_VALUECHANGED = "valuechanged";
inline constexpr const char* DUI_MSGTYPE_ITEMSELECT = "itemselect";
inline constexpr const char* DUI_MSGTYPE_ITEMACTIVATE = "itemactivate";
inline constexpr const char* DUI_MSGTYPE_ITEMCLICK = "itemclick";
inline constexpr const char* DUI_MSGTYPE_DBCLICK = "dbclick";
inline constexpr const char* DUI_MSGTYPE_SELECTCHANGED = "selectchanged";
inline constexpr const char* DUI_MSGTYPE_TEXTCHANGED = "textchanged";
inline constexpr const char* DUI_MSGTYPE_SETFOCUS = "setfocus";
inline constexpr const char* DUI_MSGTYPE_KILLFOCUS = "killfocus";
inline constexpr const char* DUI_MSGTYPE_WINDOWINIT = "windowinit";
inline constexpr const char* DUI_MSGTYPE_TIMER = "timer";

struct TNotifyUI {
  CDuiString sType;
  CDuiString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

enum EventType {
  UIEVENT_MOUSEMOVE = 1,
  UIEVENT_MOUSELEAVE,
  UIEVENT_MOUSEENTER,
  UIEVENT_BUTTONDOWN,
  UIEVENT_BUTTONUP,
  UIEVENT_DBLCLICK,
  UIEVENT_RBUTTONDOWN,
  UIEVENT_KEYDOWN,
  UIEVENT_SETFOCUS,
  UIEVENT_KILLFOCUS,
  UIEVENT_SCROLLWHEEL,
  UIEVENT_TIMER,
};

// Key states in TEventUI::wKeyState, and the modifiers in the lParam of WM_KEYDOWN (see
// window_wnd.h).
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_ALT = 0x0020;

// An input event delivered to one control (CControlUI::DoEvent). Points are in window client
// coordinates. For UIEVENT_SCROLLWHEEL wParam is 1 (up) or 0 (down); for UIEVENT_KEYDOWN chKey
// is the virtual key and wKeyState the modifiers held; for UIEVENT_TIMER wParam is the timer id.
struct TEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse;
  WPARAM chKey = 0;
  WPARAM wKeyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Receives every notification of a paint manager after the sender's own event source.
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

// Sees every message delivered to a window before HandleMessage; setting bHandled stops it there.
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

// Asked by CDialogBuilder for tags it does not know; null lets the builder handle the tag.
class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  virtual CControlUI* CreateControl(const char* pstrClass) = 0;
};

}  // namespace DuiLib
