#include "ui/playback_controller.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "media/player_state.h"
#include "telemetry/clock_offset.h"
#include "telemetry/pipeline_lines.h"
#include "ui/gps_panel.h"
#include "ui/playback_speed.h"
#include "ui/playlist_files.h"
#include "ui/time_text.h"

namespace korvane {

namespace {

constexpr char kScreenshotCommand[] = "screenshot 0";

// A player process is on: starting, playing or paused.
bool IsRunning(PlayerState state) {
  return state == PlayerState::Starting || state == PlayerState::Playing ||
         state == PlayerState::Paused;
}

}  // namespace

bool CPlaybackController::OnClick(const std::string& name) {
  using Action = void (CPlaybackController::*)();
  static const std::array<std::pair<const char*, Action>, 14> kTable{{
      {"titleBtn", nullptr},
      {"btnClear", &CPlaybackController::Clear},
      {"btnFull", &CPlaybackController::EnterFullScreen},
      {"btnSmall", &CPlaybackController::LeaveFullScreen},
      {"btnSShot", &CPlaybackController::TakeSnapshot},
      {"btnSetting", &CPlaybackController::OpenSettings},
      {"btnVolume", &CPlaybackController::Mute},
      {"btnMute", &CPlaybackController::Unmute},
      {"btnStop", &CPlaybackController::StopRoutine},
      {"btnPrev", &CPlaybackController::Previous},
      {"btnNext", &CPlaybackController::Next},
      {"btnPlay", &CPlaybackController::Play},
      {"btnPause", &CPlaybackController::Pause},
      {"btnOpenBig", &CPlaybackController::Open},
  }};
  for (const auto& [control, action] : kTable) {
    if (name != control) continue;
    if (action != nullptr) (this->*action)();
    return true;
  }
  return false;
}

bool CPlaybackController::HasCurrent() const {
  std::string path;
  return b_.playlist.GetCurrentPath(path) != 0;
}

void CPlaybackController::ProgressReset() {
  b_.view.SetProgressRange(0);
  b_.view.SetProgressValue(0);
  b_.view.SetChartCursor(-1.0);
  b_.texts.playTime = kIdlePlayTime;
  b_.view.RefreshLabels();
}

void CPlaybackController::ResetStoreWhenIdle() {
  // The extraction thread writes the store while a run is under way; a run that starts resets the
  // store itself, so nothing is lost by leaving it alone here.
  if (!b_.pipeline.busy()) b_.view.ResetStore();
}

void CPlaybackController::StopRoutine() {
  b_.pipeline.Stop();
  b_.player.Stop();
  if (b_.followers != nullptr) b_.followers->Stop();
  b_.duration = 0;
  b_.position = 0;
  ProgressReset();
  b_.view.ShowPlaying(false);
  b_.view.ResetAccChart();
  b_.view.ResetMarker();
}

void CPlaybackController::OpenInPlayer(const std::string& path, bool pollSubtitles) {
  const PlayerState state = b_.player.state();
  if (state == PlayerState::Stopping || state == PlayerState::Starting) return;
  b_.player.Stop();
  b_.duration = 0;
  b_.position = 0;
  b_.player.Play(path, pollSubtitles);
}

void CPlaybackController::StartCurrentItem() {
  std::string path;
  if (b_.playlist.GetCurrentPath(path) == 0) return;
  b_.view.ResetAccChart();
  // The route is otherwise cleared only by the new file's first chunk, which a file without
  // telemetry never delivers.
  b_.view.ClearRoute();
  b_.view.ShowPlaying(true);
  ProgressReset();
  // A clip fed from another track has no telemetry subtitle: ffmpeg would never connect and every
  // poll would answer "none", resetting what the fed track shows.
  const ClipFeed feed = b_.feed != nullptr ? b_.feed->FeedOf(path) : ClipFeed::Pipeline;
  fed_ = feed == ClipFeed::Fed;
  if (b_.feed != nullptr) b_.view.ShowTrackChoice(b_.feed->ChoiceOf(path));
  startedPath_ = path;
  if (fed_) {
    b_.pipeline.Stop();
    LoadFedTrack(path);
  }
  OpenInPlayer(path, !fed_);
  if (b_.followers != nullptr && b_.player.state() != PlayerState::Idle) {
    // The leader is the channel the moment plays (the one with the telemetry); the others follow.
    std::vector<std::string> others = b_.playlist.playlist().CurrentChannelPaths();
    if (!others.empty()) others.erase(others.begin());
    b_.followers->Start(others);
  }
  // A clip the index does not know yet plays through the pipeline, as most clips do, while the
  // indexer reads it; OnClipRead moves it to the feed when it has another source.
  if (!fed_) b_.pipeline.ExtractFile(path);
  if (feed == ClipFeed::Unread) b_.feed->ReadNow(path);
  if (b_.onClipStarted) b_.onClipStarted(path);
}

void CPlaybackController::LoadFedTrack(const std::string& path) {
  const bool loaded = b_.feed->Load(path);
  if (!b_.feed->loadedHasGValues()) b_.view.ShowNoGValues();
  if (loaded) b_.view.ConsumeTrack();
}

void CPlaybackController::OnClipRead() {
  if (b_.feed == nullptr || startedPath_.empty() || !b_.feed->ReadDone(startedPath_)) return;
  if (fed_ || b_.feed->FeedOf(startedPath_) != ClipFeed::Fed) return;
  const PlayerState state = b_.player.state();
  if (state != PlayerState::Starting && state != PlayerState::Playing &&
      state != PlayerState::Paused) {
    return;
  }
  // The run writes the store until it has stopped; the player goes on where it is.
  b_.pipeline.Stop();
  b_.player.SetSubtitlePoll(false);
  fed_ = true;
  b_.view.ResetAccChart();
  b_.view.ClearRoute();
  b_.view.ShowTrackChoice(b_.feed->ChoiceOf(startedPath_));
  LoadFedTrack(startedPath_);
  ShowFedMoment();
}

void CPlaybackController::PlayEntryAt(int index, double seconds) {
  if (index < 0 || index >= b_.playlist.playlist().count()) return;
  b_.lastSwitchTick = b_.tick();
  b_.playlist.ActivateEntry(index);
  if (!HasCurrent()) return;
  StartCurrentItem();
  pendingSeek_ = seconds;
}

void CPlaybackController::Play() {
  switch (b_.player.state()) {
    case PlayerState::Paused:
      b_.player.TogglePause();
      b_.view.ShowPlaying(true);
      break;
    case PlayerState::Idle:
      if (HasCurrent()) StartCurrentItem();
      break;
    default:
      break;
  }
}

void CPlaybackController::Pause() {
  if (b_.player.state() != PlayerState::Playing) return;
  b_.player.TogglePause();
  b_.view.ShowPlaying(false);
}

void CPlaybackController::OnItemActivate(int index) {
  const std::uint32_t now = b_.tick();
  if (!SwitchAllowed(b_.lastSwitchTick, now, kActivateGuardMs)) return;
  b_.lastSwitchTick = now;
  b_.playlist.ActivateEntry(index);
  if (HasCurrent()) StartCurrentItem();
}

void CPlaybackController::Step(bool forward) {
  const std::uint32_t now = b_.tick();
  if (!SwitchAllowed(b_.lastSwitchTick, now, kStepGuardMs)) return;
  b_.lastSwitchTick = now;
  const int moved = forward ? b_.playlist.SelectNext() : b_.playlist.SelectPrevious();
  if (moved != 1) return;
  StopRoutine();
  Play();
}

void CPlaybackController::Next() {
  Step(true);
}
void CPlaybackController::Previous() {
  Step(false);
}

void CPlaybackController::EndOfFile() {
  b_.player.Stop();
  if (b_.followers != nullptr) b_.followers->Stop();
  b_.duration = 0;
  b_.position = 0;
  b_.view.ResetAccChart();
  b_.view.ShowPlaying(false);
  b_.view.ResetMarker();
  ProgressReset();
  ResetStoreWhenIdle();
  if (b_.playlist.SelectNext() == 1) Play();
}

void CPlaybackController::Open() {
  if (b_.playlist.OpenFileDialog() != 1 || !HasCurrent()) return;
  b_.view.ResetMarker();
  StartCurrentItem();
}

void CPlaybackController::OnDropFiles(const std::vector<std::string>& paths) {
  const DroppedFiles dropped = SplitDroppedFiles(paths);
  if (dropped.tracks.empty()) {
    b_.playlist.DropFiles(paths);
    StartAfterDrop();
    return;
  }
  // A folder keeps one import: of several tracks dropped at once, the last is taken.
  if (dropped.clips.empty()) {
    ImportTrackFile(dropped.tracks.back());
    return;
  }
  b_.playlist.DropFiles(dropped.clips);
  ImportTrack(dropped.tracks.back());
  StartAfterDrop();
}

void CPlaybackController::ImportTrackFile(const std::string& gpxPath) {
  if (ImportTrack(gpxPath)) StartAfterDrop();
}

bool CPlaybackController::ImportTrack(const std::string& gpxPath) {
  std::string current;
  if (b_.feed == nullptr || b_.playlist.GetCurrentPath(current) == 0) {
    b_.view.ShowTrackImport({false, 0, "no folder of clips is open", std::nullopt});
    return false;
  }
  const std::string folder = SplitPath(current).folder;
  std::vector<std::string> clips;
  for (const auto& entry : b_.playlist.playlist().entries()) {
    if (SplitPath(entry->path).folder == folder) clips.push_back(entry->path);
  }
  const TrackImportResult result = b_.feed->ImportTrack(gpxPath, folder, clips);
  b_.view.ShowTrackImport(result);
  // A clip with its own track may now be played from the import instead.
  if (result.stored) b_.view.ShowTrackChoice(b_.feed->ChoiceOf(current));
  // The clip on screen starts again from the imported track when it now plays from it.
  return result.stored && !fed_ && b_.feed->Feeds(current);
}

void CPlaybackController::ChooseTrack(bool import) {
  std::string path;
  if (b_.feed == nullptr || b_.playlist.GetCurrentPath(path) == 0) return;
  if (const ChoiceKept kept = b_.feed->ChooseImport(path, import); !kept) {
    b_.view.ShowChoiceNotKept(kept.failure);
    return;
  }
  RestartWhereItIs();
}

void CPlaybackController::ClockOffsetChanged() {
  if (fed_ && HasCurrent()) RestartWhereItIs();
}

void CPlaybackController::RestartWhereItIs() {
  const PlayerState state = b_.player.state();
  const bool running = state == PlayerState::Playing || state == PlayerState::Paused;
  PlayEntryAt(b_.playlist.playlist().current(), running ? b_.player.timePosition() : 0.0);
}

void CPlaybackController::PlayClips(const std::vector<std::string>& paths) {
  if (b_.playlist.LoadClips(paths) == 0) return;
  b_.lastSwitchTick = b_.tick();
  StartAfterDrop();
}

void CPlaybackController::StartAfterDrop() {
  if (!HasCurrent()) return;
  b_.view.ResetMarker();
  StartCurrentItem();
}

void CPlaybackController::OnDeleteItem() {
  if (b_.playlist.DeleteClickedEntry() != 1) return;
  const PlayerState state = b_.player.state();
  if (state != PlayerState::Playing && state != PlayerState::Paused) return;
  StopRoutine();
  b_.view.ResetAccChart();
  Play();
}

void CPlaybackController::Clear() {
  if (b_.playlist.ClearPlaylist()) StopRoutine();
}

void CPlaybackController::Mute() {
  if (b_.player.muted()) return;
  b_.player.SetMute(true);
  b_.view.ShowMuted(true);
  b_.view.SetVolumeSlider(0);
}

void CPlaybackController::Unmute() {
  if (!b_.player.muted()) return;
  b_.player.SetMute(false);
  b_.view.ShowMuted(false);
  b_.view.SetVolumeSlider(b_.player.volume());
}

void CPlaybackController::Seek(double seconds) {
  if (!std::isfinite(seconds)) return;
  const PlayerState state = b_.player.state();
  if (state == PlayerState::Playing || state == PlayerState::Paused) {
    b_.player.Seek(seconds);
    if (b_.followers != nullptr) b_.followers->Seek(seconds);
  }
  b_.position = std::clamp(static_cast<int>(std::min(seconds, 1e9)), 0, std::max(b_.duration, 0));
}

IPlayerPort* CPlaybackController::ChannelPlayer(int channel) const {
  if (channel <= 0) return &b_.player;
  return b_.followers != nullptr ? b_.followers->player(channel - 1) : nullptr;
}

void CPlaybackController::TakeSnapshot() {
  if (b_.player.state() != PlayerState::Playing) return;
  // The picture the user looks at; a main channel that has just left the moment leaves the
  // leader's.
  snapshotChannel_ = b_.mainChannel ? b_.mainChannel() : 0;
  if (ChannelPlayer(snapshotChannel_) == nullptr) snapshotChannel_ = 0;
  ChannelPlayer(snapshotChannel_)->SendCommand(kScreenshotCommand);
}

void CPlaybackController::SnapshotShown() {
  const IPlayerPort* taker = ChannelPlayer(snapshotChannel_);
  // Its player has gone with its channel, and so has the file's name.
  if (taker == nullptr) return;
  const std::string path = taker->screenshotPath();
  b_.player.TogglePause();
  // Only a moment the panel shows for this file; without one the picture stays as the player
  // wrote it.
  if (b_.gpsValid != 0 && shownProcess_ == b_.player.processId()) {
    b_.view.MarkSnapshot(path, shownRecord_, b_.settings.snapshotStamp);
  }
  b_.view.ShowSnapshotTip(path, taker->videoWidth(), taker->videoHeight(),
                          b_.settings.snapshotPreview);
  b_.player.TogglePause();
}

void CPlaybackController::OpenSettings() {
  const std::string languageBefore = b_.settings.languageFile;
  const SpeedUnit unitBefore = b_.settings.speedUnit;
  const std::string cornerBefore = b_.settings.pictureCorner;
  const int widthBefore = b_.settings.pictureWidthPercent;
  if (b_.view.RunSettingsWindow() != 1) return;
  // At once, playing or not: the next moment's pictures are laid out the same way.
  if (b_.settings.pictureCorner != cornerBefore || b_.settings.pictureWidthPercent != widthBefore) {
    b_.view.PlacePictures();
  }
  const bool languageChanged = b_.settings.languageFile != languageBefore;
  const bool unitChanged = b_.settings.speedUnit != unitBefore;
  if (!languageChanged && !unitChanged) return;
  if (languageChanged) b_.view.ReloadCaptions();
  if (unitChanged) {
    ShowSpeedIn(b_.texts, b_.settings.speedUnit);
    b_.view.RestyleRoute();
  }
  RecomposeLabels(b_.texts, b_.gpsShown, b_.gpsValid);
  b_.view.RefreshLabels();
}

void CPlaybackController::EnterFullScreen() {
  if (b_.fullScreen != 0) return;
  b_.view.EnterFullScreenWindow();
  b_.fullScreen = 1;
}

void CPlaybackController::LeaveFullScreen() {
  if (b_.fullScreen == 0) return;
  b_.view.LeaveFullScreenWindow();
  b_.fullScreen = 0;
}

void CPlaybackController::OnVideoDoubleClick() {
  if (b_.fullScreen != 0) {
    LeaveFullScreen();
  } else {
    EnterFullScreen();
  }
}

void CPlaybackController::OnPlayerKey(const PlayerKey& key) {
  switch (key.action) {
    case KeyAction::kSnapshot:
      TakeSnapshot();
      break;
    case KeyAction::kPlayPause:
      if (b_.player.state() == PlayerState::Playing) {
        Pause();
      } else {
        Play();
      }
      break;
    case KeyAction::kSeek:
      SeekBy(key.amount);
      break;
    case KeyAction::kVolume:
      StepVolume(key.amount);
      break;
    case KeyAction::kFrameStep:
      StepFrame(key.amount);
      break;
    case KeyAction::kSpeedStep:
      StepSpeed(key.amount);
      break;
    case KeyAction::kMute:
      if (b_.player.muted()) {
        Unmute();
      } else {
        Mute();
      }
      break;
    default:
      break;
  }
}

void CPlaybackController::OnVideoWheel(int delta) {
  wheelDelta_ += delta;
  const int notches = wheelDelta_ / kWheelNotch;
  wheelDelta_ -= notches * kWheelNotch;
  if (notches != 0) StepVolume(notches * kVolumeKeyStep);
}

void CPlaybackController::SeekBy(int seconds) {
  const PlayerState state = b_.player.state();
  if (state != PlayerState::Playing && state != PlayerState::Paused) return;
  Seek(std::clamp(b_.position + seconds, 0, b_.duration));
  ShowCurrentTime();
}

void CPlaybackController::StepVolume(int step) {
  const int volume = std::clamp(b_.player.volume() + step, 0, 100);
  b_.player.SetVolume(volume);
  if (!b_.player.muted()) b_.view.SetVolumeSlider(volume);
}

void CPlaybackController::StepFrame(int frames) {
  if (frames == 0 || b_.player.state() != PlayerState::Paused) return;
  b_.player.StepFrame(frames > 0);
  if (b_.followers != nullptr) b_.followers->StepFrame(frames > 0);
}

void CPlaybackController::StepSpeed(int rungs) {
  const double speed = SpeedAfterSteps(b_.player.speed(), rungs);
  b_.player.SetSpeed(speed);
  if (b_.followers != nullptr) b_.followers->SetSpeed(speed);
  b_.texts.playbackSpeed = SpeedText(speed);
  b_.view.RefreshLabels();
}

bool CPlaybackController::OnDefaultKey(WPARAM key) {
  if (key == kKeyEnter) {
    EnterFullScreen();
    return false;
  }
  if (key == kKeyEscape) {
    LeaveFullScreen();
    return true;
  }
  return false;
}

void CPlaybackController::ShowTotalTime() {
  b_.texts.totalTime = FormatClock(b_.duration);
  b_.texts.currentTime = "00:00:00/";
  b_.texts.playTime = b_.texts.currentTime + b_.texts.totalTime;
  b_.view.RefreshLabels();
}

void CPlaybackController::ShowCurrentTime() {
  b_.texts.currentTime = FormatClock(b_.position) + "/";
  b_.texts.playTime = b_.texts.currentTime + b_.texts.totalTime;
  b_.view.RefreshLabels();
  b_.view.SetProgressValue(b_.position);
}

void CPlaybackController::ShowNoGps() {
  ShowNoGpsTexts(b_.texts, GpsFlags{b_.gpsShown, b_.gpsValid});
  b_.view.RefreshLabels();
}

void CPlaybackController::OnPlayerMessage(WPARAM code) {
  switch (static_cast<int>(code)) {
    case kPlayerQuit:
      // Only a player that was stopped quits on request. Stopped to start the next clip, its quit
      // comes after that start, and must not wipe what the new clip shows (a fed clip's route and
      // its "no G values" notice are put up at its start, and nothing puts them up again).
      if (IsRunning(b_.player.state())) break;
      [[fallthrough]];
    case kPlayerPipeFailed:
      b_.view.ResetAccChart();
      ProgressReset();
      b_.view.ResetMarker();
      ResetStoreWhenIdle();
      break;
    case kPlayerStarted:
      b_.duration = static_cast<int>(b_.player.length());
      b_.view.SetProgressRange(b_.duration);
      b_.view.SetProgressValue(0);
      ShowTotalTime();
      if (pendingSeek_ >= 0) Seek(std::exchange(pendingSeek_, -1.0));
      break;
    case kPlayerEndOfFile:
      EndOfFile();
      break;
    case kPlayerAspect:
      b_.view.SetVideoAspect(b_.player.aspect());
      break;
    case kPlayerPosition:
      b_.position = b_.player.position();
      ShowCurrentTime();
      b_.view.SetChartCursor(b_.player.timePosition());
      // The leader's every answer is the followers' tick: they are compared as often as it is.
      if (b_.followers != nullptr) b_.followers->Tick(ViewOf(b_.player));
      if (fed_) ShowFedMoment();
      break;
    case kPlayerScreenshot:
      SnapshotShown();
      break;
    case kPlayerNoSubtitle:
      // A fed clip is never polled: the answer is the previous clip's, which was.
      if (fed_) break;
      b_.view.ResetMarker();
      ResetStoreWhenIdle();
      b_.view.ResetAccChart();
      ShowNoGps();
      break;
    default:
      break;
  }
}

void CPlaybackController::OnPipelineMessage(WPARAM code) {
  if (code != kExtractorChunkReady || b_.pipeline.stopRequested()) return;
  b_.view.ConsumeTrack();
}

void CPlaybackController::OnPositionMessage(WPARAM processId, LPARAM hasPosition) {
  // A fed clip is never polled: an answer is one the poll gave before the clip moved to the feed,
  // and a "no position" would wipe the curves the feed has drawn, which nothing draws again.
  if (processId != b_.player.processId() || fed_) return;
  if (hasPosition == 1) {
    ShowMoment(b_.liveRecord(), static_cast<std::uint32_t>(processId));
    return;
  }
  b_.view.ResetAccChart();
  b_.view.ResetMarker();
  ShowNoGps();
}

void CPlaybackController::ShowMoment(const TelemetryRecord& record, std::uint32_t processId) {
  // The live parse reports its success through its message, not through the record's flag.
  shownRecord_ = record;
  shownRecord_.valid = true;
  // Shifted here, so the snapshot's stamp reads the time the panel shows.
  ShiftMoment(shownRecord_, ShownClockOffset());
  shownProcess_ = processId;
  ShowTelemetryTexts(b_.texts, GpsFlags{b_.gpsShown, b_.gpsValid}, shownRecord_,
                     b_.settings.speedUnit);
  b_.view.RefreshLabels();
  b_.view.SetCarPosition(record.longitude, record.latitude);
}

int CPlaybackController::ShownClockOffset() const {
  if (fed_ || startedPath_.empty() || !b_.clockOffsetOf) return 0;
  return b_.clockOffsetOf(startedPath_);
}

void CPlaybackController::ShowFedMoment() {
  const std::optional<TelemetryRecord> record = b_.feed->RecordAt(b_.player.timePosition());
  if (!record) {
    b_.view.ResetMarker();
    ShowNoGps();
    return;
  }
  ShowMoment(*record, b_.player.processId());
}

}  // namespace korvane
