// CControlUI: the base of every control: name, text, visibility, position, attributes from the
// skin, background colours and images, notifications (OnNotify) and input events (DoEvent).
//
// Writing an own control (a chart, a video host, a browser, a tree):
//  * derive from CControlUI (or CContainerUI), override GetClass() and GetInterface(name) so
//    callers can ask for it by name, and SetAttribute(name, value) for own skin attributes
//    (pass the rest to the base);
//  * paint in DoPaint(hDC, rcPaint) or in one of the steps the base DoPaint calls in this order:
//    PaintBkColor, PaintBkImage, PaintStatusImage, PaintText, PaintBorder. HDC is the window's
//    CDrawContext (draw_context.h), already clipped to GetPos();
//  * react to input in DoEvent(TEventUI&) and raise notifications with
//    GetManager()->SendNotify(this, "type", wParam, lParam);
//  * host a QWidget (a browser view, the native video window): call SetHostedWidget(widget).
//    The control then owns it, parents it to the window's paint widget, keeps its geometry at
//    GetHostedRect() (override to letter-box) on every SetPos, and shows it only while the
//    control is visible, intern-visible and inside a visible window. Call winId() on it only on
//    the UI thread after the window has been shown (see CWndUI).
#pragma once
#include <map>
#include <memory>
#include <string>

#include "framework/draw_context.h"
#include "framework/ui_delegate.h"
#include "framework/ui_notify.h"

class QWidget;

namespace DuiLib {

class CPaintManagerUI;

// FindControl flags.
constexpr UINT UIFIND_ALL = 0x00000000;
constexpr UINT UIFIND_VISIBLE = 0x00000001;
constexpr UINT UIFIND_ENABLED = 0x00000002;
constexpr UINT UIFIND_HITTEST = 0x00000004;
constexpr UINT UIFIND_TOP_FIRST = 0x00000008;
constexpr UINT UIFIND_ME_FIRST = 0x80000000;

using FINDCONTROLPROC = CControlUI* (*)(CControlUI*, void*);

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  virtual CDuiString GetName() const { return name_; }
  virtual void SetName(std::string_view name) { name_ = name; }
  virtual const char* GetClass() const { return "ControlUI"; }
  // This control when it is of the named kind ("Control", "Button", …); null otherwise.
  virtual void* GetInterface(std::string_view name);
  virtual UINT GetControlFlags() const { return 0; }

