#include "ui/main_window.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "chart/zell_chart_ui.h"
#include "settings/data_folder.h"
#include "settings/settings_store.h"
#include "ui/window_geometry.h"

namespace korvane {

namespace {

// Sub-layout tags (any letter case) and their files.
constexpr std::array<std::pair<const char*, const char*>, 5> kSubLayouts{{
    {"Caption", "Caption.xml"},
    {"PlayPanel", "PlayPanel.xml"},
    {"Shortcuts", "Shortcuts.xml"},
    {"GPSInfo", "GPSInfo.xml"},
    {"Playlist", "Playlist.xml"},
}};

}  // namespace

CDuiFrameWnd::CDuiFrameWnd(ApplicationContext& context)
    : CXMLWnd(kMainSkinFile), context_(context) {}

CDuiFrameWnd::~CDuiFrameWnd() = default;

DuiLib::WindowHandle CDuiFrameWnd::CreateMainWindow() {
  using namespace DuiLib;
  return Create(0, kMainWindowTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                WS_EX_WINDOWEDGE | WS_EX_ACCEPTFILES, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                CW_USEDEFAULT);
}

void CDuiFrameWnd::InitWindow() {
  context_.mainWindowHandle = GetHWND();
  SetIcon(101);
  CenterWindow();

  // The settings record lives in the application context with its defaults already.
  playbackContext_.reset(new (std::nothrow) PlaybackContext());
  viewManager_.reset(new (std::nothrow) CViewManager());
  if (!playbackContext_ || !viewManager_) std::exit(0);

  PrepareDataFolder(context_);
  LoadSettings(context_);
  RestoreWindowGeometry(*this, context_);
  viewManager_->BindControls(m_PaintManager, context_, *this);

  StartStartupWorker();
}

DuiLib::LRESULT CDuiFrameWnd::HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                            DuiLib::LPARAM lParam) {
  const DuiLib::LRESULT result = CXMLWnd::HandleMessage(uMsg, wParam, lParam);
  switch (uMsg) {
    case DuiLib::WM_DROPFILES:
      // Dropped files are taken by the playlist (playback controller).
      return 0;
    case WM_PLAYER_NOTIFY:
      OnPlayerMessage(wParam, lParam);
      break;
    case WM_EXTRACTOR_NOTIFY:
      OnPipelineMessage(wParam, lParam);
      break;
    case WM_TELEMETRY_LIVE:
      OnPositionMessage(wParam, lParam);
      break;
    default:
      break;
  }
  return result;
}

DuiLib::LRESULT CDuiFrameWnd::ResponseDefaultKeyEvent(DuiLib::WPARAM wParam) {
  // Escape never closes the main window.
  if (wParam == DuiLib::VK_ESCAPE) return 1;
  return CXMLWnd::ResponseDefaultKeyEvent(wParam);
}

void CDuiFrameWnd::OnDestroy() {
  // The playback controller stops playback and the extraction here.
  // The program folder's default file is shared by every user: a window's size is no default.
  if (viewManager_ && UsesOwnSettingsFile(context_)) {
    DuiLib::WINDOWPLACEMENT now;
    if (GetWindowPlacement(&now)) {
      const DuiLib::WINDOWPLACEMENT* beforeFullScreen =
          viewManager_->fullScreen != 0 ? &viewManager_->savedPlacement : nullptr;
      WriteSavedGeometry(context_, GeometryToSave(now, beforeFullScreen));
    }
  }
  CXMLWnd::OnDestroy();
}

void CDuiFrameWnd::OnPipelineMessage(DuiLib::WPARAM, DuiLib::LPARAM) {}
void CDuiFrameWnd::OnPlayerMessage(DuiLib::WPARAM, DuiLib::LPARAM) {}
void CDuiFrameWnd::OnPositionMessage(DuiLib::WPARAM, DuiLib::LPARAM) {}

DuiLib::CControlUI* CDuiFrameWnd::CreateControl(const char* pstrClass) {
  using namespace DuiLib;
  if (pstrClass == nullptr) return nullptr;
  const std::string_view name(pstrClass);
  for (const auto& [tag, file] : kSubLayouts) {
    if (EqualsNoCase(name, tag)) {
      CDialogBuilder builder;
      CControlUI* tree = builder.Create(file, {}, this, &m_PaintManager, nullptr);
      if (tree == nullptr) ReportSkinError(builder.GetLastError());
      return tree;
    }
  }
  if (EqualsNoCase(name, "WndUI")) return new CWndUI();
  if (name == "ZellChart") return new DuiLib::CZellChartUI();
  return nullptr;
}

}  // namespace korvane
