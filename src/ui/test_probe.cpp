#include "ui/test_probe.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "chart/chart_binding.h"
#include "chart/chart_cursor.h"
#include "framework/UIlib.h"
#include "framework/web_browser_ui.h"
#include "media/slave_commands.h"
#include "platform/tick.h"
#include "ui/gps_panel.h"
#include "ui/player_frame_wnd.h"

namespace korvane {

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) continue;
    out += c;
  }
  return out + "\"";
}

std::string VisibleName(DuiLib::CControlUI* first, DuiLib::CControlUI* second) {
  if (first != nullptr && first->IsVisible()) return Quoted(first->GetName());
  if (second != nullptr && second->IsVisible()) return Quoted(second->GetName());
  return "null";
}

std::string CursorText(const DuiLib::CChartModel* chart) {
  if (chart == nullptr || std::isnan(chart->cursorX)) return "null";
  return std::to_string(chart->cursorX);
}

// A rectangle of the window on the screen, [left, top, right, bottom].
std::string ScreenRect(const DuiLib::RECT& rect, const DuiLib::RECT& window) {
  return "[" + std::to_string(window.left + rect.left) + "," +
         std::to_string(window.top + rect.top) + "," + std::to_string(window.left + rect.right) +
         "," + std::to_string(window.top + rect.bottom) + "]";
}

std::string ScreenRectText(const DuiLib::CControlUI* control, const DuiLib::RECT& window) {
  return control != nullptr ? ScreenRect(control->GetPos(), window) : "null";
}

// The chart's plot area on the screen; null before the chart is set up.
std::string ChartPlotText(const DuiLib::CChartModel* chart, const DuiLib::RECT& window) {
  return chart != nullptr ? ScreenRect(chart->plotRect, window) : "null";
}

std::string HoverText(const DuiLib::CChartModel* chart) {
  return Quoted(chart != nullptr ? chart->hoverText : std::string());
}

// The progress bar's marks as {"span": [from, to], "ticks": [...]}, shares of its range.
std::string BarMarksText(const DuiLib::CProgressUI* bar) {
  if (bar == nullptr) return "null";
  const DuiLib::BarMarks& marks = bar->GetMarks();
  std::ostringstream text;
  text << "{\"span\":[" << marks.spanFrom << "," << marks.spanTo << "],\"ticks\":[";
  for (std::size_t i = 0; i < marks.ticks.size(); ++i) text << (i > 0 ? "," : "") << marks.ticks[i];
  text << "]}";
  return text.str();
}

// A stretch mark as {"clip": path, "ms": offset}, or null.
std::string MarkText(const std::optional<StretchTime>& mark) {
  if (!mark) return "null";
  return "{\"clip\":" + Quoted(mark->clip) + ",\"ms\":" + std::to_string(mark->valueMs) + "}";
}

}  // namespace

std::unique_ptr<CTestProbe> CTestProbe::FromEnvironment(CPlayerFrameWnd& window) {
  const char* path = std::getenv(kProbeVariable);
  if (path == nullptr || *path == '\0') return nullptr;
  return std::make_unique<CTestProbe>(window, path);
}

CTestProbe::CTestProbe(CPlayerFrameWnd& window, std::string path)
    : window_(window), path_(std::move(path)) {
  const WindowHandle target = window.GetHWND();
  timer_ = std::thread([this, target] {
    while (!stop_.load()) {
      PostWindowMessage(target, kMsgProbeTick, 0, 0);
      SleepMs(50);
    }
  });
}

CTestProbe::~CTestProbe() {
  stop_.store(true);
  if (timer_.joinable()) timer_.join();
}

std::int64_t CTestProbe::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

DuiLib::CChartModel* CTestProbe::SetUpChart() const {
  if (startupDoneMs_ == 0) return nullptr;
  CViewManager* view = window_.GetViewManager();
  return view != nullptr ? view->chartBinding.chart : nullptr;
}

void CTestProbe::RouteClicked(std::int32_t ms) {
  click_ = Click{};
  click_.t = ms;
  click_.clickMs = NowMs();
  click_.cursorX = std::numeric_limits<double>::quiet_NaN();
  PlaybackContext* playback = window_.GetPlaybackContext();
  if (playback != nullptr) {
    if (const auto point = playback->navigationTrack.Nearest(ms)) {
      click_.dateTime = FormatDateTime(*point);
    }
  }
  DuiLib::CChartModel* chart = SetUpChart();
  if (chart == nullptr) return;
  std::lock_guard<std::mutex> lock(chart->dataLock);
  if (const DuiLib::CCurve* curve = chart->FindCurve(kAccCurveNames[0])) {
    const int i = DuiLib::PointShownAt(*curve, ms);
    if (i >= 0) click_.cursorX = curve->xs[static_cast<std::size_t>(i)];
  }
}

