#include "ui/wnd_ui.h"

#include "framework/native_surface.h"
#include "framework/paint_manager.h"

namespace DuiLib {

RECT LetterBoxRect(const RECT& rc, double aspect) {
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  if (height <= 0 || !(aspect > 0.0)) return rc;
  RECT out = rc;
  if (static_cast<double>(width) / height > aspect) {
    const int newWidth = static_cast<int>(height * aspect);
    out.left = rc.left + (width - newWidth) / 2;
    out.right = out.left + newWidth;
  } else {
    const int newHeight = static_cast<int>(width / aspect);
    out.top = rc.top + (height - newHeight) / 2;
    out.bottom = out.top + newHeight;
  }
  return out;
}

CWndUI::CWndUI() {
  SetHostedWidget(CreateNativeSurface([this] {
    if (manager_ != nullptr) {
      korvane::SendWindowMessage(manager_->GetPaintWindow(), WM_LBUTTONDBLCLK, 1,
                                 kVideoDoubleClickMarker);
    }
  }));
}

CWndUI::~CWndUI() = default;

void* CWndUI::GetInterface(std::string_view name) {
  if (name == "WndUI") return this;
  return CControlUI::GetInterface(name);
}

void CWndUI::SetPos(RECT rc, bool) {
  CControlUI::SetPos(rc, true);
}

void CWndUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  SyncHostedWidget();
}

void CWndUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  SyncHostedWidget();
}

void CWndUI::OnWindowShown() {
  EnsureVideoWindow();
}

WindowHandle CWndUI::EnsureVideoWindow() {
  if (GetHostedWidget() == nullptr || manager_ == nullptr || !manager_->WasShown()) {
    return videoWindow_;
  }
  if (videoWindow_ == 0) {
    // Made native only now: a native child created before the first show leaves the map's
    // web view in the same window black.
    videoWindow_ = NativeWindowOf(GetHostedWidget());
  }
  return videoWindow_;
}

}  // namespace DuiLib
