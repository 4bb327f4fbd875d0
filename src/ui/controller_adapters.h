// The controller's ports on the real objects: the player controller, the extraction pipeline and
// the main window's view (controls, map, chart, track store, modal windows). Thin forwarding only;
// the rules are the controller's.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "map/map_loader.h"
#include "media/mplayer.h"
#include "settings/application_context.h"
#include "telemetry/navigation_track.h"
#include "telemetry/subtitle_extractor.h"
#include "telemetry/track_store.h"
#include "ui/controller_ports.h"
#include "ui/view_manager.h"

namespace DuiLib {
class CWindowWnd;
class CPaintManagerUI;
}  // namespace DuiLib

namespace korvane {

// The hand-over of one 516: the chunks that became ready go to the map and the chart and are then
// marked consumed. readyChunks is read once, so a chunk the pipeline marks ready meanwhile is left
// for the next 516 instead of being marked consumed unsent.
void ConsumeReadyChunks(CMapDisplay& map, DuiLib::CWebBrowserUI* browser, ChartBinding& chart,
                        CTrackStore& store);

class CMplayerPort final : public IPlayerPort {
 public:
  // `videoWindow` is asked for the video host's current window before every start.
  CMplayerPort(CMplayer& player, std::function<WindowHandle()> videoWindow)
      : player_(player), videoWindow_(std::move(videoWindow)) {}
  PlayerState state() const override { return player_.state(); }
  void Stop() override { player_.Stop(); }
  void Play(const std::string& path, bool pollSubtitles) override;
  void SetSubtitlePoll(bool poll) override { player_.pollSubtitles = poll; }
  void TogglePause() override { player_.TogglePause(); }
  void SendCommand(const std::string& command) override { player_.SendCommand(command, true); }
  void SetVolume(int value) override { player_.SetVolume(value); }
  void SetMute(bool mute) override { player_.SetMute(mute); }
  bool muted() const override { return player_.muted(); }
  int volume() const override { return player_.volume(); }
  void Seek(double seconds) override { player_.Seek(seconds); }
  void StepFrame(bool forward) override { player_.StepFrame(forward); }
  void SetSpeed(double speed) override { player_.SetSpeed(speed); }
  double speed() const override { return player_.speed(); }
  double length() const override { return player_.length(); }
  int position() const override { return player_.position(); }
  double timePosition() const override { return player_.timePosition(); }
  double aspect() const override { return player_.replyFields().aspect; }
  int videoWidth() const override { return player_.replyFields().videoWidth; }
  int videoHeight() const override { return player_.replyFields().videoHeight; }
  std::uint32_t processId() const override { return player_.processId(); }
  std::string screenshotPath() const override { return player_.GetScreenshotPath(); }
  int droppedFrames() const override { return player_.replyFields().droppedFrames; }

 private:
  CMplayer& player_;
  std::function<WindowHandle()> videoWindow_;
};

// The player of one of a moment's other channels: a CMplayer of its own, configured as `leader`
// (the same program, outputs and folder) but without sound, without a subtitle poll and telling
// the window of its screenshots only, so its start, times and end never reach the main window's
// handlers; the followers' tick reads its state instead. `videoWindow` gives its own native
// window before every start.
std::unique_ptr<IPlayerPort> MakeFollowerPort(const CMplayer& leader,
                                              std::function<WindowHandle()> videoWindow);

class CExtractorPort final : public IPipelinePort {
 public:
  explicit CExtractorPort(CSubtitleExtractor& extractor) : extractor_(extractor) {}
  void ExtractFile(const std::string& path) override { extractor_.ExtractFile(path); }
  void Stop() override { extractor_.Stop(); }
  bool stopRequested() const override { return extractor_.stopRequested(); }
  bool busy() const override { return extractor_.state() != PipelineState::Idle; }

 private:
  CSubtitleExtractor& extractor_;
};

// The modal windows, given by the main window (either may be empty: nothing is shown).
struct ModalWindows {
  std::function<void(const std::string& path, int width, int height, bool preview)> snapshotTip;
  std::function<int()> settings;
};

class CFrameViewPort final : public IViewPort {
 public:
  CFrameViewPort(CViewManager& view, DuiLib::CWindowWnd& window, DuiLib::CPaintManagerUI& manager,
                 CMapDisplay& map, CTrackStore& store, const CNavigationTrack& navigation,
                 ApplicationContext& context)
      : view_(view),
        window_(window),
        manager_(manager),
        map_(map),
        store_(store),
        navigation_(navigation),
        context_(context) {}
  ModalWindows modals;

  void ShowPlaying(bool playing) override;
  void ShowMuted(bool muted) override;
  void SetVolumeSlider(int value) override;
  void SetProgressRange(int maximum) override;
  void SetProgressValue(int value) override;
  void SetChartCursor(double seconds) override;
  void RefreshLabels() override { view_.RefreshLabels(); }
  void ResetAccChart() override { view_.chartBinding.ResetAccChart(); }
  void ResetMarker() override { map_.ResetMarker(); }
  void ClearRoute() override;
  void ResetStore() override { store_.Reset(); }
  void ShowNoGValues() override;
  void ConsumeTrack() override;
  void SetCarPosition(double longitude, double latitude) override;
  void SetVideoAspect(double aspect) override;
  void PlacePictures() override;
  void EnterFullScreenWindow() override;
  void LeaveFullScreenWindow() override;
  void MarkSnapshot(const std::string& path, const TelemetryRecord& record, bool stamp) override;
  void ShowSnapshotTip(const std::string& path, int width, int height, bool preview) override;
  int RunSettingsWindow() override { return modals.settings ? modals.settings() : 0; }
  void ReloadCaptions() override;
  void RestyleRoute() override;
  void ShowTrackImport(const TrackImportResult& result) override;
  void ShowChoiceNotKept(WriteFailure failure) override;
  void ShowTrackChoice(const TrackChoice& choice) override;

 private:
  DuiLib::CWebBrowserUI* browser() const;
  // The page's route is the navigation track's: messages about another one are old.
  void NameRoute() { map_.SetRouteId(navigation_.generation()); }

  CViewManager& view_;
  DuiLib::CWindowWnd& window_;
  DuiLib::CPaintManagerUI& manager_;
  CMapDisplay& map_;
  CTrackStore& store_;
  const CNavigationTrack& navigation_;
  ApplicationContext& context_;
};

}  // namespace korvane
