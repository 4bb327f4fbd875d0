// CPlayerFrameWnd: the main window as the program runs it. Adds to the shell the parts that play:
// the extraction pipeline, the map display, the playlist, the ports and the playback controller,
// the background indexing of the playlist's clips, the driving events' marks and the jumps between
// them, the trips window, every route of the folder on the map, the track export, the marks and
// saves of a stretch of video (each on a thread of its own, ended with the window), and the thread
// that runs the start-up set-up handed in; every click, notification, key and worker message is
// handed to the controller. Files dropped or opened before that set-up has finished wait for it:
// until then the player and the pipeline have no configuration, and the set-up is still writing it.
#pragma once
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "index/background_indexer.h"
#include "map/map_loader.h"
#include "telemetry/clock_offset.h"
#include "telemetry/subtitle_extractor.h"
#include "tracks/incident_save.h"
#include "tracks/track_export.h"
#include "tracks/track_feed.h"
#include "ui/clip_event_marks.h"
#include "ui/controller_adapters.h"
#include "ui/main_window.h"
#include "ui/playback_controller.h"
#include "ui/playlist_panel.h"
#include "ui/route_overview.h"
#include "ui/startup_targets.h"
#include "ui/stretch_marks.h"

namespace korvane {

class CTestProbe;

// The main window's own messages.
constexpr std::uint32_t kMsgStartupDone = WM_USER + 10;      // the start-up worker has finished
constexpr std::uint32_t kMsgVideoWindow = WM_USER + 11;      // sent: answers the video window id
constexpr std::uint32_t kMsgOpenCommandLine = WM_USER + 13;  // the files of the command line
constexpr std::uint32_t kMsgExportDone = WM_USER + 14;       // the track export has ended
constexpr std::uint32_t kMsgClipRead = WM_USER + 15;  // the indexer has read a clip for the feed
constexpr std::uint32_t kMsgSaveProgress = WM_USER + 16;  // wParam: percent of the save done
constexpr std::uint32_t kMsgSaveDone = WM_USER + 17;      // the save of a stretch has ended
// Sent by the hand-over server: lParam points to the std::vector<std::string> of files a second
// start handed over, valid during the send.
constexpr std::uint32_t kMsgHandedFiles = WM_USER + 30;

class CPlayerFrameWnd : public CDuiFrameWnd {
 public:
  // `startup` runs on a thread of its own after the first show; empty: nothing is set up.
  CPlayerFrameWnd(ApplicationContext& context, StartupRoutine startup);
  ~CPlayerFrameWnd() override;

