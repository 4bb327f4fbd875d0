// What the playback controller needs of the player, the extraction pipeline and the window: three
// small interfaces, so the controller's rules run against fakes in tests and against CMplayer,
// CSubtitleExtractor and the main window's controls in the program (controller_adapters.h).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/player_state.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

class IPlayerPort {
 public:
  virtual ~IPlayerPort() = default;
  virtual PlayerState state() const = 0;
  virtual void Stop() = 0;
  // Sets the media path and starts the player on it; without `pollSubtitles` the player is asked
  // only for the time, never for the subtitle (a clip fed from another track).
  virtual void Play(const std::string& path, bool pollSubtitles) = 0;
  virtual void TogglePause() = 0;
  virtual void SendCommand(const std::string& command) = 0;
  virtual void SetVolume(int value) = 0;
  virtual void SetMute(bool mute) = 0;
  virtual bool muted() const = 0;
  virtual int volume() const = 0;
  // Seeks while playing or paused, clamped to the file; otherwise nothing.
  virtual void Seek(double seconds) = 0;
  // One frame forward or back while paused, the pause kept; otherwise nothing.
  virtual void StepFrame(bool forward) = 0;
  // Keeps the playback speed for this player and the next ones and sends it to a running one.
  virtual void SetSpeed(double speed) = 0;
  virtual double speed() const = 0;
  virtual double length() const = 0;
  virtual int position() const = 0;
  // The last time position in decimal seconds.
  virtual double timePosition() const = 0;
  virtual double aspect() const = 0;
  virtual int videoWidth() const = 0;
  virtual int videoHeight() const = 0;
  virtual std::uint32_t processId() const = 0;
  virtual std::string screenshotPath() const = 0;
};

class IPipelinePort {
 public:
  virtual ~IPipelinePort() = default;
  virtual void ExtractFile(const std::string& path) = 0;
  virtual void Stop() = 0;
  virtual bool stopRequested() const = 0;
  // True while a run starts, runs or stops: its thread may be writing the track store.
  virtual bool busy() const = 0;
};

struct TrackImportResult {
  bool stored = false;     // the import is kept in the data folder
  int clipsWithTrack = 0;  // clips that play from it: no own track or log, and a position in it
  std::string error;       // why it was not stored
};

// For a clip with a track of its own in a folder with an imported GPX track: whether the user may
// choose which of them it plays from, and whether the import is chosen.
struct TrackChoice {
  bool offered = false;
  bool import = false;
  friend bool operator==(const TrackChoice&, const TrackChoice&) = default;
};

// The window side: controls, map, chart, track store and modal windows. Every operation skips a
// control the skin does not have.
class IViewPort {
 public:
  virtual ~IViewPort() = default;
  // btnPause shown (true) or btnPlay shown (false).
  virtual void ShowPlaying(bool playing) = 0;
  // btnMute shown (true) or btnVolume shown (false).
  virtual void ShowMuted(bool muted) = 0;
  virtual void SetVolumeSlider(int value) = 0;
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressValue(int value) = 0;
  // The chart's cursor at this moment of the clip; a negative time removes it.
  virtual void SetChartCursor(double seconds) = 0;
  // Puts the view's texts on the labels.
  virtual void RefreshLabels() = 0;
  virtual void ResetAccChart() = 0;
  virtual void ResetMarker() = 0;
  // Removes the map's route of the previous file.
  virtual void ClearRoute() = 0;
  virtual void ResetStore() = 0;
  // The chart says the clip's track has no G values instead of drawing curves, until its next
  // reset.
  virtual void ShowNoGValues() = 0;
  // Hands the chunks made ready since the last time to the map's route and the chart's curves and
  // marks them consumed.
  virtual void ConsumeTrack() = 0;
  virtual void SetCarPosition(double longitude, double latitude) = 0;
  virtual void SetVideoAspect(double aspect) = 0;
  // Window geometry and the three side panels of full screen; the flag is the controller's.
  virtual void EnterFullScreenWindow() = 0;
  virtual void LeaveFullScreenWindow() = 0;
  // Writes the moment `record` describes into the snapshot file (stamped line when asked, EXIF
  // tags); a failure is logged and leaves the plain picture.
  virtual void MarkSnapshot(const std::string& path, const TelemetryRecord& record, bool stamp) = 0;
  // Modal windows.
  virtual void ShowSnapshotTip(const std::string& path, int width, int height, bool preview) = 0;
  // 1 when the user confirmed the settings window.
  virtual int RunSettingsWindow() = 0;
  // Reads the captions of the current language file into the view's texts and gives the map page
  // its texts again.
  virtual void ReloadCaptions() = 0;
  // Colours the map's route and labels its legend as the settings now say.
  virtual void RestyleRoute() = 0;
  // Tells the user how many clips a GPX import gave a track, or that it was not imported.
  virtual void ShowTrackImport(const TrackImportResult& result) = 0;
  // Shows the playing clip's choice between its own track and the import, or hides it.
  virtual void ShowTrackChoice(const TrackChoice& choice) = 0;
};

// Clips whose telemetry is not their own subtitle track (a GPS log beside them, an imported GPX
// track): their whole track,
// read when they start and shown at the player's time, with no extraction and no subtitle poll.
class ITrackFeedPort {
 public:
  virtual ~ITrackFeedPort() = default;
  // True when the clip plays from another track than its own subtitle track.
  virtual bool Feeds(const std::string& path) = 0;
  // Reads the clip's track into the track store and the navigation track (the store must not be
  // written by a run). False when it has no valid record: the clip then shows no position.
  virtual bool Load(const std::string& path) = 0;
  // The record shown at `seconds` of the loaded clip; nullopt where the track has no fix.
  virtual std::optional<TelemetryRecord> RecordAt(double seconds) const = 0;
  // Stores the GPX file as the track of the clips in `clipFolder` that have no track of their own
  // and no GPS log, or whose user chose the import; `clips` are the folder's clips, for the count.
  virtual TrackImportResult ImportTrack(const std::string& gpxPath, const std::string& clipFolder,
                                        const std::vector<std::string>& clips) = 0;
  // The clip's choice between its own track and its folder's import.
  virtual TrackChoice ChoiceOf(const std::string& path) = 0;
  // Keeps the user's choice of the import (or of the clip's own track) for the clip, across
  // restarts; false when it could not be kept.
  virtual bool ChooseImport(const std::string& path, bool import) = 0;
};

}  // namespace korvane
