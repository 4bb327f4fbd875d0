// Stand-ins for the playback controller's ports: a player that follows the state rules of the
// real one without a process, a pipeline, and a view that records what was done to it. Plus a
// small playlist world on a temporary folder and a hand-driven clock.
#pragma once
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "telemetry/clock_offset.h"
#include "ui/controller_ports.h"
#include "ui/playback_controller.h"

namespace korvane::test {

class FakePlayer : public IPlayerPort {
 public:
  PlayerState state() const override { return state_; }
  void Stop() override {
    if (state_ != PlayerState::Idle) log.push_back("stop");
    state_ = PlayerState::Idle;
  }
  void Play(const std::string& path, bool pollSubtitles) override {
    log.push_back("play " + path + (pollSubtitles ? "" : " (no subtitle poll)"));
    state_ = PlayerState::Playing;
    ++processId_;
  }
  void SetSubtitlePoll(bool poll) override {
    log.push_back(poll ? "subtitle poll on" : "subtitle poll off");
  }
  void TogglePause() override {
    if (state_ == PlayerState::Playing) {
      state_ = PlayerState::Paused;
      log.push_back("pause");
    } else if (state_ == PlayerState::Paused) {
      state_ = PlayerState::Playing;
      log.push_back("resume");
    }
  }
  void SendCommand(const std::string& command) override { log.push_back(command); }
  void SetVolume(int value) override { volume_ = value; }
  void SetMute(bool mute) override { muted_ = mute; }
  bool muted() const override { return muted_; }
  int volume() const override { return volume_; }
  void Seek(double seconds) override {
    char text[48];
    std::snprintf(text, sizeof text, "seek %g", seconds);
    log.push_back(text);
  }
  void StepFrame(bool forward) override {
    if (state_ == PlayerState::Paused) log.push_back(forward ? "frame +1" : "frame -1");
  }
  void SetSpeed(double speed) override { speed_ = speed; }
  double speed() const override { return speed_; }
  double length() const override { return length_; }
  int position() const override { return position_; }
  double timePosition() const override { return timePosition_; }
  double aspect() const override { return 16.0 / 9.0; }
  int videoWidth() const override { return 640; }
  int videoHeight() const override { return 360; }
  std::uint32_t processId() const override { return processId_; }
  std::string screenshotPath() const override { return screenshot; }

  void SetState(PlayerState state) { state_ = state; }
  std::vector<std::string> log;
  double length_ = 61.7;
  int position_ = 0;
  double timePosition_ = 0;
  std::string screenshot = "/data/shot0001.png";

 private:
  PlayerState state_ = PlayerState::Idle;
  std::uint32_t processId_ = 100;
  int volume_ = 40;
  bool muted_ = false;
  double speed_ = 1.0;
};

class FakePipeline : public IPipelinePort {
 public:
  void ExtractFile(const std::string& path) override { extracted.push_back(path); }
  void Stop() override { ++stops; }
  bool stopRequested() const override { return stopRequested_; }
  bool busy() const override { return busy_; }