void CTestProbe::WatchClick() {
  if (click_.t < 0) return;
  CViewManager* view = window_.GetViewManager();
  if (view == nullptr) return;
  const std::string& label = view->texts.timeLabel;
  if (click_.panelMs == 0 && !click_.dateTime.empty() && label.size() >= click_.dateTime.size() &&
      label.compare(label.size() - click_.dateTime.size(), std::string::npos, click_.dateTime) ==
          0) {
    click_.panelMs = NowMs();
  }
  const DuiLib::CChartModel* chart = SetUpChart();
  if (click_.cursorMs == 0 && chart != nullptr && chart->cursorX == click_.cursorX) {
    click_.cursorMs = NowMs();
  }
}

std::string CTestProbe::ClickJson() const {
  std::ostringstream json;
  json << "{\"t\":" << click_.t << ",\"dateTime\":" << Quoted(click_.dateTime)
       << ",\"clickMs\":" << click_.clickMs << ",\"seekSentMs\":" << click_.seekSentMs
       << ",\"panelMs\":" << click_.panelMs << ",\"cursorMs\":" << click_.cursorMs << "}";
  return json.str();
}

void CTestProbe::OnMessage(std::uint32_t message) {
  // Every message may be the one that brought the clicked moment to the panel or the cursor.
  WatchClick();
  if (message != kMsgProbeTick) return;
  if (shownMs_ == 0) shownMs_ = NowMs();
  CViewManager* view = window_.GetViewManager();
  auto* browser = view != nullptr ? dynamic_cast<DuiLib::CWebBrowserUI*>(view->webMap) : nullptr;
  if (browser != nullptr && browser->IsPageReady()) {
    if (pageReadyMs_ == 0) pageReadyMs_ = NowMs();
    browser->RunScript("JSON.stringify(window.korvaneMapState ? korvaneMapState() : null)",
                       [state = std::weak_ptr<std::string>(mapState_)](const std::string& value) {
                         if (auto held = state.lock()) *held = value;
                       });
  }
  RunCommands();
  Write();
}

void CTestProbe::RunCommands() {
  const std::string commandPath = path_ + ".cmd";
  std::ifstream in(commandPath);
  if (!in) return;
  std::vector<std::pair<std::string, std::string>> commands;
  std::string verb, argument;
  while (in >> verb >> argument) commands.emplace_back(verb, argument);
  in.close();
  std::remove(commandPath.c_str());
  for (const auto& [v, a] : commands) RunCommand(v, a);
}

void CTestProbe::RunCommand(const std::string& verb, const std::string& argument) {
  DuiLib::CPaintManagerUI& manager = window_.m_PaintManager;
  if (verb == "click") {
    if (DuiLib::CControlUI* control = manager.FindControl(argument)) {
      manager.SendNotify(control, DuiLib::DUI_MSGTYPE_CLICK);
    }
  } else if (verb == "seek") {
    CViewManager* view = window_.GetViewManager();
    if (view != nullptr && view->sliderProgress != nullptr) {
      view->sliderProgress->SetValue(std::atoi(argument.c_str()));
      manager.SendNotify(view->sliderProgress, DuiLib::DUI_MSGTYPE_VALUECHANGED);
    }
  } else if (verb == "maptarget" || verb == "linetarget") {
    CViewManager* view = window_.GetViewManager();
    auto* browser = view != nullptr ? dynamic_cast<DuiLib::CWebBrowserUI*>(view->webMap) : nullptr;
    if (browser == nullptr) return;
    // "linetarget <clip>,<fraction>": a point of that clip's overview line instead of the route.
    std::string target;
    if (verb == "maptarget") {
      target = "korvaneRoutePointAt(" + std::to_string(std::atof(argument.c_str())) + ")";
    } else {
      int clip = 0;
      double fraction = 0;
      if (std::sscanf(argument.c_str(), "%d,%lf", &clip, &fraction) != 2) return;
      target =
          "korvaneOverviewPointAt(" + std::to_string(clip) + "," + std::to_string(fraction) + ")";
    }
    // Page pixels to the screen: the window's place, then the map control's place in it.
    const DuiLib::RECT window = window_.GetWindowRect();
    const DuiLib::RECT map = view->webMap->GetPos();
    const std::string script = "(function(){var p=" + target + ";return p?JSON.stringify([p.x+" +
                               std::to_string(window.left + map.left) + ",p.y+" +
                               std::to_string(window.top + map.top) + ",p.t]):'null'})()";
    browser->RunScript(
        script, [target = std::weak_ptr<std::string>(mapTarget_)](const std::string& value) {
          // The script's value is a JSON string holding the array.
          if (auto held = target.lock()) {
            *held = value.size() >= 2 && value.front() == '"' ? value.substr(1, value.size() - 2)
                                                              : std::string("null");
          }
        });
  } else if (verb == "close") {
    window_.Close();
  } else if (verb == "ask" && argument == "dropped") {
    // Every player of the moment, for the figures of two channels played together.
    window_.GetPlaybackContext()->player.SendCommand(kDroppedFramesQuery, true);
    if (const CChannelFollowers* followers = window_.followers()) {
      for (int index : followers->indices()) {
        followers->player(index)->SendCommand(kDroppedFramesQuery);
      }
    }
  } else if (verb == "ask") {
    // The player's own answers, to the digit it gives them.
    const char* query = argument == "speed"  ? kSpeedQuery
                        : argument == "time" ? kSeekTimeQuery
                                             : nullptr;
    if (query != nullptr) window_.GetPlaybackContext()->player.SendCommand(query, true);
  } else if (verb == "drop") {
    // The message a drop on the window (or the map) sends, with one path.
    DuiLib::DropFiles drop{{argument}};
    window_.SendMessage(DuiLib::WM_DROPFILES, reinterpret_cast<DuiLib::WPARAM>(&drop));
  } else if (verb == "key") {
    window_.SendMessage(DuiLib::WM_KEYDOWN,
                        static_cast<DuiLib::WPARAM>(std::atoi(argument.c_str())));
  }
}

