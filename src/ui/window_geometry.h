// The main window's geometry across runs: its normal rectangle and maximised state are written to
// the settings file when it closes, and placed on the screens present when it is next built. The
// placing rule is pure; reading, writing and applying are thin.
#pragma once
#include <optional>
#include <vector>

#include "framework/window_wnd.h"
#include "settings/application_context.h"

namespace korvane {

struct SavedGeometry {
  DuiLib::RECT normal;  // the window's rectangle when neither maximised nor in full screen
  bool maximized = false;
};

// Where a saved normal rectangle goes among the screens' work areas (primary first): onto the
// screen it overlaps most, no larger than that screen and wholly on it; a rectangle off every
// screen keeps its size (cut to the primary screen) centred on the primary screen. Nullopt for an
// empty rectangle or when no screen is known.
std::optional<DuiLib::RECT> PlaceOnScreens(const DuiLib::RECT& saved,
                                           const std::vector<DuiLib::RECT>& screens);

// What closing writes: the normal rectangle and state the window had before full screen
// (`fullScreenSaved`, the placement taken on entering it) or has now; a minimised window counts
// as not maximised.
SavedGeometry GeometryToSave(const DuiLib::WINDOWPLACEMENT& now,
                             const DuiLib::WINDOWPLACEMENT* fullScreenSaved);

// Nullopt when any of the keys is missing or the saved size is not positive.
std::optional<SavedGeometry> ReadSavedGeometry(const ApplicationContext& context);
// Writes the five keys in their order (appended after the file's keys the first time).
void WriteSavedGeometry(const ApplicationContext& context, const SavedGeometry& geometry);

// Applies the saved geometry, placed on the present screens, to a window not shown yet; a
// missing or unusable one leaves the window as it is.
void RestoreWindowGeometry(DuiLib::CWindowWnd& window, const ApplicationContext& context);

}  // namespace korvane