  std::vector<std::string> extracted;
  int stops = 0;
  bool stopRequested_ = false;
  bool busy_ = false;
};

class RecordingView : public IViewPort {
 public:
  void ShowPlaying(bool playing) override { pauseShown = playing; }
  void ShowMuted(bool muted) override { muteShown = muted; }
  void SetVolumeSlider(int value) override { volumeSlider = value; }
  void SetProgressRange(int maximum) override {
    progressMax = maximum;
    if (progress > maximum) progress = maximum;
  }
  void SetProgressValue(int value) override {
    progress = value > progressMax ? progressMax : value;
  }
  void SetChartCursor(double seconds) override { cursor = seconds; }
  void RefreshLabels() override { ++refreshes; }
  void ResetAccChart() override {
    ++chartResets;
    gNotice = false;
  }
  void ResetMarker() override { ++markerResets; }
  void ClearRoute() override { ++routeClears; }
  void ResetStore() override { ++storeResets; }
  void ConsumeTrack() override { ++consumed; }
  void ShowNoGValues() override {
    ++noGValues;
    gNotice = true;
  }
  void SetCarPosition(double longitude, double latitude) override { car = {longitude, latitude}; }
  void SetVideoAspect(double aspect) override { videoAspect = aspect; }
  void PlacePictures() override { ++picturePlacements; }
  void EnterFullScreenWindow() override { windowLog.push_back("enter"); }
  void LeaveFullScreenWindow() override { windowLog.push_back("leave"); }
  void MarkSnapshot(const std::string& path, const TelemetryRecord& record, bool stamp) override {
    marks.push_back(path + " " + std::to_string(record.year) + (record.valid ? " valid" : "") +
                    (stamp ? " stamp" : ""));
    markedHour = record.hour;
  }
  void ShowSnapshotTip(const std::string& path, int, int, bool preview) override {
    tips.push_back(path + (preview ? " preview" : " folder"));
  }
  int RunSettingsWindow() override {
    if (onSettings) onSettings();
    return settingsResult;
  }
  void ReloadCaptions() override { ++captionReloads; }
  void RestyleRoute() override { ++routeRestyles; }
  void ShowTrackImport(const TrackImportResult& result) override { trackImports.push_back(result); }
  void ShowChoiceNotKept(WriteFailure failure) override { choicesNotKept.push_back(failure); }
  void ShowTrackChoice(const TrackChoice& choice) override { trackChoice = choice; }

  bool pauseShown = false;
  bool muteShown = false;
  int volumeSlider = -1;
  int progressMax = -1;
  int progress = -1;
  double cursor = -2;  // as no call ever left it
  int refreshes = 0, chartResets = 0, markerResets = 0, routeClears = 0, storeResets = 0,
      consumed = 0, noGValues = 0;
  std::vector<double> car;
  double videoAspect = 0;
  std::vector<std::string> windowLog;
  std::vector<std::string> tips;
  std::vector<std::string> marks;
  int markedHour = -1;  // of the last moment marked
  std::function<void()> onSettings;
  int settingsResult = 1;
  int captionReloads = 0;
  int routeRestyles = 0;
  int picturePlacements = 0;
  bool gNotice = false;  // the chart's "no G values" notice: up until the chart's next reset
  std::vector<TrackImportResult> trackImports;
  std::optional<TrackChoice> trackChoice;  // the last shown
  std::vector<WriteFailure> choicesNotKept;
};

// Feeds the clips named in `fedClips` from one record at 5 s (fix until 7 s, the log's life); the
// clips in `unreadClips` are not known until read, and then fed.
class FakeFeed : public ITrackFeedPort {
 public:
  ClipFeed FeedOf(const std::string& path) override {
    const auto has = [&path](const std::vector<std::string>& list) {
      return std::find(list.begin(), list.end(), path) != list.end();
    };
    if (has(unreadClips)) return ClipFeed::Unread;
    return has(fedClips) ? ClipFeed::Fed : ClipFeed::Pipeline;
  }
  void ReadNow(const std::string& path) override { readsAsked.push_back(path); }
  bool ReadDone(const std::string& path) override {
    if (std::find(unreadClips.begin(), unreadClips.end(), path) == unreadClips.end()) return false;
    std::erase(unreadClips, path);
    fedClips.push_back(path);
    return true;
  }
  bool Load(const std::string& path) override {
    loaded.push_back(path);
    return true;
  }
  bool loadedHasGValues() const override { return gValues; }
  std::optional<TelemetryRecord> RecordAt(double seconds) const override {
    if (seconds < 5.0 || seconds > 7.0) return std::nullopt;
    TelemetryRecord r;
    r.valid = true;
    r.longitude = -9.14;
    r.latitude = 38.72;
    r.year = 2026;
    r.month = 12;
    r.day = 31;
    r.hour = 23;
    return r;
  }
  TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                const std::vector<std::string>& clips) override {
    imports.push_back({gpxPath, clipFolder, clips});
    fedClips.insert(fedClips.end(), fedAfterImport.begin(), fedAfterImport.end());
    return {true, static_cast<int>(fedAfterImport.size()), "", std::nullopt};
  }
  // The clips in `ownTrackClips` are offered the choice; a chosen one is fed.
  TrackChoice ChoiceOf(const std::string& path) override {
    const auto has = [&path](const std::vector<std::string>& list) {
      return std::find(list.begin(), list.end(), path) != list.end();
    };
    return {has(ownTrackClips), has(ownTrackClips) && has(fedClips)};
  }
  ChoiceKept ChooseImport(const std::string& path, bool import) override {
    if (!keepsChoices) return {false, WriteFailure::DiskFull};
    std::erase(fedClips, path);
    if (import) fedClips.push_back(path);
    return {};
  }
  struct Import {
    std::string gpxPath, clipFolder;
    std::vector<std::string> clips;
  };
  std::vector<std::string> fedClips;
  std::vector<std::string> unreadClips;
  std::vector<std::string> readsAsked;
  bool gValues = false;
  std::vector<std::string> loaded;
  std::vector<Import> imports;
  std::vector<std::string> fedAfterImport;  // clips that play from an import once it is made
  std::vector<std::string> ownTrackClips;   // clips with a track of their own and an import
  bool keepsChoices = true;                 // false: the data folder cannot be written
};