  void Notify(DuiLib::TNotifyUI& msg) override;
  void OnClick(DuiLib::TNotifyUI& msg) override;
  DuiLib::LRESULT MessageHandler(DuiLib::UINT uMsg, DuiLib::WPARAM wParam, DuiLib::LPARAM lParam,
                                 bool& bHandled) override;
  DuiLib::LRESULT ResponseDefaultKeyEvent(DuiLib::WPARAM wParam) override;
  DuiLib::LRESULT HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                DuiLib::LPARAM lParam) override;
  void OnDestroy() override;
  void OnPipelineMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam) override;
  void OnPlayerMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam) override;
  void OnPositionMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam) override;

  // Null before start-up.
  CPlaybackController* controller() const { return controller_.get(); }
  CMapDisplay& map() { return map_; }
  CSubtitleExtractor* extractor() const { return extractor_.get(); }
  CPlaylistManager* playlist() const { return panel_ ? &panel_->manager() : nullptr; }
  CClipEventMarks* eventMarks() const { return eventMarks_.get(); }
  // The players of the moment's other channels; null before start-up.
  const CChannelFollowers* followers() const { return followers_.get(); }
  // Goes to the playing clip's next (previous) driving event, else into the next (previous) clip of
  // the playlist that has one; nothing when there is none.
  void JumpToEvent(bool forward);
  const CStretchMarks& stretchMarks() const { return stretchMarks_; }
  bool saving() const { return incidentSave_ && incidentSave_->running(); }

 protected:
  // Builds the playing parts (the records exist now) and starts the start-up worker.
  void StartStartupWorker() override;

 private:
  DuiLib::WindowHandle VideoWindowNow();
  // The native window of another channel of the moment (1 on); 0 before the first show.
  DuiLib::WindowHandle ChannelWindowNow(int channel);
  // The video host's pictures after the followers changed: a new moment's channels, or the ones
  // a tick dropped taken away.
  void ShowChannels(bool newMoment);
  // The followers' video shapes, for their pictures.
  void FollowAspects();
  // True when the point (client coordinates, as a WM_MOUSEWHEEL lParam) lies on the video.
  bool OverVideo(DuiLib::LPARAM point) const;
  void OpenCommandLineFiles();
  // A message of the map page, checked first: a click on the route seeks there, resting on it
  // shows the point's tooltip.
  void OnPageMessage(const std::string& name, const std::string& json);
  // The chart's mouse: a click seeks to the point under it, a move shows its values.
  void OnChartNotify(const DuiLib::TNotifyUI& msg);
  // Runs `action` now once the start-up set-up has finished, else when it has.
  void AfterStartup(std::function<void()> action);
  // The export button: the save dialog offers the current clip or its folder in each format, and
  // the export runs in the background; its end shows where the track went or why it did not.
  void ExportTrack();
  // The trips button: the trips of the playing clip's folder from the index, and the folder's
  // camera clock offset to set; the trip chosen becomes the playlist and plays.
  void ShowTrips();
  // The every-route toggle in the map's corner: the overview lines of the playing clip's folder on
  // the map, or none.
  void ShowAllRoutes(bool show);
  // A click on a clip's overview line: that clip plays from moment `ms` (seeking once the player
  // runs); the playing clip just seeks.
  void PlayFromLine(const std::string& path, std::int32_t ms);
  void OnExportDone();
  // I, O, S and C, and the two mark buttons: a mark at the playing moment of the playing clip (a
  // completed pair is saved), this moment saved, the running save cancelled. Each result is put
  // up as the header's notice.
  void OnSaveKey(KeyAction action);
  // Saves the stretch from the playing clip's folder into the data folder's "Saved" folder; one
  // save at a time.
  void SaveStretch(const MarkedStretch& stretch);
  void OnSaveDone();
  // The shown marks (stretchMarks_.Shown()) on the progress bar and the chart of the playing clip,
  // placed by the playlist's order.
  void ShowStretchMarks();
  void ShowNotice(const std::string& text);

  std::unique_ptr<CSubtitleExtractor> extractor_;
  std::unique_ptr<CBackgroundIndexer> indexer_;  // asks extractor_, so it goes first
  CMapDisplay map_;
  std::unique_ptr<CPlaylistPanel> panel_;
  std::unique_ptr<CMplayerPort> playerPort_;
  std::unique_ptr<CExtractorPort> pipelinePort_;
  std::unique_ptr<CFrameViewPort> viewPort_;
  std::unique_ptr<CTrackFeed> trackFeed_;
  // The camera clock offsets as stored in the data folder: read at start-up, set in the Trips
  // window.
  ClockOffsets clockOffsets_;
  // Before the controller, which points to it, so it goes after.
  std::unique_ptr<CChannelFollowers> followers_;
  std::unique_ptr<CPlaybackController> controller_;
  std::unique_ptr<CClipEventMarks> eventMarks_;
  std::unique_ptr<CRouteOverview> overview_;
  std::unique_ptr<CTestProbe> probe_;
  std::unique_ptr<CTrackExport> export_;
  CStretchMarks stretchMarks_;
  std::unique_ptr<CIncidentSave> incidentSave_;
  StartupRoutine startup_;
  std::thread startupThread_;
  bool startupDone_ = false;
  std::vector<std::function<void()>> afterStartup_;
};

}  // namespace korvane
