#include "ui/test_probe.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "chart/chart_binding.h"
#include "framework/UIlib.h"
#include "framework/web_browser_ui.h"
#include "platform/tick.h"
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

void CTestProbe::OnMessage(std::uint32_t message) {
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
  } else if (verb == "close") {
    window_.Close();
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
       << ",\"playTime\":" << Quoted(view->texts.playTime)
       << ",\"timeLabel\":" << Quoted(view->texts.timeLabel)
       << ",\"longitudeLabel\":" << Quoted(view->texts.longitudeLabel)
       << ",\"latitudeLabel\":" << Quoted(view->texts.latitudeLabel)
       << ",\"speedLabel\":" << Quoted(view->texts.speedLabel)
       << ",\"statusLabel\":" << Quoted(view->texts.statusLabel)
       << ",\"indexProgress\":" << Quoted(view->texts.indexProgress)
       << ",\"gpsShown\":" << view->gpsShown << ",\"gpsValid\":" << view->gpsValid
       << ",\"fullScreen\":" << view->fullScreen
       << ",\"playButton\":" << VisibleName(view->btnPlay, view->btnPause)
       << ",\"progress\":" << (view->sliderProgress ? view->sliderProgress->GetValue() : -1)
       << ",\"progressMax\":" << (view->sliderProgress ? view->sliderProgress->GetMaxValue() : -1);
  json << ",\"chart\":" << (view->chartBinding.chart != nullptr ? 1 : 0) << ",\"curves\":[";
  if (DuiLib::CChartModel* chart = view->chartBinding.chart; chart != nullptr) {
    std::lock_guard<std::mutex> lock(chart->dataLock);
    for (std::size_t i = 0; i < chart->curves.size(); ++i) {
      json << (i ? "," : "") << chart->curves[i].xs.size();
    }
  }
  json << "]";
  std::string current;
  CPlaylistManager* playlist = window_.playlist();
  if (playlist != nullptr) playlist->GetCurrentPath(current);
  json << ",\"current\":" << Quoted(current)
       << ",\"entries\":" << (playlist ? playlist->playlist().count() : 0)
       << ",\"storePoints\":" << playback->trackStore.totalPoints() << ",\"shownMs\":" << shownMs_
       << ",\"startupDoneMs\":" << startupDoneMs_ << ",\"pageReadyMs\":" << pageReadyMs_
       << ",\"map\":" << *mapState_ << "}\n";
  const std::string temp = path_ + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "w")) {
    const std::string text = json.str();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    std::rename(temp.c_str(), path_.c_str());
  }
}

}  // namespace korvane
