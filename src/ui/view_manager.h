// CViewManager: the main window's record of its view: the controls bound by name, the interface
// texts and the label texts composed from them, the GPS and full-screen flags, the chart binding
// and the saved window placement. One per process, created by the main window's start-up. The map
// display and the playlist are owned by CPlayerFrameWnd, not by this record.
#pragma once
#include <functional>
#include <limits>
#include <string>

#include "chart/chart_binding.h"
#include "framework/UIlib.h"
#include "settings/application_context.h"
#include "ui/stretch_marks.h"
#include "ui/wnd_ui.h"

namespace korvane {

struct ViewTexts {
  std::string title;          // "IDS_TITLE"
  std::string statusCaption;  // "IDS_STATUS"
  std::string noGpsCaption;   // "IDS_NOGPS"
  std::string gpsCaption;     // "IDS_GPS"
  std::string totalTime;      // "%02d:%02d:%02d"
  std::string currentTime;    // "%02d:%02d:%02d/"
  std::string playTime;       // current + total; "00:00:00/00:00:00" when idle
  std::string playbackSpeed;  // beside the play time, "1.5×"; empty (hidden) at normal speed
  std::string speedCaption;   // "IDS_SPEED"
  std::string speedValue = " 0 km/h";
  double speedKmh = std::numeric_limits<double>::quiet_NaN();  // the last shown; NaN: none yet
  std::string timeCaption;                                     // "IDS_TIME"
  std::string dateTimeValue;
  std::string longitudeCaption;  // "IDS_LNG"
  std::string longitudeValue;
  std::string latitudeCaption;  // "IDS_LAT"
  std::string latitudeValue;
  std::string longitudeLabel;
  std::string latitudeLabel;
  std::string timeLabel;
  std::string speedLabel;
  std::string statusLabel;
  std::string playlistCaption;  // "IDS_PLAYLIST"
  std::string indexingCaption;  // "IDS_INDEXING"
  std::string indexProgress;    // "Indexing 12 / 340" while background indexing runs, else empty
  std::string notice;           // the last action's result ("GPX imported: 3 clips")
};

inline constexpr char kIdlePlayTime[] = "00:00:00/00:00:00";

class CViewManager {
 public:
  // Reads the captions, composes the first texts, finds the controls, hooks the sliders, shows
  // the texts and saves the window's placement. A control the skin lacks stays null.
  void BindControls(DuiLib::CPaintManagerUI& manager, const ApplicationContext& context,
                    DuiLib::CWindowWnd& window);
  // The ten captions from section "Main_Interface" of the language file.
  void ReadCaptions(const ApplicationContext& context);
  // Label texts as they read before any telemetry: bare captions, speed " 0 km/h" (in the unit of
  // the settings), idle time.
  void ComposeInitialTexts();
  // Puts the texts on the ten labels; missing labels are skipped. The index progress and the
  // playback speed are shown only while they have a text.
  void RefreshLabels();
  // The background indexing's progress message: composes the text and shows it.
  void ShowIndexProgress(std::size_t done, std::size_t total);
  // The playlist header's label shows the notice while no indexing progress is shown.
  void ShowNotice(const std::string& text);
  // The label of the header: indexing progress, else the notice.
  void ShowHeaderStatus();
  // The marked stretch's place in the playing clip: its ticks and tinted span on the progress
  // bar, its band on the chart.
  void ShowStretch(const StretchInClip& placed);

  // Slider delegates: act on "valuechanged" of their own slider only; always true.
  bool OnVolumeNotify(void* param);
  bool OnSeekNotify(void* param);
  // What the sliders do (set by the playback controller); empty does nothing.
  std::function<void(int)> onVolumeChanged;
  std::function<void(int)> onSeek;

  // Controls, in the order they are looked up.
  DuiLib::CButtonUI* btnOpen = nullptr;
  DuiLib::CButtonUI* btnClear = nullptr;
  DuiLib::CButtonUI* btnFull = nullptr;
  DuiLib::CButtonUI* btnSmall = nullptr;
  DuiLib::CButtonUI* btnSShot = nullptr;
  DuiLib::CButtonUI* btnSetting = nullptr;
  DuiLib::CButtonUI* btnMute = nullptr;
  DuiLib::CButtonUI* btnVolume = nullptr;
  DuiLib::CButtonUI* btnStop = nullptr;
  DuiLib::CButtonUI* btnPrev = nullptr;
  DuiLib::CButtonUI* btnPlay = nullptr;
  DuiLib::CButtonUI* btnPause = nullptr;
  DuiLib::CButtonUI* btnNext = nullptr;
  DuiLib::CSliderUI* sliderProgress = nullptr;
  DuiLib::CSliderUI* sliderVolume = nullptr;
  DuiLib::CControlUI* treePlaylist = nullptr;  // the playlist tree
  DuiLib::CControlUI* webMap = nullptr;        // the map's browser control
  DuiLib::CControlUI* accChart = nullptr;      // the acceleration chart
  DuiLib::CWndUI* wndMedia = nullptr;
  DuiLib::CLabelUI* titleLabel = nullptr;
  DuiLib::CLabelUI* labelLongitude = nullptr;
  DuiLib::CLabelUI* labelLatitude = nullptr;
  DuiLib::CLabelUI* labelSpeed = nullptr;
  DuiLib::CLabelUI* labelTime = nullptr;
  DuiLib::CLabelUI* labelPositionStatus = nullptr;
  DuiLib::CLabelUI* labelPlayTime = nullptr;
  DuiLib::CLabelUI* labelPlaybackSpeed = nullptr;
  DuiLib::CLabelUI* playlistHeader = nullptr;
  DuiLib::CLabelUI* indexProgress = nullptr;  // in the playlist header

  ChartBinding chartBinding;

  ViewTexts texts;
  int gpsShown = 0;    // 1 once the first report after start-up has been shown
  int gpsValid = 0;    // 1 while the shown line had a position
  int fullScreen = 0;  // 1 while the window is in full screen
  DuiLib::WINDOWPLACEMENT savedPlacement;
};

}  // namespace korvane
