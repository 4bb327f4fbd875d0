// What the playback controller needs of the player, the extraction pipeline and the window: small
// interfaces, so the controller's rules run against fakes in tests and against CMplayer,
// CSubtitleExtractor and the main window's controls in the program (controller_adapters.h). The
// feed of clips that play from another track is tracks/track_feed_port.h's.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/player_state.h"
#include "telemetry/telemetry_record.h"
#include "tracks/track_feed_port.h"

namespace korvane {

class IPlayerPort {
 public:
  virtual ~IPlayerPort() = default;
  virtual PlayerState state() const = 0;
  virtual void Stop() = 0;
  // Sets the media path and starts the player on it; without `pollSubtitles` the player is asked
  // only for the time, never for the subtitle (a clip fed from another track).
  virtual void Play(const std::string& path, bool pollSubtitles) = 0;
  // Turns the subtitle poll of the running player off (a clip found to play from another track)
  // or on; the next player takes Play's.
  virtual void SetSubtitlePoll(bool poll) = 0;
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
  // The player's last answer to kDroppedFramesQuery; -1 before one came or where none is kept.
  virtual int droppedFrames() const { return -1; }
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
  // Lays the small pictures of the moment's other channels out as the settings now say (corner
  // and width).
  virtual void PlacePictures() = 0;
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
  // Tells the user their choice of track was not kept, and why.
  virtual void ShowChoiceNotKept(WriteFailure failure) = 0;
  // Shows the playing clip's choice between its own track and the import, or hides it.
  virtual void ShowTrackChoice(const TrackChoice& choice) = 0;
};

}  // namespace korvane
