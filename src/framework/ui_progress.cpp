#include "framework/ui_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "framework/paint_manager.h"

namespace DuiLib {

namespace {
int ToInt(std::string_view v) {
  return static_cast<int>(std::strtol(std::string(v).c_str(), nullptr, 10));
}
}  // namespace

CProgressUI::CProgressUI() {
  textStyle_ = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
}

void* CProgressUI::GetInterface(std::string_view name) {
  if (name == "Progress") return static_cast<CProgressUI*>(this);
  return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  Invalidate();
}

void CProgressUI::SetMinValue(int min) {
  min_ = min;
  if (max_ < min_) max_ = min_;
  value_ = std::clamp(value_, min_, max_);
  Invalidate();
}

void CProgressUI::SetMaxValue(int max) {
  max_ = std::max(max, min_);
  value_ = std::clamp(value_, min_, max_);
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  value = std::clamp(value, min_, max_);
  if (value == value_) return;
  value_ = value;
  Invalidate();
}

void CProgressUI::SetForeImage(std::string_view image) {
  foreImage_ = image;
  Invalidate();
}

void CProgressUI::SetMarks(BarMarks marks) {
  if (marks == marks_) return;
  marks_ = std::move(marks);
  Invalidate();
}

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "spancolor")
    spanColor_ = ParseColor(value);
  else if (name == "tickcolor")
    tickColor_ = ParseColor(value);
  else if (name == "foreimage")
    SetForeImage(value);
  else if (name == "forecolor")
    SetForeColor(ParseColor(value));
  else if (name == "trackcolor")
    trackColor_ = ParseColor(value);
  else if (name == "trackheight")
    trackHeight_ = ToInt(value);
  else if (name == "hor")
    SetHorizontal(value == "true");
  else if (name == "min")
    SetMinValue(ToInt(value));
  else if (name == "max")
    SetMaxValue(ToInt(value));
  else if (name == "value")
    SetValue(ToInt(value));
  else
    CLabelUI::SetAttribute(name, value);
}

RECT CProgressUI::TrackRect() const {
  RECT rc = rcItem_;
  if (trackHeight_ > 0) {
    if (horizontal_) {
      const int mid = (rc.top + rc.bottom) / 2;
      rc.top = mid - trackHeight_ / 2;
      rc.bottom = rc.top + trackHeight_;
    } else {
      const int mid = (rc.left + rc.right) / 2;
      rc.left = mid - trackHeight_ / 2;
      rc.right = rc.left + trackHeight_;
    }
  }
  return rc;
}

RECT CProgressUI::FilledRect() const {
  RECT rc = TrackRect();
  const double span = max_ > min_ ? static_cast<double>(value_ - min_) / (max_ - min_) : 0.0;
  if (horizontal_) {
    rc.right = rc.left + static_cast<int>(std::lround((rc.right - rc.left) * span));
  } else {
    rc.top = rc.bottom - static_cast<int>(std::lround((rc.bottom - rc.top) * span));
  }
  return rc;
}

void CProgressUI::PaintStatusImage(HDC hDC) {
  const RECT track = TrackRect();
  const int radius = trackHeight_ > 0 ? trackHeight_ / 2 : 0;
  if (trackColor_ != 0) CRenderEngine::DrawRoundRect(hDC, track, 0, radius, 0, trackColor_);
  const RECT filled = FilledRect();
  if (IsRectEmpty(filled)) {
    PaintMarks(hDC);
    return;
  }
  if (!foreImage_.empty()) {
    const RECT d{filled.left - rcItem_.left, filled.top - rcItem_.top, filled.right - rcItem_.left,
                 filled.bottom - rcItem_.top};
    const std::string dest = "dest='" + std::to_string(d.left) + "," + std::to_string(d.top) + "," +
                             std::to_string(d.right) + "," + std::to_string(d.bottom) + "'";
    DrawImage(hDC, foreImage_, dest);
  } else if (foreColor_ != 0) {
    CRenderEngine::DrawRoundRect(hDC, filled, 0, radius, 0, foreColor_);
  }
  PaintMarks(hDC);
}

void CProgressUI::PaintMarks(HDC hDC) const {
  // Ticks reach this far past the track on each side, so they show beside a slider's thumb.
  constexpr int kTickReach = 5;
  constexpr int kTickWidth = 2;
  const RECT track = TrackRect();
  const bool across = horizontal_;
  const int length = across ? track.right - track.left : track.bottom - track.top;
  if (length <= 0) return;
  // The pixel along the bar of a share of its range: rightwards, or upwards when upright.
  const auto along = [&](double share) {
    const auto offset = static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * length));
    return across ? track.left + offset : track.bottom - offset;
  };
  if (spanColor_ != 0 && marks_.spanFrom < marks_.spanTo) {
    const int a = along(marks_.spanFrom);
    const int b = along(marks_.spanTo);
    const RECT span =
        across ? RECT{a, track.top, b, track.bottom} : RECT{track.left, b, track.right, a};
    CRenderEngine::DrawColor(hDC, span, spanColor_);
  }
  if (tickColor_ == 0) return;
  for (const double share : marks_.ticks) {
    const int at = along(share) - kTickWidth / 2;
    const RECT tick =
        across ? RECT{at, track.top - kTickReach, at + kTickWidth, track.bottom + kTickReach}
               : RECT{track.left - kTickReach, at, track.right + kTickReach, at + kTickWidth};
    CRenderEngine::DrawColor(hDC, tick, tickColor_);
  }
}