  virtual bool Activate();
  virtual CControlUI* GetParent() const { return parent_; }
  CPaintManagerUI* GetManager() const { return manager_; }
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);

  virtual CDuiString GetText() const { return text_; }
  virtual void SetText(std::string_view text);
  CDuiString GetToolTip() const { return tooltip_; }
  // The tip at `pt` (window coordinates) inside the control: a control whose parts have tips of
  // their own answers the part's; empty when there is none.
  virtual CDuiString GetToolTipAt(POINT /*pt*/) const { return tooltip_; }
  virtual void SetToolTip(std::string_view text) { tooltip_ = text; }
  CDuiString GetUserData() const { return userData_; }
  void SetUserData(std::string_view text) { userData_ = text; }
  std::uintptr_t GetTag() const { return tag_; }
  void SetTag(std::uintptr_t tag) { tag_ = tag; }

  // Background: ARGB colours, images as image descriptions (draw_context.h).
  DWORD GetBkColor() const { return bkColor_; }
  void SetBkColor(DWORD argb);
  DWORD GetBkColor2() const { return bkColor2_; }
  void SetBkColor2(DWORD argb);
  DWORD GetBorderColor() const { return borderColor_; }
  void SetBorderColor(DWORD argb);
  const CDuiString& GetBkImage() const { return bkImage_; }
  void SetBkImage(std::string_view image);
  int GetBorderSize() const { return borderSize_; }
  void SetBorderSize(int size);
  SIZE GetBorderRound() const { return borderRound_; }
  void SetBorderRound(SIZE round);

  // Position in window client coordinates; the layout of the parent sets it. For a floating
  // control with a parent, SetPos takes rc relative to the parent's top-left corner (as the
  // skin's "pos" does) and keeps it there when the parent moves.
  virtual const RECT& GetPos() const { return rcItem_; }
  virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
  // Used by containers: places a floating child at an absolute rectangle.
  void PlaceFloat(RECT absolute);
  virtual int GetWidth() const { return rcItem_.right - rcItem_.left; }
  virtual int GetHeight() const { return rcItem_.bottom - rcItem_.top; }
  virtual RECT GetPadding() const { return padding_; }
  virtual void SetPadding(RECT rc);
  virtual SIZE GetFixedXY() const { return fixedXY_; }
  virtual void SetFixedXY(SIZE xy);
  virtual int GetFixedWidth() const { return fixedSize_.cx; }
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const { return fixedSize_.cy; }
  virtual void SetFixedHeight(int cy);
  int GetMinWidth() const { return minSize_.cx; }
  void SetMinWidth(int cx);
  int GetMaxWidth() const { return maxSize_.cx; }
  void SetMaxWidth(int cx);
  int GetMinHeight() const { return minSize_.cy; }
  void SetMinHeight(int cy);
  int GetMaxHeight() const { return maxSize_.cy; }
  void SetMaxHeight(int cy);
  // Size the layout gives this control when it has one; 0 in a direction means "share the rest".
  virtual SIZE EstimateSize(SIZE available);

  virtual bool IsVisible() const { return visible_ && internVisible_ && !dropped_; }
  // Shown by its own and its ancestors' choice, whether or not a row short of room dropped it.
  bool IsShownByChoice() const { return visible_ && internVisible_; }
  // A row too narrow for all its children leaves out the ones with a drop order, the highest
  // first, until the rest fit; 0 (the default) is never left out.
  int GetDropOrder() const { return dropOrder_; }
  void SetDropOrder(int order) { dropOrder_ = order; }
  // Set by the row's layout: left out for want of room (not painted, not hit).
  void SetDropped(bool dropped);
  virtual void SetVisible(bool visible = true);
  // Visibility imposed by a hidden ancestor.
  virtual void SetInternVisible(bool visible = true);
  virtual bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled = true);
  virtual bool IsMouseEnabled() const { return mouseEnabled_; }
  virtual void SetMouseEnabled(bool enabled = true) { mouseEnabled_ = enabled; }
  virtual bool IsFocused() const { return focused_; }
  virtual void SetFocus();
  virtual bool IsFloat() const { return float_; }
  virtual void SetFloat(bool isFloat = true);

  virtual CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags);

  void Invalidate();
  // Invalidate from any thread: off the window's thread it is done on that thread, later (the
  // control must still be in its window then). Touches nothing of the window itself.
  void InvalidateFromAnyThread();
  bool IsUpdateNeeded() const { return updateNeeded_; }
  void NeedUpdate();
  void NeedParentUpdate();

  virtual void Init();
  virtual void DoInit() {}
  virtual void Event(TEventUI& event);
  virtual void DoEvent(TEventUI& event);

  // Unknown names are ignored.
  virtual void SetAttribute(std::string_view name, std::string_view value);
  // Applies a list like `width="18" float="true"`; malformed parts are skipped.
  void ApplyAttributeList(std::string_view list);

  virtual void DoPaint(HDC hDC, const RECT& rcPaint);
  virtual void PaintBkColor(HDC hDC);
  virtual void PaintBkImage(HDC hDC);
  virtual void PaintStatusImage(HDC hDC);
  virtual void PaintText(HDC hDC);
  virtual void PaintBorder(HDC hDC);

  // Draws an image description inside this control; false when it could not be drawn.
  bool DrawImage(HDC hDC, std::string_view image, std::string_view modify = {});

  // Hosted QWidget (see the header comment). The control takes ownership; null removes it.
  void SetHostedWidget(QWidget* widget);
  QWidget* GetHostedWidget() const;
  // Where the hosted widget is placed, in window client coordinates; default GetPos().
  virtual RECT GetHostedRect() const { return rcItem_; }
  // Re-applies geometry and visibility of the hosted widget (also called by the manager when the
  // window is shown or hidden).
  void SyncHostedWidget();
  // Called once the window holding this control has been shown (only for controls that host a
  // widget); the place to make a hosted widget native.
  virtual void OnWindowShown() {}

  CEventSource OnInit;
  CEventSource OnDestroy;
  CEventSource OnSize;
  CEventSource OnEvent;
  CEventSource OnNotify;

 protected:
  // True while this control and all ancestors are visible.
  bool IsVisibleInTree() const;

  CPaintManagerUI* manager_ = nullptr;
  CControlUI* parent_ = nullptr;
  CDuiString name_;
  CDuiString text_;
  CDuiString tooltip_;
  CDuiString userData_;
  std::uintptr_t tag_ = 0;
  RECT rcItem_;
  RECT padding_;
  SIZE fixedXY_;
  SIZE fixedSize_;
  SIZE minSize_;
  SIZE maxSize_{9999, 9999};
  bool visible_ = true;
  bool internVisible_ = true;
  bool dropped_ = false;
  int dropOrder_ = 0;
  bool enabled_ = true;
  bool mouseEnabled_ = true;
  bool focused_ = false;
  bool float_ = false;
  bool updateNeeded_ = true;
  bool inited_ = false;
  bool placingFloat_ = false;
  DWORD bkColor_ = 0;
  DWORD bkColor2_ = 0;
  DWORD borderColor_ = 0;
  int borderSize_ = 0;
  SIZE borderRound_;
  CDuiString bkImage_;

 private:
  struct Hosted;
  std::unique_ptr<Hosted> hosted_;
};

}  // namespace DuiLib