// A playlist host with the default options and a view that only answers the delete index.
class QuietPlaylistHost : public IPlaylistHost {
 public:
  std::string ReadSettingString(std::string_view, std::string_view fallback) override {
    return std::string(fallback);
  }
  void WriteSettingString(std::string_view, std::string_view) override {}
  std::string ReadLanguageText(std::string_view) override { return ""; }
  std::optional<std::string> ChooseFile(const OpenFilter&) override { return chosen; }
  bool AskBeforeClear() override { return false; }
  int ShowClearTip() override { return 1; }
  void ListChanged(const std::vector<std::string>&, int) override {}
  std::optional<std::string> chosen;
};

class DeleteIndexView : public IPlaylistView {
 public:
  void RemoveAllNodes() override {}
  void AppendNode(const PlaylistEntry&) override {}
  void RemoveNodeAt(int) override {}
  void SelectNode(int) override {}
  void SetPlayingNode(int, bool) override {}
  int GetDeleteItemIndex() const override { return deleteIndex; }
  int deleteIndex = -1;
};

// The controller wired to the fakes, with a folder of three clips a.mp4, b.mp4, c.mp4.
struct ControllerWorld {
  ControllerWorld()
      : playlist(host, &playlistView),
        controller(ControllerBinding{player,
                                     pipeline,
                                     view,
                                     playlist,
                                     texts,
                                     gpsShown,
                                     gpsValid,
                                     fullScreen,
                                     duration,
                                     position,
                                     lastSwitch,
                                     settings,
                                     [this] { return now; },
                                     [this]() -> const TelemetryRecord& { return record; },
                                     {},
                                     &feed,
                                     offsetOf,
                                     &followers,
                                     [this] { return mainChannel; }}) {
    playlist.LoadPlaylistOptions();
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) std::ofstream(dir.path() / name).put('x');
  }
  std::string Clip(const char* name) const { return dir.str() + name; }
  // Drops one clip of the folder: the folder enters the list and the clip starts.
  void DropClip(const char* name) { controller.OnDropFiles({Clip(name)}); }

  TempDir dir;
  FakePlayer player;
  FakePipeline pipeline;
  RecordingView view;
  QuietPlaylistHost host;
  DeleteIndexView playlistView;
  CPlaylistManager playlist;
  ViewTexts texts;
  int gpsShown = 0, gpsValid = 0, fullScreen = 0, duration = 0, position = 0;
  std::uint32_t lastSwitch = 0;
  std::uint32_t now = 50000;
  Settings settings;
  TelemetryRecord record;
  FakeFeed feed;
  ClockOffsets clockOffsets;
  std::function<int(const std::string&)> offsetOf = [this](const std::string& clip) {
    return clockOffsets.OfClip(clip);
  };
  // The fake players of the moment's other channels, in the order made; each lives as long as
  // its follower does.
  std::vector<FakePlayer*> followerPlayers;
  std::vector<std::string> followerLog;
  CChannelFollowers followers{[this](int) -> std::unique_ptr<IPlayerPort> {
                                auto player = std::make_unique<FakePlayer>();
                                followerPlayers.push_back(player.get());
                                return player;
                              },
                              [this](const std::string& line) { followerLog.push_back(line); }};
  int mainChannel = 0;  // whose picture is the main one
  CPlaybackController controller;
};

}  // namespace korvane::test
