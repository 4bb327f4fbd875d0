#include "ui/fullscreen.h"

namespace korvane {

namespace {

// All three side panels, or none: a skin missing one keeps its layout in full screen.
void ShowSidePanels(DuiLib::CPaintManagerUI& manager, bool visible) {
  DuiLib::CControlUI* board = manager.FindControl(kPanelBoardRight);
  DuiLib::CControlUI* chart = manager.FindControl("accChart");
  DuiLib::CControlUI* gps = manager.FindControl(kPanelGpsInfo);
  if (board == nullptr || chart == nullptr || gps == nullptr) return;
  board->SetVisible(visible);
  chart->SetVisible(visible);
  gps->SetVisible(visible);
}

void ShowFullButtons(CViewManager& view, bool fullScreen) {
  if (view.btnFull != nullptr) view.btnFull->SetVisible(!fullScreen);
  if (view.btnSmall != nullptr) view.btnSmall->SetVisible(fullScreen);
}

}  // namespace

void EnterFullScreenWindow(DuiLib::CWindowWnd& window, DuiLib::CPaintManagerUI& manager,
                           CViewManager& view) {
  using namespace DuiLib;
  window.GetWindowPlacement(&view.savedPlacement);
  if (window.IsMaximized()) window.ShowWindow(SW_SHOWDEFAULT);
  const int width = GetSystemMetrics(SM_CXSCREEN) +
                    2 * (GetSystemMetrics(SM_CXDLGFRAME) + GetSystemMetrics(SM_CXBORDER));
  const int height = GetSystemMetrics(SM_CYSCREEN) +
                     2 * (GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYBORDER));
  // Not made topmost: the toolkit changes that flag by re-creating the window and its native
  // children, and the player's video window with them, which ends the playing file. A window
  // covering the whole screen needs no more.
  window.MoveWindow(0, 0, width, height);
  ShowSidePanels(manager, false);
  ShowFullButtons(view, true);
}

void LeaveFullScreenWindow(DuiLib::CWindowWnd& window, DuiLib::CPaintManagerUI& manager,
                           CViewManager& view) {
  window.SetWindowPlacement(view.savedPlacement);
  ShowSidePanels(manager, true);
  ShowFullButtons(view, false);
}

}  // namespace korvane
