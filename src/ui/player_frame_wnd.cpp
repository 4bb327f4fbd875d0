#include "ui/player_frame_wnd.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

#include "chart/zell_chart_ui.h"
#include "export/export_job.h"
#include "framework/UIlib.h"
#include "framework/file_dialog.h"
#include "framework/native_surface.h"
#include "framework/playlist_tree_view.h"
#include "framework/web_browser_ui.h"
#include "index/index_database.h"
#include "map/page_message.h"
#include "platform/tick.h"
#include "settings/localization.h"
#include "settings/settings_store.h"
#include "telemetry/clock_offset_store.h"
#include "telemetry/extract_command.h"
#include "tracks/trip_rows.h"
#include "ui/modal_windows.h"
#include "ui/player_keys.h"
#include "ui/route_tip.h"
#include "ui/save_notice.h"
#include "ui/test_probe.h"
#include "ui/time_text.h"

namespace korvane {

namespace {

// The button whose file dialog leads to a start of playback.
constexpr char kOpenButton[] = "btnOpenBig";
// The driving-event jump's two buttons of the control bar; its keys are in the player's table.
constexpr char kPrevEventButton[] = "btnPrevEvent";
constexpr char kNextEventButton[] = "btnNextEvent";
constexpr char kTripsButton[] = "btnTrips";
// The stretch marks' two buttons: the I and O keys' action.
constexpr char kMarkStartButton[] = "btnMarkStart";
constexpr char kMarkEndButton[] = "btnMarkEnd";

// A zone that is neither "local" nor an offset is taken as local, as the export takes it.
CameraTimeZone SettingsZone(const ApplicationContext& context) {
  return ParseCameraTimeZone(
             ReadSettingString(context, kSettingsSection, kKeyTimeZone, kDefaultTimeZone))
      .value_or(CameraTimeZone{});
}

}  // namespace

CPlayerFrameWnd::CPlayerFrameWnd(ApplicationContext& context, StartupRoutine startup)
    : CDuiFrameWnd(context), startup_(std::move(startup)) {}

CPlayerFrameWnd::~CPlayerFrameWnd() {
  if (startupThread_.joinable()) startupThread_.join();
}

DuiLib::WindowHandle CPlayerFrameWnd::VideoWindowNow() {
  CViewManager* view = GetViewManager();
  if (view == nullptr || view->wndMedia == nullptr) return 0;
  if (view->wndMedia->EnsureVideoWindow() == 0) return 0;
  // The id is asked afresh: Qt re-creates the native children of the window once the map's web
  // view has set the window up for its own drawing, and the first id is dead from then on.
  return DuiLib::NativeWindowOf(view->wndMedia->GetHostedWidget());
}

DuiLib::WindowHandle CPlayerFrameWnd::ChannelWindowNow(int channel) {
  CViewManager* view = GetViewManager();
  return view == nullptr || view->wndMedia == nullptr ? 0 : view->wndMedia->ChannelWindow(channel);
}

void CPlayerFrameWnd::ShowChannels(bool newMoment) {
  CViewManager* view = GetViewManager();
  if (view == nullptr || view->wndMedia == nullptr || !followers_) return;
  // Follower index i is channel i + 1; channel 0 is the leader.
  std::vector<int> present;
  for (int index : followers_->indices()) present.push_back(index + 1);
  if (newMoment) {
    view->wndMedia->StartMoment(followers_->channelCount(), present);
    return;
  }
  std::vector<int> shown = view->wndMedia->arrangement().smalls();
  shown.push_back(view->wndMedia->arrangement().main());
  for (int channel : shown) {
    if (channel != 0 && std::find(present.begin(), present.end(), channel) == present.end()) {
      view->wndMedia->RemoveChannel(channel);
    }
  }
}

void CPlayerFrameWnd::FollowAspects() {
  CViewManager* view = GetViewManager();
  if (view == nullptr || view->wndMedia == nullptr || !followers_) return;
  for (int index : followers_->indices()) {
    if (const IPlayerPort* player = followers_->player(index)) {
      view->wndMedia->SetChannelAspect(index + 1, player->aspect());
    }
  }
}

void CPlayerFrameWnd::StartStartupWorker() {
  CViewManager& view = *GetViewManager();
  PlaybackContext& playback = *GetPlaybackContext();
  ApplicationContext& context = GetContext();

  extractor_ = std::make_unique<CSubtitleExtractor>(playback.trackStore, &playback.navigationTrack);
  const WindowHandle self = GetHWND();
  panel_ = std::make_unique<CPlaylistPanel>(
      context, view.treePlaylist, [&context, self] { return ShowClearTipWindow(context, self); });
  panel_->manager().LoadPlaylistOptions();

  BackgroundIndexerConfig indexing;
  indexing.indexerPath = context.programFolder + kIndexerRelativePath;
  indexing.databasePath = IndexDatabasePath();
  indexing.notifyWindow = self;
  CSubtitleExtractor* extractor = extractor_.get();
  indexing.extractionRunning = [extractor] { return extractor->extractorRunning(); };
  indexer_ = std::make_unique<CBackgroundIndexer>(std::move(indexing));
  panel_->SetListWatcher([this](const std::vector<std::string>& paths, int current) {
    if (indexer_) indexer_->Start(paths, current);
    // The lines follow the folder of the list.
    if (overview_ && overview_->shown()) ShowAllRoutes(true);
  });

  playerPort_ =
      std::make_unique<CMplayerPort>(playback.player, [this] { return VideoWindowNow(); });
  pipelinePort_ = std::make_unique<CExtractorPort>(*extractor_);
  viewPort_ = std::make_unique<CFrameViewPort>(
      view, *this, m_PaintManager, map_, playback.trackStore, playback.navigationTrack, context);
  viewPort_->modals.snapshotTip = [&context, self](const std::string& path, int width, int height,
                                                   bool preview) {
    ShowSnapshotWindow(context, self, path, width, height, preview);
  };
  viewPort_->modals.settings = [&context, self] { return ShowSettingsWindow(context, self); };
  overview_ = std::make_unique<CRouteOverview>(IndexDatabasePath(), map_, [&view] {
    return dynamic_cast<DuiLib::CWebBrowserUI*>(view.webMap);
  });
  eventMarks_ = std::make_unique<CClipEventMarks>(
      context, IndexDatabasePath(), view.chartBinding, map_,
      [&view] { return dynamic_cast<DuiLib::CWebBrowserUI*>(view.webMap); });
  const CameraTimeZone zone = SettingsZone(context);
  clockOffsets_ = ReadClockOffsets(context.dataFolder);
  trackFeed_ = std::make_unique<CTrackFeed>(
      IndexDatabasePath(), context.dataFolder, playback.trackStore, playback.navigationTrack,
      context.settings, zone, context.programFolder + kIndexerRelativePath,
      [self] { PostWindowMessage(self, kMsgClipRead, 0, 0); });
  followers_ = std::make_unique<CChannelFollowers>(
      [this, &playback](int index) {
        return MakeFollowerPort(playback.player,
                                [this, index] { return ChannelWindowNow(index + 1); });
      },
      [](const std::string& line) { std::fprintf(stderr, "korvane: %s\n", line.c_str()); });
  followers_->onChange = [this](bool newMoment) { ShowChannels(newMoment); };
  viewPort_->PlacePictures();
  controller_ = std::make_unique<CPlaybackController>(ControllerBinding{
      *playerPort_, *pipelinePort_, *viewPort_, panel_->manager(), view.texts, view.gpsShown,
      view.gpsValid, view.fullScreen, playback.duration, playback.position, lastSwitchTick,
      context.settings, [] { return GetTick(); },
      [&playback]() -> const TelemetryRecord& { return playback.liveParser.record(); },
      [this](const std::string& path) { eventMarks_->ClipStarted(path); }, trackFeed_.get(),
      [this](const std::string& path) { return clockOffsets_.OfClip(path); }, followers_.get(),
      [&view] { return view.wndMedia != nullptr ? view.wndMedia->arrangement().main() : 0; }});
  view.onSeek = [this](int value) { controller_->OnProgressChanged(value); };
  struct ButtonTip {
    const char* button;
    const char* section;
    const char* key;
  };
  for (const ButtonTip& tip :
       {ButtonTip{kPrevEventButton, kEventInterfaceSection, "IDS_PREVEVENT"},
        ButtonTip{kNextEventButton, kEventInterfaceSection, "IDS_NEXTEVENT"},
        ButtonTip{kMarkStartButton, kMainInterfaceSection, "IDS_MARKSTARTBUTTON"},
        ButtonTip{kMarkEndButton, kMainInterfaceSection, "IDS_MARKENDBUTTON"}}) {
    if (DuiLib::CControlUI* control = m_PaintManager.FindControl(tip.button)) {
      control->SetToolTip(ReadLanguageTextOrEnglish(context, tip.section, tip.key));
    }
  }
  if (DuiLib::CControlUI* trips = m_PaintManager.FindControl(kTripsButton)) {
    trips->SetToolTip(ReadLanguageTextOrEnglish(context, kTripInterfaceSection, "IDS_TRIPS"));
  }
  if (auto* browser = dynamic_cast<DuiLib::CWebBrowserUI*>(view.webMap)) {
    browser->SetPageMessageHandler(
        [this](const std::string& name, const std::string& json) { OnPageMessage(name, json); });
  }
  view.onVolumeChanged = [this](int value) { controller_->OnVolumeChanged(value); };
  probe_ = CTestProbe::FromEnvironment(*this);

  const int startVolume =
      view.sliderVolume != nullptr ? view.sliderVolume->GetValue() : context.settings.volume;
  auto run = [this, &view, &playback, &context, startVolume, self] {
    StartupTargets targets{
        context,
        map_,
        dynamic_cast<DuiLib::CWebBrowserUI*>(view.webMap),
        view.chartBinding,
        dynamic_cast<DuiLib::CChartModel*>(view.accChart),
        playback.liveParser,
        playback.player,
        *extractor_,
        playback.trackStore,
        [self] {
          return static_cast<WindowHandle>(SendWindowMessage(self, kMsgVideoWindow, 0, 0));
        },
        startVolume};
    if (startup_) startup_(targets);
    PostWindowMessage(self, kMsgStartupDone, 0, 0);
  };
  try {
    startupThread_ = std::thread(std::move(run));
  } catch (const std::system_error&) {
    // As with every other thread: the program runs on without that set-up, and what waits for it
    // is let through.
    PostWindowMessage(self, kMsgStartupDone, 0, 0);
  }
}

void CPlayerFrameWnd::AfterStartup(std::function<void()> action) {
  if (startupDone_) {
    action();
  } else {
    afterStartup_.push_back(std::move(action));
  }
}

void CPlayerFrameWnd::OpenCommandLineFiles() {
  const auto& files = GetContext().commandLineFiles;
  if (controller_ && !files.empty()) controller_->OnDropFiles(files);
}

void CPlayerFrameWnd::Notify(DuiLib::TNotifyUI& msg) {
  if (controller_) {
    if (msg.sType == DuiLib::DUI_MSGTYPE_ITEMACTIVATE) {
      DuiLib::CPlayListTreeViewUI* tree = panel_->tree();
      controller_->OnItemActivate(tree != nullptr ? tree->GetItemIndex(msg.pSender) : -1);
    } else if (msg.sType == DuiLib::DUI_MSGTYPE_DBCLICK &&
               msg.lParam == DuiLib::kVideoDoubleClickMarker) {
      // The one route of the video's double click: the paint manager turns the forwarded
      // WM_LBUTTONDBLCLK into this notification, so the message itself is not acted on.
      controller_->OnVideoDoubleClick();
    } else {
      OnChartNotify(msg);
    }
  }
  CDuiFrameWnd::Notify(msg);
}

void CPlayerFrameWnd::OnChartNotify(const DuiLib::TNotifyUI& msg) {
  CViewManager* view = GetViewManager();
  if (view == nullptr || msg.pSender == nullptr || msg.pSender != view->accChart) return;
  ChartBinding& chart = view->chartBinding;
  const int column = static_cast<int>(msg.wParam);
  if (msg.sType == DuiLib::kChartClick) {
    if (const std::int32_t ms = chart.TimeAtPixel(column); ms >= 0) controller_->Seek(ms / 1000.0);
  } else if (msg.sType == DuiLib::kChartHover) {
    chart.HoverAt(column);
  } else if (msg.sType == DuiLib::kChartLeave) {
    chart.EndHover();
  }
}

void CPlayerFrameWnd::OnPageMessage(const std::string& name, const std::string& json) {
  PlaybackContext* playback = GetPlaybackContext();
  CViewManager* view = GetViewManager();
  if (controller_ == nullptr || playback == nullptr || view == nullptr) return;
  const CNavigationTrack& track = playback->navigationTrack;
  const std::optional<PageEvent> event =
      ValidatePageMessage(name, json, track.generation(), overview_ ? overview_->set() : 0);
  if (!event) return;
  switch (event->kind) {
    case PageEventKind::OverviewClick:
      PlayFromLine(overview_->ClipPath(event->clip), event->timeMs);
      break;
    case PageEventKind::OverviewToggle:
      ShowAllRoutes(event->on);
      break;
    case PageEventKind::TrackChoice:
      controller_->ChooseTrack(event->on);
      break;
    case PageEventKind::RouteClick:
      if (probe_) probe_->RouteClicked(event->timeMs);
      controller_->Seek(event->timeMs / 1000.0);
      if (probe_) probe_->SeekSent();
      break;
    case PageEventKind::RouteHover:
      if (const std::optional<NavPoint> point = track.Nearest(event->timeMs)) {
        NavPoint shown = *point;
        ShiftMoment(shown, controller_ ? controller_->ShownClockOffset() : 0);
        map_.ShowRouteTip(dynamic_cast<DuiLib::CWebBrowserUI*>(view->webMap), event->timeMs,
                          RouteTipText(shown, GetContext().settings.speedUnit));
      }
      break;
    case PageEventKind::RouteLeave:
      break;  // the page hides its tooltip itself
  }
}

void CPlayerFrameWnd::JumpToEvent(bool forward) {
  CPlaylistManager* list = playlist();
  PlaybackContext* playback = GetPlaybackContext();
  if (controller_ == nullptr || eventMarks_ == nullptr || list == nullptr || playback == nullptr) {
    return;
  }
  const auto& entries = list->playlist().entries();
  const int current = list->playlist().current();
  // Other clips' events are read as the jump gets to them, each once.
  std::vector<std::optional<std::vector<DriveEvent>>> others(entries.size());
  const auto eventsOf = [&](int clip) -> const std::vector<DriveEvent>* {
    if (clip == current) return eventMarks_->events();
    auto& held = others[static_cast<std::size_t>(clip)];
    if (!held) held = eventMarks_->EventsOf(entries[static_cast<std::size_t>(clip)]->path);
    return held ? &*held : nullptr;
  };
  const PlayerState state = playback->player.state();
  const bool running = state == PlayerState::Playing || state == PlayerState::Paused;
  const auto nowMs = static_cast<std::int32_t>(
      running ? std::clamp(playback->player.timePosition(), 0.0, 2e6) * 1000 : -1000);
  const std::optional<EventTarget> target =
      FindEventTarget(current, nowMs, forward, static_cast<int>(entries.size()), eventsOf);
  if (!target) return;
  if (target->clip == current && running) {
    controller_->Seek(target->ms / 1000.0);
  } else {
    controller_->PlayEntryAt(target->clip, target->ms / 1000.0);
  }
}

void CPlayerFrameWnd::OnClick(DuiLib::TNotifyUI& msg) {
  if (msg.pSender != nullptr && msg.pSender->GetName() == "btnExport") {
    ExportTrack();
  } else if (msg.pSender != nullptr && msg.pSender->GetName() == kTripsButton) {
    ShowTrips();
  } else if (controller_ && msg.pSender != nullptr) {
    const std::string name = msg.pSender->GetName();
    if (name == kPrevEventButton || name == kNextEventButton) {
      JumpToEvent(name == kNextEventButton);
    } else if (name == kMarkStartButton || name == kMarkEndButton) {
      OnSaveKey(name == kMarkStartButton ? KeyAction::kMarkStart : KeyAction::kMarkEnd);
    } else if (name == kOpenButton) {
      AfterStartup([this, name] { controller_->OnClick(name); });
    } else {
      controller_->OnClick(name);
      if (name == "btnSetting" && eventMarks_) eventMarks_->Refresh();
    }
  }
  CDuiFrameWnd::OnClick(msg);
}

void CPlayerFrameWnd::ExportTrack() {
  std::string clip;
  if (!panel_ || panel_->manager().GetCurrentPath(clip) == 0) return;  // nothing to export
  ApplicationContext& context = GetContext();
  const auto text = [&context](const char* key) {
    return ReadLanguageText(context, kMainInterfaceSection, key);
  };
  DuiLib::SaveFileRequest request;
  request.owner = GetHWND();
  request.title = text("IDS_EXPORT");
  request.suggestedPath = SuggestedExportPath(ExportTargetAt(0), clip);
  for (int i = 0; i < kExportTargetCount; ++i) {
    const ExportTarget target = ExportTargetAt(i);
    const std::string format(ExportFormatName(target.format));
    std::string caption = format;  // "GPX"
    for (char& c : caption) c = static_cast<char>(c - 'a' + 'A');
    request.filters.push_back(
        {caption + ", " + text(target.wholeFolder ? "IDS_EXPORTFOLDER" : "IDS_EXPORTCLIP"),
         "*." + format});
  }
  DuiLib::SaveFileChoice choice;
  if (!DuiLib::ShowSaveFileDialog(request, choice)) return;
  if (!export_) {
    export_ = std::make_unique<CTrackExport>(context.programFolder + "korvane", GetHWND(),
                                             kMsgExportDone);
  }
  const ExportTarget target = ExportTargetAt(choice.filter);
  if (!export_->Start(ExportArguments(target, clip, choice.path), choice.path)) {
    ShowExportNote(context, GetHWND(), text("IDS_EXPORTFAILED"), choice.path);
  }
}

void CPlayerFrameWnd::ShowNotice(const std::string& text) {
  if (CViewManager* view = GetViewManager(); view != nullptr) view->ShowNotice(text);
}

void CPlayerFrameWnd::OnSaveKey(KeyAction action) {
  const auto text = [this](const char* key) {
    return ReadLanguageText(GetContext(), kMainInterfaceSection, key);
  };
  if (action == KeyAction::kCancelSave) {
    if (saving()) incidentSave_->Cancel();
    return;
  }
  PlaybackContext* playback = GetPlaybackContext();
  std::string clip;
  if (!panel_ || playback == nullptr || panel_->manager().GetCurrentPath(clip) == 0) return;
  const PlayerState state = playback->player.state();
  if (state != PlayerState::Playing && state != PlayerState::Paused) return;  // no moment yet
  const auto ms = static_cast<std::int64_t>(playback->player.timePosition() * 1000);
  std::optional<MarkedStretch> stretch;
  if (action == KeyAction::kSaveMoment) {
    stretch = MomentStretch(clip, ms, kMomentSeconds);
  } else {
    const bool start = action == KeyAction::kMarkStart;
    stretch = start ? stretchMarks_.MarkStart(clip, ms) : stretchMarks_.MarkEnd(clip, ms);
    ShowNotice(text(start ? "IDS_MARKSTART" : "IDS_MARKEND") + " " + SplitPath(clip).fileName +
               " " + FormatClock(static_cast<int>(ms / 1000)));
  }
  if (stretch) SaveStretch(*stretch);
  ShowStretchMarks();
}

void CPlayerFrameWnd::ShowStretchMarks() {
  CViewManager* view = GetViewManager();
  PlaybackContext* playback = GetPlaybackContext();
  if (view == nullptr || playback == nullptr || !panel_) return;
  std::string clip;  // none: the clip has no length and nothing shows
  panel_->manager().GetCurrentPath(clip);
  const auto& list = panel_->manager().playlist();
  view->ShowStretch(PlaceStretch(stretchMarks_.Shown(), clip,
                                 std::int64_t{playback->duration} * 1000,
                                 [&list](const std::string& path) -> std::optional<int> {
                                   const int at = list.FindEntry(path);
                                   return at >= 0 ? std::optional{at} : std::nullopt;
                                 }));
}

void CPlayerFrameWnd::SaveStretch(const MarkedStretch& stretch) {
  ApplicationContext& context = GetContext();
  if (!incidentSave_) {
    incidentSave_ = std::make_unique<CIncidentSave>(
        IncidentSaveSetup{IndexDatabasePath(), context.programFolder + kIndexerRelativePath,
                          context.dataFolder, GetHWND(), kMsgSaveProgress, kMsgSaveDone});
  }
  if (incidentSave_->running()) return;  // the running save's notice stays up
  SaveRequest request;
  // A stretch may run on into the clips before and after, and takes every channel of the moment,
  // in the clip's folder or in the sibling folders a camera keeps its other channels in.
  for (const std::string& folder : MomentFolders(SplitPath(stretch.from.clip).folder)) {
    const std::vector<std::string> clips =
        SupportedFilesIn(folder, panel_->manager().supportedExtensions());
    request.clips.insert(request.clips.end(), clips.begin(), clips.end());
  }
  request.from = stretch.from;
  request.to = stretch.to;
  request.outputFolder = context.dataFolder + "Saved";
  request.ffmpegProgram = context.programFolder + kExtractorRelativePath;
  request.ffprobeProgram = FfprobeBeside(request.ffmpegProgram);
  request.zone = SettingsZone(context);
  request.clockOffsets = clockOffsets_;
  request.stamped = context.settings.stampedCopy;
  request.stampCaptions = ReadStampCaptions(context);
  request.speedUnit = context.settings.speedUnit;
  const std::string saving = ReadLanguageText(context, kMainInterfaceSection, "IDS_SAVING");
  if (incidentSave_->Start(std::move(request))) {
    stretchMarks_.SaveStarted(stretch);
    ShowNotice(saving + " 0%");
  } else {
    ShowNotice(ReadLanguageText(context, kMainInterfaceSection, "IDS_SAVEFAILED"));
  }
}

void CPlayerFrameWnd::OnSaveDone() {
  if (!incidentSave_) return;
  stretchMarks_.SaveEnded();
  ShowStretchMarks();
  const SaveResult result = incidentSave_->outcome();
  if (!result.error.empty() && !result.cancelled) {
    std::fprintf(stderr, "korvane: save failed: %s\n", result.error.c_str());
  }
  if (!result.stampedError.empty()) {
    std::fprintf(stderr, "korvane: the stamped copy failed: %s\n", result.stampedError.c_str());
  }
  ShowNotice(SaveOutcomeText(GetContext(), result));
}

void CPlayerFrameWnd::ShowTrips() {
  std::string clip;
  if (!controller_ || panel_->manager().GetCurrentPath(clip) == 0) return;  // no folder yet
  const std::string folder = SplitPath(clip).folder;
  const std::vector<std::string> clips =
      SupportedFilesIn(folder, panel_->manager().supportedExtensions());
  // Clips that play from the folder's imported track make trips of what it gives them, matched
  // with the offset as it stands.
  TripsClockOffset clock{
      clockOffsets_.OfFolder(folder),
      [&](int seconds, std::string& error) -> std::optional<TripList> {
        if (!StoreClockOffset(GetContext().dataFolder, folder, seconds, clockOffsets_, error)) {
          const int why = errno;
          std::fprintf(stderr, "korvane: %s\n", error.c_str());
          error = WriteFailureText(GetContext(), WriteFailureOf(why));
          return std::nullopt;
        }
        return BuildTripList(clips, trackFeed_->TripSummaries(clips), clockOffsets_);
      }};
  const int offsetBefore = clockOffsets_.OfFolder(folder);
  TripList trips = BuildTripList(clips, trackFeed_->TripSummaries(clips), clockOffsets_);
  const TripsChoice choice =
      ShowTripsWindow(GetContext(), GetHWND(), std::move(trips), std::move(clock));
  if (choice.trip) {
    controller_->PlayClips(choice.trip->clips);
  } else if (!choice.trackToImport.empty()) {
    controller_->ImportTrackFile(choice.trackToImport);
  } else if (clockOffsets_.OfFolder(folder) != offsetBefore) {
    controller_->ClockOffsetChanged();
  }
}

void CPlayerFrameWnd::ShowAllRoutes(bool show) {
  std::string clip;
  if (!show || !overview_ || panel_->manager().GetCurrentPath(clip) == 0) {
    if (overview_) overview_->Hide();
    return;
  }
  overview_->Show(
      SupportedFilesIn(SplitPath(clip).folder, panel_->manager().supportedExtensions()));
}

void CPlayerFrameWnd::PlayFromLine(const std::string& path, std::int32_t ms) {
  CPlaylistManager& list = panel_->manager();
  std::string current;
  if (path.empty() || !controller_) return;
  if (list.GetCurrentPath(current) != 0 && current == path) {
    controller_->Seek(ms / 1000.0);
    return;
  }
  // A clip the list does not hold (it holds a trip) comes in with its folder; a clip deleted
  // since it was indexed is in no listing, and nothing plays.
  int index = list.playlist().FindEntry(path);
  if (index < 0) {
    const SplitPathResult parts = SplitPath(path);
    list.LoadFolderOf(parts.fileName, parts.folder);
    index = list.playlist().FindEntry(path);
  }
  controller_->PlayEntryAt(index, ms / 1000.0);
}

void CPlayerFrameWnd::OnExportDone() {
  if (!export_) return;
  const ExportOutcome outcome = export_->outcome();
  const bool done = outcome.exitCode == 0;
  std::string line = done ? outcome.output : outcome.message;
  // A file that could not be written is said in the interface's words, with where it was to go.
  if (const auto failure = WriteFailureOfExportExit(outcome.exitCode)) {
    line = outcome.output + ": " + WriteFailureText(GetContext(), *failure);
  }
  ShowExportNote(GetContext(), GetHWND(),
                 ReadLanguageText(GetContext(), kMainInterfaceSection,
                                  done ? "IDS_EXPORTED" : "IDS_EXPORTFAILED"),
                 line);
}

DuiLib::LRESULT CPlayerFrameWnd::MessageHandler(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                                DuiLib::LPARAM lParam, bool& bHandled) {
  if (uMsg == DuiLib::WM_KEYDOWN) {
    // One route per key: a key of the player's table is the window's wherever the focus is (a
    // control, the playlist, the map's web view) and goes nowhere else; any other key goes on to
    // where the focus is. So the playlist keeps PgUp/PgDn/Home/End but not Up/Down or Enter.
    const PlayerKey key = PlayerKeyOf(wParam, lParam);
    if (key.action == KeyAction::kNone) return 0;
    bHandled = true;
    if (key.action == KeyAction::kFullScreenOn || key.action == KeyAction::kFullScreenOff) {
      return ResponseDefaultKeyEvent(wParam);
    }
    if (key.action == KeyAction::kEvent) {
      JumpToEvent(key.amount > 0);
      return 1;
    }
    if (key.action == KeyAction::kMarkStart || key.action == KeyAction::kMarkEnd ||
        key.action == KeyAction::kSaveMoment || key.action == KeyAction::kCancelSave) {
      OnSaveKey(key.action);
      return 1;
    }
    if (key.action == KeyAction::kSwapPicture || key.action == KeyAction::kSmallPictures) {
      // Pictures only: the leader keeps its poll and its sound whichever window is big.
      if (CViewManager* view = GetViewManager(); view != nullptr && view->wndMedia != nullptr) {
        if (key.action == KeyAction::kSwapPicture) {
          view->wndMedia->SwapNext();
        } else {
          view->wndMedia->ToggleSmallPictures();
        }
      }
      return 1;
    }
    if (controller_) controller_->OnPlayerKey(key);
    return 1;
  }
  if (uMsg == DuiLib::WM_MOUSEWHEEL && controller_ && OverVideo(lParam)) {
    bHandled = true;
    controller_->OnVideoWheel(DuiLib::GET_WHEEL_DELTA_WPARAM(wParam));
    return 0;
  }
  return CDuiFrameWnd::MessageHandler(uMsg, wParam, lParam, bHandled);
}

bool CPlayerFrameWnd::OverVideo(DuiLib::LPARAM point) const {
  const CViewManager* view = GetViewManager();
  if (view == nullptr || view->wndMedia == nullptr || !view->wndMedia->IsVisible()) return false;
  return DuiLib::PtInRect(view->wndMedia->GetPos(),
                          DuiLib::POINT{DuiLib::GET_X_LPARAM(point), DuiLib::GET_Y_LPARAM(point)});
}

DuiLib::LRESULT CPlayerFrameWnd::ResponseDefaultKeyEvent(DuiLib::WPARAM wParam) {
  if (controller_ && controller_->OnDefaultKey(wParam)) return 1;
  return CDuiFrameWnd::ResponseDefaultKeyEvent(wParam);
}

DuiLib::LRESULT CPlayerFrameWnd::HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                               DuiLib::LPARAM lParam) {
  switch (uMsg) {
    case DuiLib::WM_DROPFILES:
      CDuiFrameWnd::HandleMessage(uMsg, wParam, lParam);
      if (auto drop = reinterpret_cast<DuiLib::HDROP>(wParam); controller_ && drop != nullptr) {
        AfterStartup([this, paths = drop->paths] { controller_->OnDropFiles(paths); });
      }
      return 0;
    case kMsgVideoWindow:
      CDuiFrameWnd::HandleMessage(uMsg, wParam, lParam);
      return static_cast<DuiLib::LRESULT>(VideoWindowNow());
    case kMsgHandedFiles:
      CDuiFrameWnd::HandleMessage(uMsg, wParam, lParam);
      if (const auto* files = reinterpret_cast<const std::vector<std::string>*>(lParam);
          controller_ && files != nullptr) {
        AfterStartup([this, paths = *files] { controller_->OnDropFiles(paths); });
        ShowWindow(true, true);  // to the front, as the user asked for this window
      }
      return 0;
    default:
      break;
  }
  const DuiLib::LRESULT result = CDuiFrameWnd::HandleMessage(uMsg, wParam, lParam);
  switch (uMsg) {
    case WM_PLAYLIST_DELETE:
      if (controller_) controller_->OnDeleteItem();
      break;
    case kMsgStartupDone:
      if (probe_) probe_->StartupDone();
      // The video window is made now and the files opened one message later, so the window has
      // reached the display server before a player is told to draw into it.
      VideoWindowNow();
      PostMessage(kMsgOpenCommandLine);
      break;
    case kMsgOpenCommandLine:
      startupDone_ = true;
      OpenCommandLineFiles();
      for (auto& action : std::exchange(afterStartup_, {})) action();
      break;
    case kMsgExportDone:
      OnExportDone();
      break;
    case kMsgSaveProgress:
      if (saving()) {
        ShowNotice(ReadLanguageText(GetContext(), kMainInterfaceSection, "IDS_SAVING") + " " +
                   std::to_string(wParam) + "%");
      }
      break;
    case kMsgSaveDone:
      OnSaveDone();
      break;
    case kMsgClipRead:
      if (controller_) controller_->OnClipRead();
      break;
    case WM_INDEX_PROGRESS:
      if (CViewManager* view = GetViewManager(); view != nullptr) {
        view->ShowIndexProgress(wParam, static_cast<std::size_t>(lParam));
        if (probe_) probe_->IndexProgressShown(view->texts.indexProgress);
      }
      // The playing clip's events, and other clips' lines, may have just been stored.
      if (eventMarks_) eventMarks_->Retry();
      if (overview_) overview_->Refresh();
      break;
    default:
      if (probe_) probe_->OnMessage(uMsg);
      break;
  }
  return result;
}

