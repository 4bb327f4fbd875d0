// Basic value types, constants and the string type of the UI framework (namespace DuiLib).
// Colours: controls take ARGB (0xAARRGGBB, as skin files write them); the GDI-style drawing
// context takes COLORREF (0x00BBGGRR, built with RGB()).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/tick.h"
#include "platform/window_message.h"

namespace DuiLib {

using korvane::LPARAM;
using korvane::LRESULT;
using korvane::WindowHandle;
using korvane::WPARAM;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using COLORREF = std::uint32_t;
using BOOL = int;
using LPCTSTR = const char*;
using HMENU = void*;

struct RECT {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const RECT&, const RECT&) = default;
};
struct POINT {
  int x = 0;
  int y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};
struct SIZE {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};

inline bool PtInRect(const RECT& rc, POINT pt) {
  return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}
// False (and an empty result) when the rectangles do not overlap.
bool IntersectRect(RECT* result, const RECT& a, const RECT& b);
inline bool IsRectEmpty(const RECT& rc) {
  return rc.right <= rc.left || rc.bottom <= rc.top;
}

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr unsigned GetRValue(COLORREF c) {
  return c & 0xFF;
}
constexpr unsigned GetGValue(COLORREF c) {
  return (c >> 8) & 0xFF;
}
constexpr unsigned GetBValue(COLORREF c) {
  return (c >> 16) & 0xFF;
}

constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(lo) & 0xFFFF) |
                             ((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
  return static_cast<WPARAM>((static_cast<std::uint32_t>(lo) & 0xFFFF) |
                             ((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) {
  return static_cast<std::int16_t>((w >> 16) & 0xFFFF);
}
constexpr int GET_X_LPARAM(LPARAM l) {
  return static_cast<std::int16_t>(l & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM l) {
  return static_cast<std::int16_t>((l >> 16) & 0xFFFF);
}

// The millisecond tick (wraps like GetTickCount).
inline DWORD GetTickCount() {
  return korvane::GetTick();
}

// Window messages the framework delivers to CWindowWnd::HandleMessage.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT WM_USER = korvane::WM_USER;

constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_DELETE = 0x2E;
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F8 = 0x77;
constexpr WPARAM VK_F12 = 0x7B;
constexpr WPARAM VK_OEM_COMMA = 0xBC;   // ","
constexpr WPARAM VK_OEM_PERIOD = 0xBE;  // "."
constexpr WPARAM VK_OEM_4 = 0xDB;       // "["
constexpr WPARAM VK_OEM_6 = 0xDD;       // "]"

// Modal results.
constexpr UINT IDOK = 1;
constexpr UINT IDCANCEL = 2;
constexpr UINT IDCLOSE = 8;

// Window styles accepted by CWindowWnd::Create. Only WS_VISIBLE, WS_CHILD/WS_POPUP, WS_CAPTION
// and WS_EX_ACCEPTFILES change anything here; the rest are kept for callers written in that form.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// The framework's string: UTF-8 text in a std::string, with the few helpers callers expect.
class CDuiString : public std::string {
 public:
  using std::string::string;
  CDuiString() = default;
  CDuiString(const std::string& s) : std::string(s) {}
  CDuiString(std::string&& s) : std::string(std::move(s)) {}
  CDuiString(std::string_view s) : std::string(s) {}
  const char* GetData() const { return c_str(); }
  int GetLength() const { return static_cast<int>(size()); }
  bool IsEmpty() const { return empty(); }
  void Empty() { clear(); }
  // 0 when equal ignoring ASCII case.
  int CompareNoCase(std::string_view other) const;
};

// True when the two strings are equal ignoring ASCII letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace DuiLib
