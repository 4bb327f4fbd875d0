#include "ui/controller_adapters.h"

#include <cstdio>

#include "framework/UIlib.h"
#include "framework/web_browser_ui.h"
#include "map/page_texts.h"
#include "settings/localization.h"
#include "ui/fullscreen.h"
#include "ui/snapshot_marks.h"

namespace korvane {

namespace {

void SetShown(DuiLib::CControlUI* control, bool shown) {
  if (control != nullptr) control->SetVisible(shown);
}

}  // namespace

void ConsumeReadyChunks(CMapDisplay& map, DuiLib::CWebBrowserUI* browser, ChartBinding& chart,
                        CTrackStore& store) {
  const std::int32_t ready = store.readyChunks();
  map.UpdateRoute(browser, store, ready);
  chart.AppendAccData(&store, ready);
  store.SetConsumedChunks(ready);
}

void CMplayerPort::Play(const std::string& path, bool pollSubtitles) {
  // Asked at every start on the UI thread: the window may not have existed when the start-up worker
  // asked, and the toolkit may have re-created it since.
  if (videoWindow_) {
    if (const WindowHandle current = videoWindow_(); current != 0) player_.videoWindow = current;
  }
  // The whole path: a cut one names no file (and a byte cut can split a character).
  player_.mediaPath = path;
  player_.pollSubtitles = pollSubtitles;
  player_.Play();
}

namespace {

// Owns the follower's controller; the port's forwarding is CMplayerPort's.
class CFollowerPlayerPort final : public IPlayerPort {
 public:
  CFollowerPlayerPort(std::unique_ptr<CMplayer> player, std::function<WindowHandle()> videoWindow)
      : player_(std::move(player)), port_(*player_, std::move(videoWindow)) {}
  PlayerState state() const override { return port_.state(); }
  void Stop() override { port_.Stop(); }
  void Play(const std::string& path, bool) override { port_.Play(path, false); }
  void SetSubtitlePoll(bool) override {}
  void TogglePause() override { port_.TogglePause(); }
  void SendCommand(const std::string& command) override { port_.SendCommand(command); }
  void SetVolume(int value) override { port_.SetVolume(value); }
  void SetMute(bool mute) override { port_.SetMute(mute); }
  bool muted() const override { return port_.muted(); }
  int volume() const override { return port_.volume(); }
  void Seek(double seconds) override { port_.Seek(seconds); }
  void StepFrame(bool forward) override { port_.StepFrame(forward); }
  void SetSpeed(double speed) override { port_.SetSpeed(speed); }
  double speed() const override { return port_.speed(); }
  double length() const override { return port_.length(); }
  int position() const override { return port_.position(); }
  double timePosition() const override { return port_.timePosition(); }
  double aspect() const override { return port_.aspect(); }
  int videoWidth() const override { return port_.videoWidth(); }
  int videoHeight() const override { return port_.videoHeight(); }
  std::uint32_t processId() const override { return port_.processId(); }
  std::string screenshotPath() const override { return port_.screenshotPath(); }
  int droppedFrames() const override { return port_.droppedFrames(); }

