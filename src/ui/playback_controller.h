// CPlaybackController: what the main window's buttons, sliders, keys and worker messages do to the
// player, the extraction pipeline, the playlist and the view. Owns no resource: it works on the
// ports (controller_ports.h), the playlist and the view's texts and flags it is given. UI thread.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_message.h"
#include "settings/application_context.h"
#include "telemetry/telemetry_record.h"
#include "ui/channel_followers.h"
#include "ui/controller_ports.h"
#include "ui/player_keys.h"
#include "ui/playlist_manager.h"
#include "ui/view_manager.h"

namespace korvane {

// Milliseconds that must pass after a change of the playing item before the next is taken.
constexpr unsigned kActivateGuardMs = 1000;
constexpr unsigned kStepGuardMs = 2000;

// Keys the controller looks at.
constexpr WPARAM kKeyEnter = 13;
constexpr WPARAM kKeyEscape = 27;

// Wheel delta of one notch; each notch over the video steps the volume by kVolumeKeyStep.
constexpr int kWheelNotch = 120;

struct ControllerBinding {
  IPlayerPort& player;
  IPipelinePort& pipeline;
  IViewPort& view;
  CPlaylistManager& playlist;
  ViewTexts& texts;
  int& gpsShown;
  int& gpsValid;
  int& fullScreen;
  int& duration;  // of the playback context, whole seconds
  int& position;
  std::uint32_t& lastSwitchTick;
  const Settings& settings;
  std::function<std::uint32_t()> tick;                 // the millisecond tick
  std::function<const TelemetryRecord&()> liveRecord;  // the live parser's record
  // Told the path of each clip that starts playing; unset: nobody.
  std::function<void(const std::string&)> onClipStarted = {};
  // Null: every clip plays from its own subtitle track.
  ITrackFeedPort* feed = nullptr;
  // The camera clock offset of a clip's folder, in seconds; unset: none.
  std::function<int(const std::string&)> clockOffsetOf = {};
  // The players of the moment's other channels; null: only the channel with the telemetry plays.
  CChannelFollowers* followers = nullptr;
  // The channel whose picture is the main one (0: the leader, n: follower n - 1), which takes the
  // snapshots; unset: the leader.
  std::function<int()> mainChannel = {};
};

class CPlaybackController {
 public:
  explicit CPlaybackController(ControllerBinding binding) : b_(std::move(binding)) {}

  // The click table; false for a name it does not know (the base then acts alone).
  bool OnClick(const std::string& name);
  // The camera clock offset the shown times of the playing clip take: its folder's when they come
  // from the camera's clock, 0 when it plays from a GPS receiver's track (a log, an import) or
  // from nothing.
  int ShownClockOffset() const;
  // An item of the playlist tree was activated; `index` is the entry (-1 changes nothing).
  void OnItemActivate(int index);
  // Double click on the video: full screen on or off.
  void OnVideoDoubleClick();
  // A key of the player's table (player_keys.h), Enter and Escape aside, which come through
  // OnDefaultKey. Each acts only in the states where it means something (F8 and the pause while
  // playing, seeks while a file is open) and does nothing otherwise.
  void OnPlayerKey(const PlayerKey& key);
  // Enter and Escape: true when the controller answered (Escape), so the base must not act.
  bool OnDefaultKey(WPARAM key);
  // The mouse wheel over the video: the volume, kVolumeKeyStep a notch; parts of a notch add up.
  void OnVideoWheel(int delta);
  void OnProgressChanged(int value) { Seek(value); }
  void OnVolumeChanged(int value) { b_.player.SetVolume(value); }
  // Dropped files, and the files named on the command line: a GPX track among them is imported
  // for the current folder (ImportTrack), the playlist takes the others, then StartAfterDrop.
  void OnDropFiles(const std::vector<std::string>& paths);
  // After the playlist has taken a drop: the current entry starts with a new car marker.
  void StartAfterDrop();
  // The one route of a GPX file the user gives, dropped or chosen in the trips window: imported
  // for the current entry's folder (ImportTrack), and the clip on screen started again when it
  // now plays from it.
  void ImportTrackFile(const std::string& gpxPath);
  // The user's choice for the current clip between its own track and its folder's imported GPX
  // track: kept (ITrackFeedPort::ChooseImport), then the clip starts again from the player's
  // position, fed from the chosen track. Nothing happens when it cannot be kept.
  void ChooseTrack(bool import);
  // The camera clock offset of the playing clip's folder was changed: a clip fed from another
  // track starts again where it was, so an imported track is matched to it anew; a clip's own
  // camera times take the new offset at the next report, with no restart.
  void ClockOffsetChanged();
  // The tree's delete button was pressed.
  void OnDeleteItem();