void CPlayerFrameWnd::OnDestroy() {
  probe_.reset();
  export_.reset();        // a running export ends with the window
  incidentSave_.reset();  // so does a running save, leaving no file
  // No indexer outlives the window; what they finished stays in the index.
  indexer_.reset();
  if (controller_) controller_->StopRoutine();
  if (followers_) followers_->onChange = nullptr;  // the video host goes with the controls
  // The worker may be waiting in a send to this window; the dispatcher releases it now.
  if (startupThread_.joinable()) startupThread_.join();
  if (GetPlaybackContext() != nullptr) GetPlaybackContext()->liveParser.StopLiveWorker();
  CDuiFrameWnd::OnDestroy();
}

void CPlayerFrameWnd::OnPipelineMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM) {
  if (controller_) controller_->OnPipelineMessage(wParam);
}

void CPlayerFrameWnd::OnPlayerMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM) {
  if (controller_) controller_->OnPlayerMessage(wParam);
  // The followers tell the window of their screenshots only: their videos' shapes are read at
  // the leader's answers.
  if (wParam == kPlayerPosition) FollowAspects();
}

void CPlayerFrameWnd::OnPositionMessage(DuiLib::WPARAM wParam, DuiLib::LPARAM lParam) {
  if (controller_) controller_->OnPositionMessage(wParam, lParam);
  ShowStretchMarks();  // the playing clip and its length change with the position
}

}  // namespace korvane
