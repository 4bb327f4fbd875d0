// CWndUI: the video host control. Owns a child widget that becomes a native window (its X11 id is
// what the player draws into) once the main window has been shown, keeps it letter-boxed to the
// video's aspect inside the control, shows and hides it with the control, and forwards a double
// click on the video to the main window as WM_LBUTTONDBLCLK with lParam 8. It also owns one native
// window per other channel of the moment (channel 1 on; channel 0 is the leader's, the hosted one)
// and places them all: the main picture letter-boxed over the control, the others as small
// pictures over its corner (small_pictures.h). A left click on a small picture makes it the main
// picture; which player draws into which window never changes.
//
// The player must leave mouse input of that window to us (libmpv: input-cursor=no,
// input-vo-keyboard=no), since X11 lets only one client take button presses of a window.
#pragma once
#include <atomic>
#include <functional>
#include <vector>

#include "framework/ui_control.h"
#include "ui/small_pictures.h"

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
  // The leader's window: the main picture's place, or its small picture's after a swap.
  RECT GetHostedRect() const override { return ChannelRect(0); }
  void OnWindowShown() override;

  // Width / height of the leader's video; 0 fills the control. Call SetPos(GetPos()) to re-apply.
  void SetAspect(double aspect) { SetChannelAspect(0, aspect); }
  double GetAspect() const { return AspectOf(0); }
  // The same for another channel's video; re-places the pictures when it changed.
  void SetChannelAspect(int channel, double aspect);

  // The channels of a new moment: 0 … count-1, of which `present` (besides 0) have a player; the
  // leader is the main picture again.
  void StartMoment(int count, const std::vector<int>& present);
  // A channel left the moment: its window is hidden and the rest close up.
  void RemoveChannel(int channel);
  // The corner and the width share of the small pictures (the settings).
  void SetPictureLayout(korvane::PictureCorner corner, int widthPercent);
  // A click on small picture `index` or `V`: that (the next) channel becomes the main picture.
  bool SwapWithSmall(int index);
  bool SwapNext();
  // `H`.
  void ToggleSmallPictures();
  const korvane::CPictureArrangement& arrangement() const { return arrangement_; }
  // Where channel `channel`'s window lies in window client coordinates; empty when it is not
  // shown (hidden small pictures, a channel not in the moment).
  RECT ChannelRect(int channel) const;
  // Runs after every change of the arrangement (a swap, a channel removed).
  std::function<void()> onArrangementChanged;

  // The native window id for the player's -wid; 0 until the main window has been shown (or when
  // the child could not be made). Any thread.
  WindowHandle GetVideoWindow() const { return videoWindow_.load(); }
  // UI thread: makes the child native now when the window is already on screen; returns the id
  // (0 while the window has not been shown).
  WindowHandle EnsureVideoWindow();
  // UI thread, once the window has been shown: the native window of channel `channel` (1 on),
  // made on first use; asked afresh each time, as the toolkit may re-create native children.
  // 0 before the first show or for channel 0 or less.
  WindowHandle ChannelWindow(int channel);
  // The widget of channel `channel`'s window (0: the hosted one); null when none was made.
  QWidget* ChannelSurface(int channel) const;

 private:
  double AspectOf(int channel) const;
  void ForwardDoubleClick();
  // A left click on channel `channel`'s window: a small picture becomes the main one.
  void OnPictureClick(int channel);
  void PlacePictures();

  std::vector<double> aspects_ = {0.0};  // by channel
  std::vector<QWidget*> surfaces_;       // channel c >= 1 at c - 1; owned
  korvane::CPictureArrangement arrangement_;
  korvane::PictureCorner corner_ = korvane::PictureCorner::kTopRight;
  int widthPercent_ = korvane::kDefaultPictureWidthPercent;
  std::atomic<WindowHandle> videoWindow_{0};
};

}  // namespace DuiLib
