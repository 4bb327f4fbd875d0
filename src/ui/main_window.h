// CDuiFrameWnd: the program's main window. Builds "Orvix.xml" with its sub-layouts, the video host
// and the chart; at start-up creates the playback context and the view manager, prepares the data
// folder, loads the settings, places itself where it was when it last closed and binds the
// controls; at its end writes that geometry. Button, key and message behaviour is added by the
// playback controller.
#pragma once
#include <cstdint>
#include <memory>

#include "framework/xml_wnd.h"
#include "settings/application_context.h"
#include "ui/playback_context.h"
#include "ui/view_manager.h"

namespace korvane {

inline constexpr char kMainSkinFile[] = "Orvix.xml";
inline constexpr char kMainWindowTitle[] = "KORVANE";

class CDuiFrameWnd : public CXMLWnd {
 public:
  explicit CDuiFrameWnd(ApplicationContext& context);
  ~CDuiFrameWnd() override;

  // Creates the window as the entry point does: no parent, visible, accepting dropped files.
  // 0 when the skin cannot be built (the reason is on stderr).
  DuiLib::WindowHandle CreateMainWindow();

  DuiLib::LRESULT HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                DuiLib::LPARAM lParam) override;
  void InitWindow() override;
  DuiLib::LRESULT ResponseDefaultKeyEvent(DuiLib::WPARAM wParam) override;
  void OnDestroy() override;
  DuiLib::CControlUI* CreateControl(const char* pstrClass) override;

  // Worker notifications (1025, 1026, 1027); the playback controller gives them their meaning.
  virtual void OnPipelineMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam);
  virtual void OnPlayerMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam);
  virtual void OnPositionMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam);

  // Null until start-up created them.
  CViewManager* GetViewManager() const { return viewManager_.get(); }
  PlaybackContext* GetPlaybackContext() const { return playbackContext_.get(); }
  ApplicationContext& GetContext() const { return context_; }

  // Tick of the last accepted change of the playing item; 0 for none yet.
  std::uint32_t lastSwitchTick = 0;

 protected:
  // Starts the start-up set-up; CPlayerFrameWnd runs the routine the program hands it.
  virtual void StartStartupWorker() {}

 private:
  ApplicationContext& context_;
  std::unique_ptr<PlaybackContext> playbackContext_;
  std::unique_ptr<CViewManager> viewManager_;
};

}  // namespace korvane
