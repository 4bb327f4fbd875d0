// CWndUI: the video host control. Owns a child widget that becomes a native window (its X11 id is
// what the player draws into) once the main window has been shown, keeps it letter-boxed to the
// video's aspect inside the control, shows and hides it with the control, and forwards a double
// click on the video to the main window as WM_LBUTTONDBLCLK with lParam 8.
//
// The player must leave mouse input of that window to us (libmpv: input-cursor=no,
// input-vo-keyboard=no), since X11 lets only one client take button presses of a window.
#pragma once
#include <atomic>

#include "framework/ui_control.h"

namespace DuiLib {

// The lParam by which the main window tells the forwarded double click from others.
constexpr LPARAM kVideoDoubleClickMarker = 8;

// The child's rectangle inside rc for a video of the given width/height ratio: centred, as large
// as fits. An aspect that is not > 0 (also NaN) or a height <= 0 gives rc unchanged.
RECT LetterBoxRect(const RECT& rc, double aspect);

class CWndUI : public CControlUI {
 public:
  CWndUI();
  ~CWndUI() override;

  const char* GetClass() const override { return "WndUI"; }
  // The control itself for "WndUI" (exact case); otherwise the base's answer.
  void* GetInterface(std::string_view name) override;
  // Always repaints; the child is moved to the letter-boxed rectangle.
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  RECT GetHostedRect() const override { return LetterBoxRect(rcItem_, aspect_); }
  void OnWindowShown() override;

  // Width / height of the video; 0 fills the control. Call SetPos(GetPos()) to re-apply.
  void SetAspect(double aspect) { aspect_ = aspect; }
  double GetAspect() const { return aspect_; }

  // The native window id for the player's -wid; 0 until the main window has been shown (or when
  // the child could not be made). Any thread.
  WindowHandle GetVideoWindow() const { return videoWindow_.load(); }
  // UI thread: makes the child native now when the window is already on screen; returns the id
  // (0 while the window has not been shown).
  WindowHandle EnsureVideoWindow();

 private:
  double aspect_ = 0.0;
  std::atomic<WindowHandle> videoWindow_{0};
};

}  // namespace DuiLib