 private:
  std::unique_ptr<CMplayer> player_;
  CMplayerPort port_;
};

}  // namespace

std::unique_ptr<IPlayerPort> MakeFollowerPort(const CMplayer& leader,
                                              std::function<WindowHandle()> videoWindow) {
  auto player = std::make_unique<CMplayer>();
  player->playerPath = leader.playerPath;
  player->snapshotFolder = leader.snapshotFolder;
  player->extraArguments = leader.extraArguments;
  player->videoOutput = leader.videoOutput;
  // No sound device at all: a muted output would still hold the card.
  player->audioOutput = "null";
  // Only its screenshots reach the window, by the leader's message, so a snapshot of its picture
  // is shown as the leader's are; its state is read by the followers' tick.
  player->notifyWindow = leader.notifyWindow;
  player->notifyMessage = leader.notifyMessage;
  player->notifyCodes = NotificationBit(kPlayerScreenshot);
  player->pollSubtitles = false;
  player->SetMute(true);
  player->SetSpeed(leader.speed());
  return std::make_unique<CFollowerPlayerPort>(std::move(player), std::move(videoWindow));
}

void CFrameViewPort::ShowPlaying(bool playing) {
  SetShown(view_.btnPlay, !playing);
  SetShown(view_.btnPause, playing);
}

void CFrameViewPort::ShowMuted(bool muted) {
  SetShown(view_.btnVolume, !muted);
  SetShown(view_.btnMute, muted);
}

void CFrameViewPort::SetVolumeSlider(int value) {
  if (view_.sliderVolume != nullptr) view_.sliderVolume->SetValue(value);
}

void CFrameViewPort::SetProgressRange(int maximum) {
  if (view_.sliderProgress != nullptr) view_.sliderProgress->SetMaxValue(maximum);
}

void CFrameViewPort::SetProgressValue(int value) {
  if (view_.sliderProgress != nullptr) view_.sliderProgress->SetValue(value);
}

DuiLib::CWebBrowserUI* CFrameViewPort::browser() const {
  return dynamic_cast<DuiLib::CWebBrowserUI*>(view_.webMap);
}

void CFrameViewPort::SetChartCursor(double seconds) {
  view_.chartBinding.SetCursor(seconds);
}

void CFrameViewPort::ClearRoute() {
  NameRoute();
  map_.ClearRoute(browser());
}

void CFrameViewPort::ShowNoGValues() {
  view_.chartBinding.ShowNoGValues(
      ReadLanguageTextOrEnglish(context_, kEventInterfaceSection, "IDS_NOGVALUES"));
}

void CFrameViewPort::ConsumeTrack() {
  NameRoute();
  ConsumeReadyChunks(map_, browser(), view_.chartBinding, store_);
}

void CFrameViewPort::SetCarPosition(double longitude, double latitude) {
  map_.SetCarPosition(browser(), longitude, latitude);
}

void CFrameViewPort::SetVideoAspect(double aspect) {
  if (view_.wndMedia == nullptr) return;
  view_.wndMedia->SetAspect(aspect);
  view_.wndMedia->SetPos(view_.wndMedia->GetPos());
}

void CFrameViewPort::PlacePictures() {
  if (view_.wndMedia == nullptr) return;
  view_.wndMedia->SetPictureLayout(PictureCornerOf(context_.settings.pictureCorner),
                                   context_.settings.pictureWidthPercent);
}

void CFrameViewPort::EnterFullScreenWindow() {
  korvane::EnterFullScreenWindow(window_, manager_, view_);
}

void CFrameViewPort::LeaveFullScreenWindow() {
  korvane::LeaveFullScreenWindow(window_, manager_, view_);
}

void CFrameViewPort::MarkSnapshot(const std::string& path, const TelemetryRecord& record,
                                  bool stamp) {
  const SnapshotMarking marking =
      korvane::MarkSnapshot(path, record, stamp, context_.settings.speedUnit);
  if (marking.failures.empty()) return;
  std::fprintf(stderr, "korvane: snapshot %s: %s\n", path.c_str(), marking.failures.c_str());
  view_.ShowNotice(
      ReadLanguageTextOrEnglish(context_, kSnapshotInterfaceSection, "IDS_SNAPSHOTNOTTAGGED") +
      " " + WriteFailureText(context_, marking.failure));
}

void CFrameViewPort::ShowSnapshotTip(const std::string& path, int width, int height, bool preview) {
  if (modals.snapshotTip) modals.snapshotTip(path, width, height, preview);
}

void CFrameViewPort::RestyleRoute() {
  map_.SetRouteStyle(browser(), context_.settings.routeBySpeed, context_.settings.speedUnit);
}

void CFrameViewPort::ShowTrackChoice(const TrackChoice& choice) {
  map_.SetTrackChoice(browser(), choice.offered, choice.import);
}

void CFrameViewPort::ShowTrackImport(const TrackImportResult& result) {
  if (!result.stored) std::fprintf(stderr, "korvane: track import: %s\n", result.error.c_str());
  std::string text = ReadLanguageTextOrEnglish(
      context_, kEventInterfaceSection, result.stored ? "IDS_GPXIMPORTED" : "IDS_GPXNOTIMPORTED");
  if (const auto at = text.find("%d"); at != std::string::npos) {
    text.replace(at, 2, std::to_string(result.clipsWithTrack));
  }
  if (result.writeFailure) text += ": " + WriteFailureText(context_, *result.writeFailure);
  view_.ShowNotice(text);
}

void CFrameViewPort::ShowChoiceNotKept(WriteFailure failure) {
  view_.ShowNotice(
      ReadLanguageTextOrEnglish(context_, kEventInterfaceSection, "IDS_CHOICENOTSAVED") + " " +
      WriteFailureText(context_, failure));
}

void CFrameViewPort::ReloadCaptions() {
  RebuildLanguagePath(context_);
  view_.ReadCaptions(context_);
  map_.SetPageTexts(browser(), PageTextsOf(context_));
}

}  // namespace korvane
