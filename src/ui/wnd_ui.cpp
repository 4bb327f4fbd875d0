#include "ui/wnd_ui.h"

#include <algorithm>

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
  SetHostedWidget(
      CreateNativeSurface([this] { ForwardDoubleClick(); }, [this] { OnPictureClick(0); }));
}

void CWndUI::ForwardDoubleClick() {
  if (manager_ != nullptr) {
    korvane::SendWindowMessage(manager_->GetPaintWindow(), WM_LBUTTONDBLCLK, 1,
                               kVideoDoubleClickMarker);
  }
}

CWndUI::~CWndUI() {
  for (QWidget* surface : surfaces_) DeleteSurface(surface);
}

void* CWndUI::GetInterface(std::string_view name) {
  if (name == "WndUI") return this;
  return CControlUI::GetInterface(name);
}

void CWndUI::SetPos(RECT rc, bool) {
  CControlUI::SetPos(rc, true);
  PlacePictures();
}

void CWndUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  PlacePictures();
}

void CWndUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  PlacePictures();
}

double CWndUI::AspectOf(int channel) const {
  return channel >= 0 && channel < static_cast<int>(aspects_.size()) ? aspects_[channel] : 0.0;
}

void CWndUI::SetChannelAspect(int channel, double aspect) {
  if (channel < 0) return;
  if (channel >= static_cast<int>(aspects_.size())) aspects_.resize(channel + 1, 0.0);
  if (aspects_[channel] == aspect) return;
  aspects_[channel] = aspect;
  PlacePictures();
}

void CWndUI::StartMoment(int count, const std::vector<int>& present) {
  arrangement_.Reset(count);
  for (int channel = 1; channel < count; ++channel) {
    if (std::find(present.begin(), present.end(), channel) == present.end()) {
      arrangement_.Remove(channel);
    }
  }
  aspects_.resize(1);
  PlacePictures();
}

void CWndUI::RemoveChannel(int channel) {
  arrangement_.Remove(channel);
  PlacePictures();
  if (onArrangementChanged) onArrangementChanged();
}

void CWndUI::SetPictureLayout(korvane::PictureCorner corner, int widthPercent) {
  corner_ = corner;
  widthPercent_ = widthPercent;
  PlacePictures();
}

bool CWndUI::SwapWithSmall(int index) {
  if (!arrangement_.SwapWithSmall(index)) return false;
  PlacePictures();
  if (onArrangementChanged) onArrangementChanged();
  return true;
}

bool CWndUI::SwapNext() {
  if (!arrangement_.SwapNext()) return false;
  PlacePictures();
  if (onArrangementChanged) onArrangementChanged();
  return true;
}

void CWndUI::ToggleSmallPictures() {
  arrangement_.showSmalls = !arrangement_.showSmalls;
  PlacePictures();
  if (onArrangementChanged) onArrangementChanged();
}

RECT CWndUI::ChannelRect(int channel) const {
  if (channel == arrangement_.main()) return LetterBoxRect(rcItem_, AspectOf(channel));
  const std::vector<int> smalls = arrangement_.smalls();
  const auto at = std::find(smalls.begin(), smalls.end(), channel);
  if (at == smalls.end() || !arrangement_.showSmalls) return {};
  std::vector<double> aspects;
  for (int small : smalls) aspects.push_back(AspectOf(small));
  const korvane::PictureRect area{rcItem_.left, rcItem_.top, rcItem_.right - rcItem_.left,
                                  rcItem_.bottom - rcItem_.top};
  const std::vector<korvane::PictureRect> rects =
      korvane::LayOutPictures(area, corner_, widthPercent_, aspects);
  const auto index = static_cast<std::size_t>(at - smalls.begin());
  if (index >= rects.size()) return {};
  const korvane::PictureRect& r = rects[index];
  return {r.x, r.y, r.x + r.width, r.y + r.height};
}

void CWndUI::PlacePictures() {
  SyncHostedWidget();
  QWidget* paint = manager_ != nullptr ? manager_->GetPaintWidget() : nullptr;
  const bool shown = IsVisibleInTree();
  for (std::size_t i = 0; i < surfaces_.size(); ++i) {
    const RECT rc = ChannelRect(static_cast<int>(i) + 1);
    PlaceSurface(surfaces_[i], paint, rc, shown && !IsRectEmpty(rc));
  }
  // The leader's window over the others while it is a small picture.
  if (arrangement_.main() != 0 && shown) {
    const RECT rc = ChannelRect(0);
    PlaceSurface(GetHostedWidget(), paint, rc, !IsRectEmpty(rc));
  }
}

WindowHandle CWndUI::ChannelWindow(int channel) {
  if (channel <= 0 || manager_ == nullptr || !manager_->WasShown()) return 0;
  while (static_cast<int>(surfaces_.size()) < channel) {
    const int made = static_cast<int>(surfaces_.size()) + 1;
    surfaces_.push_back(CreateNativeSurface([this] { ForwardDoubleClick(); },
                                            [this, made] { OnPictureClick(made); }));
  }
  QWidget* surface = surfaces_[static_cast<std::size_t>(channel) - 1];
  PlaceSurface(surface, manager_->GetPaintWidget(), ChannelRect(channel),
               IsVisibleInTree() && !IsRectEmpty(ChannelRect(channel)));
  return NativeWindowOf(surface);
}

QWidget* CWndUI::ChannelSurface(int channel) const {
  if (channel == 0) return GetHostedWidget();
  return channel > 0 && channel <= static_cast<int>(surfaces_.size())
             ? surfaces_[static_cast<std::size_t>(channel) - 1]
             : nullptr;
}

void CWndUI::OnPictureClick(int channel) {
  const std::vector<int> smalls = arrangement_.smalls();
  const auto at = std::find(smalls.begin(), smalls.end(), channel);
  if (at != smalls.end() && arrangement_.showSmalls) {
    SwapWithSmall(static_cast<int>(at - smalls.begin()));
  }
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
