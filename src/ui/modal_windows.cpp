#include "ui/modal_windows.h"

#include "dialogs/clean_tip_wnd.h"
#include "dialogs/setting_wnd.h"
#include "dialogs/show_snaps_tip_wnd.h"
#include "dialogs/snapshot_tip_wnd.h"
#include "ui/trips_wnd.h"

namespace korvane {

namespace {

constexpr DuiLib::DWORD kTipStyle = DuiLib::WS_POPUP | DuiLib::WS_VISIBLE |
                                    DuiLib::WS_CLIPSIBLINGS | DuiLib::WS_CLIPCHILDREN |
                                    DuiLib::WS_CAPTION | DuiLib::WS_SYSMENU;

// Creates the window over `parent`, centres it and runs it; -1 when it could not be created.
int RunModal(DuiLib::CWindowWnd& window, WindowHandle parent, const char* name) {
  if (window.Create(parent, name, kTipStyle, 0, 0, 0, 0, 0) == 0) return -1;
  window.CenterWindow();
  return static_cast<int>(window.ShowModal());
}

}  // namespace

void ShowSnapshotWindow(ApplicationContext& context, WindowHandle parent, const std::string& path,
                        int width, int height, bool preview) {
  if (preview) {
    CDuiSnapshotTipWnd tip(context);
    tip.imagePath = path;
    tip.imageWidth = width;
    tip.imageHeight = height;
    RunModal(tip, parent, "SnapshotTipWnd");
  } else {
    CDuiShowSnapsTipWnd tip(context);
    tip.savedPath = path;
    RunModal(tip, parent, "ShowSnapsTipWindow");
  }
}

void ShowExportNote(ApplicationContext& context, WindowHandle parent, const std::string& title,
                    const std::string& text) {
  CDuiShowSnapsTipWnd tip(context);
  tip.title = title;
  tip.savedPath = text;
  RunModal(tip, parent, "ShowSnapsTipWindow");
}

TripsChoice ShowTripsWindow(ApplicationContext& context, WindowHandle parent, TripList trips,
                            TripsClockOffset clock) {
  CDuiTripsWnd window(context, std::move(trips), std::move(clock));
  const int code = RunModal(window, parent, "TripsWnd");
  TripsChoice choice;
  if (code == 1 && window.chosen() != nullptr) choice.trip = *window.chosen();
  if (code == static_cast<int>(kTripsImportTrack)) choice.trackToImport = window.trackToImport();
  return choice;
}

int ShowSettingsWindow(ApplicationContext& context, WindowHandle parent) {
  CDuiSettingWnd window(context);
  return RunModal(window, parent, "SettingWnd");
}

int ShowClearTipWindow(ApplicationContext& context, WindowHandle parent) {
  CDuiCleanTipWnd tip(context);
  return RunModal(tip, parent, "CleanTipWindow");
}

}  // namespace korvane
