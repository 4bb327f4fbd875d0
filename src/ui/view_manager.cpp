#include "ui/view_manager.h"

#include <utility>

#include "settings/localization.h"
#include "ui/gps_panel.h"
#include "ui/index_progress_text.h"

namespace korvane {

namespace {

template <class T>
T* Bind(DuiLib::CPaintManagerUI& manager, const char* name) {
  return dynamic_cast<T*>(manager.FindControl(name));
}

void SetLabel(DuiLib::CControlUI* label, const std::string& text) {
  if (label != nullptr) label->SetText(text);
}

// A label shown only while it has a text.
void SetShownLabel(DuiLib::CControlUI* label, const std::string& text) {
  SetLabel(label, text);
  if (label != nullptr) label->SetVisible(!text.empty());
}

}  // namespace

void CViewManager::ReadCaptions(const ApplicationContext& context) {
  auto read = [&](const char* key) {
    return ReadLanguageText(context, kMainInterfaceSection, key);
  };
  texts.title = read("IDS_TITLE");
  texts.latitudeCaption = read("IDS_LAT");
  texts.longitudeCaption = read("IDS_LNG");
  texts.timeCaption = read("IDS_TIME");
  texts.speedCaption = read("IDS_SPEED");
  texts.statusCaption = read("IDS_STATUS");
  texts.gpsCaption = read("IDS_GPS");
  texts.noGpsCaption = read("IDS_NOGPS");
  texts.playlistCaption = read("IDS_PLAYLIST");
  texts.indexingCaption = read("IDS_INDEXING");
}

void CViewManager::ComposeInitialTexts() {
  texts.longitudeLabel = texts.longitudeCaption;
  texts.latitudeLabel = texts.latitudeCaption;
  texts.timeLabel = texts.timeCaption;
  texts.speedLabel = texts.speedCaption + texts.speedValue;
  texts.playTime = kIdlePlayTime;
  texts.statusLabel = texts.statusCaption;
}

void CViewManager::BindControls(DuiLib::CPaintManagerUI& manager, const ApplicationContext& context,
                                DuiLib::CWindowWnd& window) {
  using namespace DuiLib;
  ReadCaptions(context);
  ShowSpeedIn(texts, context.settings.speedUnit);
  ComposeInitialTexts();

  btnOpen = Bind<CButtonUI>(manager, "btnOpen");
  btnClear = Bind<CButtonUI>(manager, "btnClear");
  btnFull = Bind<CButtonUI>(manager, "btnFull");
  btnSmall = Bind<CButtonUI>(manager, "btnSmall");
  btnSShot = Bind<CButtonUI>(manager, "btnSShot");
  btnSetting = Bind<CButtonUI>(manager, "btnSetting");
  btnMute = Bind<CButtonUI>(manager, "btnMute");
  btnVolume = Bind<CButtonUI>(manager, "btnVolume");
  btnStop = Bind<CButtonUI>(manager, "btnStop");
  btnPrev = Bind<CButtonUI>(manager, "btnPrev");
  btnPlay = Bind<CButtonUI>(manager, "btnPlay");
  btnPause = Bind<CButtonUI>(manager, "btnPause");
  btnNext = Bind<CButtonUI>(manager, "btnNext");
  sliderProgress = Bind<CSliderUI>(manager, "sliderProgress");
  sliderVolume = Bind<CSliderUI>(manager, "sliderVolume");
  treePlaylist = manager.FindControl("treePlaylist");
  webMap = manager.FindControl("WebMap");
  accChart = manager.FindControl("accChart");
  wndMedia = Bind<CWndUI>(manager, "wndMedia");
  titleLabel = Bind<CLabelUI>(manager, "TitleLabel");
  labelLongitude = Bind<CLabelUI>(manager, "LabelLongitude");
  labelLatitude = Bind<CLabelUI>(manager, "LabelLatitude");
  labelSpeed = Bind<CLabelUI>(manager, "LabelSpeed");
  labelTime = Bind<CLabelUI>(manager, "LabelTime");
  labelPositionStatus = Bind<CLabelUI>(manager, "LabelPositionStatus");
  labelPlayTime = Bind<CLabelUI>(manager, "labelPlayTime");
  labelPlaybackSpeed = Bind<CLabelUI>(manager, "labelPlaybackSpeed");
  playlistHeader = Bind<CLabelUI>(manager, "playlistHeader");
  indexProgress = Bind<CLabelUI>(manager, "indexProgress");

  if (sliderVolume != nullptr) {
    sliderVolume->OnNotify += MakeDelegate(this, &CViewManager::OnVolumeNotify);
    sliderVolume->SetValue(context.settings.volume);
  }
  if (sliderProgress != nullptr) {
    sliderProgress->OnNotify += MakeDelegate(this, &CViewManager::OnSeekNotify);
  }
  RefreshLabels();
  // The playlist's LoadPlaylistOptions() runs here once the playlist is wired.
  window.GetWindowPlacement(&savedPlacement);
}

void CViewManager::RefreshLabels() {
  SetLabel(titleLabel, texts.title);
  SetLabel(labelLongitude, texts.longitudeLabel);
  SetLabel(labelLatitude, texts.latitudeLabel);
  SetLabel(labelSpeed, texts.speedLabel);
  SetLabel(labelTime, texts.timeLabel);
  SetLabel(labelPositionStatus, texts.statusLabel);
  SetLabel(labelPlayTime, texts.playTime);
  SetShownLabel(labelPlaybackSpeed, texts.playbackSpeed);
  SetLabel(playlistHeader, texts.playlistCaption);
  ShowHeaderStatus();
}

void CViewManager::ShowHeaderStatus() {
  const std::string& text = texts.indexProgress.empty() ? texts.notice : texts.indexProgress;
  SetShownLabel(indexProgress, text);
  // A notice longer than the header ends in "…"; the whole line is its tooltip.
  if (indexProgress != nullptr) indexProgress->SetToolTip(text);
}

void CViewManager::ShowIndexProgress(std::size_t done, std::size_t total) {
  texts.indexProgress = IndexProgressText(texts.indexingCaption, done, total);
  ShowHeaderStatus();
}

void CViewManager::ShowNotice(const std::string& text) {
  texts.notice = text;
  ShowHeaderStatus();
}

void CViewManager::ShowStretch(const StretchInClip& placed) {
  if (sliderProgress != nullptr) {
    DuiLib::BarMarks marks;
    for (const std::optional<std::int64_t>& tick : {placed.startTickMs, placed.endTickMs}) {
      if (tick) marks.ticks.push_back(placed.FractionOf(*tick));
    }
    if (placed.tintFromMs && placed.tintToMs) {
      marks.spanFrom = placed.FractionOf(*placed.tintFromMs);
      marks.spanTo = placed.FractionOf(*placed.tintToMs);
    }
    sliderProgress->SetMarks(std::move(marks));
  }
  chartBinding.SetStretch(placed.tintFromMs.value_or(-1), placed.tintToMs.value_or(-1));
}

// Hands a slider's new value on when the notification is its own "valuechanged".
static void ForwardSliderValue(void* param, DuiLib::CSliderUI* slider,
                               const std::function<void(int)>& action) {
  auto* msg = static_cast<DuiLib::TNotifyUI*>(param);
  if (msg != nullptr && slider != nullptr && msg->pSender == slider &&
      msg->sType == DuiLib::DUI_MSGTYPE_VALUECHANGED && action) {
    action(slider->GetValue());
  }
}

bool CViewManager::OnVolumeNotify(void* param) {
  ForwardSliderValue(param, sliderVolume, onVolumeChanged);
  return true;
}

bool CViewManager::OnSeekNotify(void* param) {
  ForwardSliderValue(param, sliderProgress, onSeek);
  return true;
}

}  // namespace korvane
