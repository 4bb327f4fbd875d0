#include "ui/window_geometry.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "settings/settings_store.h"

namespace korvane {

namespace {

using DuiLib::RECT;

constexpr std::array<const char*, 5> kGeometryKeys{kKeyWindowLeft, kKeyWindowTop, kKeyWindowWidth,
                                                   kKeyWindowHeight, kKeyWindowMaximized};

long long OverlapArea(const RECT& a, const RECT& b) {
  RECT overlap;
  if (!DuiLib::IntersectRect(&overlap, a, b)) return 0;
  return static_cast<long long>(overlap.right - overlap.left) * (overlap.bottom - overlap.top);
}

int Width(const RECT& r) {
  return r.right - r.left;
}
int Height(const RECT& r) {
  return r.bottom - r.top;
}

}  // namespace

std::optional<RECT> PlaceOnScreens(const RECT& saved, const std::vector<RECT>& screens) {
  if (DuiLib::IsRectEmpty(saved) || screens.empty()) return std::nullopt;
  const RECT* screen = &screens.front();
  long long best = 0;
  for (const RECT& candidate : screens) {
    if (const long long area = OverlapArea(saved, candidate); area > best) {
      best = area;
      screen = &candidate;
    }
  }
  const int width = std::min(Width(saved), Width(*screen));
  const int height = std::min(Height(saved), Height(*screen));
  int left = saved.left;
  int top = saved.top;
  if (best == 0) {
    left = screen->left + (Width(*screen) - width) / 2;
    top = screen->top + (Height(*screen) - height) / 2;
  }
  left = std::clamp(left, screen->left, screen->right - width);
  top = std::clamp(top, screen->top, screen->bottom - height);
  return RECT{left, top, left + width, top + height};
}

SavedGeometry GeometryToSave(const DuiLib::WINDOWPLACEMENT& now,
                             const DuiLib::WINDOWPLACEMENT* fullScreenSaved) {
  const DuiLib::WINDOWPLACEMENT& source = fullScreenSaved != nullptr ? *fullScreenSaved : now;
  return SavedGeometry{source.rcNormalPosition, source.showCmd == DuiLib::SW_SHOWMAXIMIZED};
}

std::optional<SavedGeometry> ReadSavedGeometry(const ApplicationContext& context) {
  std::array<int, kGeometryKeys.size()> values{};
  for (std::size_t i = 0; i < kGeometryKeys.size(); ++i) {
    if (ReadSettingString(context, kSettingsSection, kGeometryKeys[i], "").empty()) {
      return std::nullopt;
    }
    values[i] = ReadSettingInt(context, kSettingsSection, kGeometryKeys[i], 0);
  }
  const auto [left, top, width, height, maximized] = values;
  if (width <= 0 || height <= 0) return std::nullopt;
  // Summed in 64 bits: a hand-edited file may hold values near the int limits.
  const long long right = static_cast<long long>(left) + width;
  const long long bottom = static_cast<long long>(top) + height;
  if (right > INT32_MAX || bottom > INT32_MAX) return std::nullopt;
  return SavedGeometry{RECT{left, top, static_cast<int>(right), static_cast<int>(bottom)},
                       maximized != 0};
}

void WriteSavedGeometry(const ApplicationContext& context, const SavedGeometry& geometry) {
  const RECT& r = geometry.normal;
  const std::array<int, kGeometryKeys.size()> values{r.left, r.top, Width(r), Height(r),
                                                     geometry.maximized ? 1 : 0};
  for (std::size_t i = 0; i < kGeometryKeys.size(); ++i) {
    WriteSettingInt(context, kSettingsSection, kGeometryKeys[i], values[i]);
  }
}

void RestoreWindowGeometry(DuiLib::CWindowWnd& window, const ApplicationContext& context) {
  const std::optional<SavedGeometry> saved = ReadSavedGeometry(context);
  if (!saved) return;
  const std::optional<RECT> placed = PlaceOnScreens(saved->normal, DuiLib::GetScreenWorkAreas());
  if (!placed) return;
  DuiLib::WINDOWPLACEMENT placement;
  placement.showCmd = saved->maximized ? DuiLib::SW_SHOWMAXIMIZED : DuiLib::SW_SHOWNORMAL;
  placement.rcNormalPosition = *placed;
  window.SetWindowPlacement(placement);
}

}  // namespace korvane