void CTestProbe::Write() {
  CViewManager* view = window_.GetViewManager();
  PlaybackContext* playback = window_.GetPlaybackContext();
  if (view == nullptr || playback == nullptr) return;
  std::ostringstream json;
  json << "{\"pid\":" << playback->player.processId()
       << ",\"state\":" << static_cast<int>(playback->player.state())
       << ",\"duration\":" << playback->duration << ",\"position\":" << playback->position
       << ",\"timePosition\":" << playback->player.timePosition()
       << ",\"speed\":" << playback->player.speed()
       << ",\"playerSpeed\":" << playback->player.replyFields().speed
       << ",\"playbackSpeed\":" << Quoted(view->texts.playbackSpeed)
       << ",\"playTime\":" << Quoted(view->texts.playTime)
       << ",\"timeLabel\":" << Quoted(view->texts.timeLabel)
       << ",\"longitudeLabel\":" << Quoted(view->texts.longitudeLabel)
       << ",\"latitudeLabel\":" << Quoted(view->texts.latitudeLabel)
       << ",\"speedLabel\":" << Quoted(view->texts.speedLabel)
       << ",\"statusLabel\":" << Quoted(view->texts.statusLabel)
       << ",\"indexProgress\":" << Quoted(view->texts.indexProgress)
       << ",\"indexProgressSeen\":" << Quoted(indexProgressSeen_)
       << ",\"notice\":" << Quoted(view->texts.notice) << ",\"gpsShown\":" << view->gpsShown
       << ",\"gpsValid\":" << view->gpsValid << ",\"fullScreen\":" << view->fullScreen
       << ",\"playButton\":" << VisibleName(view->btnPlay, view->btnPause)
       << ",\"progress\":" << (view->sliderProgress ? view->sliderProgress->GetValue() : -1)
       << ",\"progressMax\":" << (view->sliderProgress ? view->sliderProgress->GetMaxValue() : -1)
       << ",\"progressMarks\":" << BarMarksText(view->sliderProgress);
  if (view->wndMedia != nullptr) {
    // The screen point at the middle of the video, for a test's real mouse input.
    const DuiLib::RECT window = window_.GetWindowRect();
    const DuiLib::RECT video = view->wndMedia->GetPos();
    json << ",\"videoCentre\":[" << window.left + (video.left + video.right) / 2 << ","
         << window.top + (video.top + video.bottom) / 2 << "]";
    // Each channel of the moment as eight numbers: channel, its window's screen rectangle (left,
    // top, right, bottom), shown (1) or not, its player's process id and state. The main picture
    // comes first.
    const CChannelFollowers* followers = window_.followers();
    std::vector<int> channels{view->wndMedia->arrangement().main()};
    for (int small : view->wndMedia->arrangement().smalls()) channels.push_back(small);
    json << ",\"pictures\":[";
    for (std::size_t i = 0; i < channels.size(); ++i) {
      const int channel = channels[i];
      const DuiLib::RECT rc = view->wndMedia->ChannelRect(channel);
      const IPlayerPort* follower =
          channel > 0 && followers != nullptr ? followers->player(channel - 1) : nullptr;
      const std::uint32_t pid = channel == 0 ? playback->player.processId()
                                : follower   ? follower->processId()
                                             : 0;
      const int state = static_cast<int>(channel == 0 ? playback->player.state()
                                         : follower   ? follower->state()
                                                      : PlayerState::Idle);
      json << (i > 0 ? "," : "") << channel << "," << window.left + rc.left << ","
           << window.top + rc.top << "," << window.left + rc.right << "," << window.top + rc.bottom
           << "," << (DuiLib::IsRectEmpty(rc) ? 0 : 1) << "," << pid << "," << state;
    }
    json << "]";
    // The players' dropped-frame counts in channel order, the leader first (-1 before an answer).
    json << ",\"droppedFrames\":[" << playback->player.replyFields().droppedFrames;
    if (followers != nullptr) {
      for (int index : followers->indices()) {
        json << "," << followers->player(index)->droppedFrames();
      }
    }
    json << "]";
  }
  json << ",\"chartEvents\":[";
  DuiLib::CChartModel* chart = SetUpChart();
  if (chart != nullptr) {
    for (std::size_t i = 0; i < chart->eventMarks.size(); ++i) {
      json << (i > 0 ? "," : "") << chart->eventMarks[i].ms;
    }
  }
  json << "]";
  std::string clip;
  if (CPlaylistManager* list = window_.playlist(); list != nullptr) list->GetCurrentPath(clip);
  json << ",\"clip\":" << Quoted(clip);
  json << ",\"chart\":" << (chart != nullptr ? 1 : 0) << ",\"curves\":[";
  if (chart != nullptr) {
    std::lock_guard<std::mutex> lock(chart->dataLock);
    for (std::size_t i = 0; i < chart->curves.size(); ++i) {
      json << (i ? "," : "") << chart->curves[i].xs.size();
    }
  }
  json << "]";
  json << ",\"chartNotice\":" << Quoted(chart != nullptr ? chart->notice : "");
  if (chart != nullptr) {
    json << ",\"chartStretch\":[" << chart->stretchFromMs << "," << chart->stretchToMs << "]";
  }
  std::string current;
  CPlaylistManager* playlist = window_.playlist();
  if (playlist != nullptr) playlist->GetCurrentPath(current);
  json << ",\"current\":" << Quoted(current)
       << ",\"entries\":" << (playlist ? playlist->playlist().count() : 0)
       << ",\"storePoints\":" << playback->trackStore.totalPoints() << ",\"shownMs\":" << shownMs_
       << ",\"startupDoneMs\":" << startupDoneMs_ << ",\"pageReadyMs\":" << pageReadyMs_
       << ",\"nav\":[" << playback->navigationTrack.size() << ","
       << (playback->navigationTrack.complete() ? 1 : 0) << ","
       << playback->navigationTrack.generation() << "]"
       << ",\"cursorX\":" << CursorText(chart) << ",\"hoverText\":" << HoverText(chart)
       << ",\"chartPlot\":" << ChartPlotText(chart, window_.GetWindowRect())
       << ",\"mapRect\":" << ScreenRectText(view->webMap, window_.GetWindowRect())
       << ",\"tripsButton\":"
       << ScreenRectText(window_.m_PaintManager.FindControl("btnTrips"), window_.GetWindowRect())
       << ",\"settingButton\":"
       << ScreenRectText(window_.m_PaintManager.FindControl("btnSetting"), window_.GetWindowRect())
       << ",\"markStartButton\":"
       << ScreenRectText(window_.m_PaintManager.FindControl("btnMarkStart"),
                         window_.GetWindowRect())
       << ",\"markEndButton\":"
       << ScreenRectText(window_.m_PaintManager.FindControl("btnMarkEnd"), window_.GetWindowRect())
       << ",\"saving\":" << window_.saving()
       << ",\"markStart\":" << MarkText(window_.stretchMarks().start())
       << ",\"markEnd\":" << MarkText(window_.stretchMarks().end()) << ",\"click\":" << ClickJson()
       << ",\"mapTarget\":" << *mapTarget_ << ",\"map\":" << *mapState_ << "}\n";
  const std::string temp = path_ + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "w")) {
    const std::string text = json.str();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    std::rename(temp.c_str(), path_.c_str());
  }
}

}  // namespace korvane