  // The indexer has read a clip the index did not know (ITrackFeedPort::ReadNow): the playing
  // clip, when it was that one and it plays from another track than its own, moves to the feed
  // where it is, without a restart.
  void OnClipRead();
  void OnPlayerMessage(WPARAM code);
  void OnPipelineMessage(WPARAM code);
  void OnPositionMessage(WPARAM processId, LPARAM hasPosition);

  // The actions behind the table, each as the user would trigger it.
  void StopRoutine();
  void StartCurrentItem();
  void Play();
  void Pause();
  void Next();
  void Previous();
  void Open();
  void Clear();
  void Mute();
  void Unmute();
  // The one way to another moment of the clip, for the slider, the map and the chart: clamped
  // to 0 … duration, sent while playing or paused (a pause stays a pause); while stopped or
  // starting only the context's position is set. A target that is not a finite number is ignored.
  void Seek(double seconds);
  // Seeks `seconds` from the current position, held to the file; only while playing or paused.
  void SeekBy(int seconds);
  // The kept volume moved by `step` and held to 0..100; the slider follows unless muted.
  void StepVolume(int step);
  // One frame forward (`frames` > 0) or back, only while paused; ignored while playing, stopped
  // or starting. The time and the panels follow the player's answer, as after a seek.
  void StepFrame(int frames);
  // The speed `rungs` rungs along the ladder (playback_speed.h), held at its ends, in any state:
  // kept for the files that follow, sent to a running player, shown beside the play time.
  void StepSpeed(int rungs);
  // Plays playlist entry `index` from moment `seconds` (a driving event in another clip): the seek
  // is sent once the player has started. An index out of range does nothing.
  void PlayEntryAt(int index, double seconds);
  // Makes `paths` the playlist in their order (a trip) and plays the first that still exists; the
  // end of each clip then goes on to the next of them. Nothing happens when none exists.
  void PlayClips(const std::vector<std::string>& paths);
  void TakeSnapshot();
  void OpenSettings();
  void EnterFullScreen();
  void LeaveFullScreen();

 private:
  // Imports the GPX track for the current entry's folder and tells the user how many clips it
  // gave a track. True when the current clip now plays from it and must start again.
  bool ImportTrack(const std::string& gpxPath);
  void OpenInPlayer(const std::string& path, bool pollSubtitles);
  // The current entry starts again at the player's position (from the start when it is not
  // running).
  void RestartWhereItIs();
  // The GPS panel and the car marker at `record`, a moment of the clip player `processId` plays;
  // the panel's time with the clip's clock offset.
  void ShowMoment(const TelemetryRecord& record, std::uint32_t processId);
  // The fed clip's record at the player's time on the panel and the marker, or no signal.
  void ShowFedMoment();
  // The fed clip's whole track into the store and the view; the chart says when it has no G values.
  void LoadFedTrack(const std::string& path);
  void ProgressReset();
  void ResetStoreWhenIdle();
  void ShowTotalTime();
  void ShowCurrentTime();
  void ShowNoGps();
  void EndOfFile();
  // A screenshot was saved by the player asked for it: its picture with the moment the panel
  // shows, as the leader's record is the moment's whichever channel took it.
  void SnapshotShown();
  // The player of `channel` (0: the leader); null for a follower no longer in the moment.
  IPlayerPort* ChannelPlayer(int channel) const;
  void Step(bool forward);
  bool HasCurrent() const;

  ControllerBinding b_;
  // The record the GPS panel shows and the player process it came from, copied while the live
  // worker waits for the panel, so a snapshot reads it without racing the next parse.
  TelemetryRecord shownRecord_;
  std::uint32_t shownProcess_ = 0;
  int wheelDelta_ = 0;         // wheel turns not yet a whole notch
  double pendingSeek_ = -1.0;  // seconds to seek to once the starting player runs; < 0: none
  bool fed_ = false;           // the clip last started plays from the feed's track
  std::string startedPath_;    // the clip last started
  int snapshotChannel_ = 0;    // the channel the last snapshot was asked of
};

}  // namespace korvane