CSliderUI::CSliderUI() = default;

void* CSliderUI::GetInterface(std::string_view name) {
  if (name == "Slider") return static_cast<CSliderUI*>(this);
  return CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const {
  return IsEnabled() ? 1u : 0u;
}

void CSliderUI::SetEnabled(bool enabled) {
  CProgressUI::SetEnabled(enabled);
  if (!enabled) dragging_ = hot_ = false;
}

RECT CSliderUI::TrackRect() const {
  RECT rc = CProgressUI::TrackRect();
  // The thumb's centre travels from one end of the track to the other.
  if (horizontal_) {
    rc.left += thumbSize_.cx / 2;
    rc.right -= thumbSize_.cx / 2;
  } else {
    rc.top += thumbSize_.cy / 2;
    rc.bottom -= thumbSize_.cy / 2;
  }
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  return rc;
}

RECT CSliderUI::GetThumbRect() const {
  const RECT filled = FilledRect();
  if (horizontal_) {
    const int cx = filled.right;
    const int cy = (rcItem_.top + rcItem_.bottom) / 2;
    return RECT{cx - thumbSize_.cx / 2, cy - thumbSize_.cy / 2,
                cx - thumbSize_.cx / 2 + thumbSize_.cx, cy - thumbSize_.cy / 2 + thumbSize_.cy};
  }
  const int cx = (rcItem_.left + rcItem_.right) / 2;
  const int cy = filled.top;
  return RECT{cx - thumbSize_.cx / 2, cy - thumbSize_.cy / 2,
              cx - thumbSize_.cx / 2 + thumbSize_.cx, cy - thumbSize_.cy / 2 + thumbSize_.cy};
}

int CSliderUI::ValueAt(POINT pt) const {
  const RECT track = TrackRect();
  double fraction = 0.0;
  if (horizontal_) {
    const int w = track.right - track.left;
    fraction = w > 0 ? static_cast<double>(pt.x - track.left) / w : 0.0;
  } else {
    const int h = track.bottom - track.top;
    fraction = h > 0 ? static_cast<double>(track.bottom - pt.y) / h : 0.0;
  }
  fraction = std::clamp(fraction, 0.0, 1.0);
  return min_ + static_cast<int>(std::lround(fraction * (max_ - min_)));
}

void CSliderUI::ChangeValue(int value, bool always) {
  const int old = value_;
  SetValue(value);
  if ((always || value_ != old) && manager_ != nullptr) {
    manager_->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
  }
}

void CSliderUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT_MOUSEMOVE && event.Type < UIEVENT_KEYDOWN) {
    if (parent_ != nullptr) parent_->DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        dragging_ = true;
        ChangeValue(ValueAt(event.ptMouse));
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (dragging_) ChangeValue(ValueAt(event.ptMouse));
      return;
    case UIEVENT_BUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ChangeValue(ValueAt(event.ptMouse));
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEENTER:
      hot_ = true;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
      if (IsEnabled()) ChangeValue(value_ + (event.wParam == 1 ? step_ : -step_));
      return;
    case UIEVENT_KEYDOWN:
      if (IsEnabled() && (event.chKey == VK_LEFT || event.chKey == VK_DOWN)) {
        ChangeValue(value_ - step_);
        return;
      }
      if (IsEnabled() && (event.chKey == VK_RIGHT || event.chKey == VK_UP)) {
        ChangeValue(value_ + step_);
        return;
      }
      break;
    default:
      break;
  }
  CProgressUI::DoEvent(event);
}

void CSliderUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "thumbsize")
    SetThumbSize(ParseSize(value));
  else if (name == "thumbimage")
    thumbImage_ = value;
  else if (name == "thumbhotimage")
    thumbHotImage_ = value;
  else if (name == "thumbpushedimage")
    thumbPushedImage_ = value;
  else if (name == "thumbcolor")
    thumbColor_ = ParseColor(value);
  else if (name == "thumbhotcolor")
    thumbHotColor_ = ParseColor(value);
  else if (name == "step")
    SetChangeStep(ToInt(value));
  else
    CProgressUI::SetAttribute(name, value);
}

void CSliderUI::PaintStatusImage(HDC hDC) {
  CProgressUI::PaintStatusImage(hDC);
  const RECT thumb = GetThumbRect();
  const CDuiString& image = dragging_ && !thumbPushedImage_.empty() ? thumbPushedImage_
                            : hot_ && !thumbHotImage_.empty()       ? thumbHotImage_
                                                                    : thumbImage_;
  if (!image.empty()) {
    const std::string dest = "dest='" + std::to_string(thumb.left - rcItem_.left) + "," +
                             std::to_string(thumb.top - rcItem_.top) + "," +
                             std::to_string(thumb.right - rcItem_.left) + "," +
                             std::to_string(thumb.bottom - rcItem_.top) + "'";
    if (DrawImage(hDC, image, dest)) return;
  }
  const DWORD color = (hot_ || dragging_) && thumbHotColor_ != 0 ? thumbHotColor_ : thumbColor_;
  if (color != 0) {
    CRenderEngine::DrawRoundRect(hDC, thumb, 0, thumbSize_.cx / 2, 0, color);
  }
}

}  // namespace DuiLib
