// Full screen of the main window: the window made topmost over the whole screen with the map side,
// the chart and the GPS panel hidden, and the way back to the saved placement.
#pragma once
#include "ui/view_manager.h"

namespace korvane {

// Names of the side panels hidden in full screen (with the chart `accChart`).
inline constexpr char kPanelBoardRight[] = "PlayerBoardRight";
inline constexpr char kPanelGpsInfo[] = "PlayerGPSInfo";

// Saves the placement, covers the screen and swaps btnFull for btnSmall. The panels are hidden
// only when the skin has all three.
void EnterFullScreenWindow(DuiLib::CWindowWnd& window, DuiLib::CPaintManagerUI& manager,
                           CViewManager& view);
// Restores the saved placement, shows the panels and swaps the buttons back.
void LeaveFullScreenWindow(DuiLib::CWindowWnd& window, DuiLib::CPaintManagerUI& manager,
                           CViewManager& view);

}  // namespace korvane
