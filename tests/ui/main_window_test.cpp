// The main window shell on the real skins: every bound control, the first texts, the control
// factory's tag rules, a skin lacking controls and a broken sub-layout.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "settings/localization.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

class RecordingFrame : public CDuiFrameWnd {
 public:
  using CDuiFrameWnd::CDuiFrameWnd;
  void Notify(DuiLib::TNotifyUI& msg) override {
    notes.push_back(msg);
    CDuiFrameWnd::Notify(msg);
  }
  std::vector<DuiLib::TNotifyUI> notes;
};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    env.Set("HOME", home.str());
    env.Set("XDG_CONFIG_HOME", home.str() + ".config");
    context.programFolder = test::ProgramDir();
    UseSkinFolder(test::SourceDir() + "/resources/skin/");
  }
  void UseSkinFolder(const std::string& folder) {
    DuiLib::CPaintManagerUI::SetResourcePath(folder);
  }
  // A copy of the real skins in a temporary folder, with `edit` applied to one file.
  std::string EditedSkins(const std::string& file,
                          const std::function<std::string(std::string)>& edit) {
    fs::copy(test::SourceDir() + "/resources/skin", skins.path(), fs::copy_options::recursive);
    std::ifstream in(skins.path() / file);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    std::ofstream(skins.path() / file) << edit(text.str());
    return skins.str();
  }
  std::string Caption(const char* key) {
    return ReadLanguageText(context, kMainInterfaceSection, key);
  }

  test::TempDir home;
  test::TempDir skins;
  test::ScopedEnv env;
  ApplicationContext context;
};

TEST_F(MainWindow, BindsEveryControlAndShowsTheFirstTexts) {
  RecordingFrame frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  EXPECT_EQ(context.mainWindowHandle, frame.GetHWND());
  ASSERT_NE(frame.GetPlaybackContext(), nullptr);
  CViewManager* view = frame.GetViewManager();
  ASSERT_NE(view, nullptr);
  const DuiLib::CControlUI* bound[] = {view->btnOpen,
                                       view->btnClear,
                                       view->btnFull,
                                       view->btnSmall,
                                       view->btnSShot,
                                       view->btnSetting,
                                       view->btnMute,
                                       view->btnVolume,
                                       view->btnStop,
                                       view->btnPrev,
                                       view->btnPlay,
                                       view->btnPause,
                                       view->btnNext,
                                       view->sliderProgress,
                                       view->sliderVolume,
                                       view->treePlaylist,
                                       view->webMap,
                                       view->accChart,
                                       view->wndMedia,
                                       view->titleLabel,
                                       view->labelLongitude,
                                       view->labelLatitude,
                                       view->labelSpeed,
                                       view->labelTime,
                                       view->labelPositionStatus,
                                       view->labelPlayTime,
                                       view->playlistHeader,
                                       view->indexProgress};
  for (std::size_t i = 0; i < std::size(bound); ++i) EXPECT_NE(bound[i], nullptr) << i;
  for (const char* name : {"btnOpenBig", "PlayerBoardRight", "PlayerGPSInfo", "titleBtn"}) {
    EXPECT_NE(frame.m_PaintManager.FindControl(name), nullptr) << name;
  }

  ASSERT_FALSE(context.languagePath.empty());
  EXPECT_FALSE(Caption("IDS_SPEED").empty());
  EXPECT_EQ(view->labelPlayTime->GetText(), "00:00:00/00:00:00");
  EXPECT_EQ(view->labelSpeed->GetText(), Caption("IDS_SPEED") + " 0 km/h");
  EXPECT_EQ(view->titleLabel->GetText(), Caption("IDS_TITLE"));
  EXPECT_EQ(view->labelLongitude->GetText(), Caption("IDS_LNG"));
  EXPECT_EQ(view->labelPositionStatus->GetText(), Caption("IDS_STATUS"));
  EXPECT_EQ(view->playlistHeader->GetText(), Caption("IDS_PLAYLIST"));
  EXPECT_EQ(view->sliderVolume->GetValue(), context.settings.volume);
  // Of each pair one button shows at the start.
  EXPECT_TRUE(view->btnPlay->IsVisible());
  EXPECT_FALSE(view->btnPause->IsVisible());
  EXPECT_TRUE(view->btnVolume->IsVisible());
  EXPECT_FALSE(view->btnMute->IsVisible());
  EXPECT_TRUE(view->btnFull->IsVisible());
  EXPECT_FALSE(view->btnSmall->IsVisible());
}

TEST_F(MainWindow, IndexProgressShowsInThePlaylistHeaderOnlyWhileARunGoesOn) {
  CDuiFrameWnd frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  CViewManager* view = frame.GetViewManager();
  ASSERT_NE(view->indexProgress, nullptr);
  EXPECT_FALSE(view->indexProgress->IsVisible());
  ASSERT_FALSE(Caption("IDS_INDEXING").empty());

  view->ShowIndexProgress(12, 340);
  EXPECT_EQ(view->indexProgress->GetText(), Caption("IDS_INDEXING") + " 12 / 340");
  EXPECT_TRUE(view->indexProgress->IsVisible());
  view->RefreshLabels();
  EXPECT_TRUE(view->indexProgress->IsVisible()) << "a refresh keeps the running text";
  for (const auto& [done, total] : {std::pair{340, 340}, std::pair{0, 0}}) {
    view->ShowIndexProgress(done, total);
    EXPECT_FALSE(view->indexProgress->IsVisible()) << done << "/" << total;
    EXPECT_EQ(view->texts.indexProgress, "");
  }
}

TEST_F(MainWindow, SliderDelegatesActOnTheirOwnSliderOnly) {
  CDuiFrameWnd frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  CViewManager* view = frame.GetViewManager();
  std::vector<std::pair<char, int>> calls;
  view->onVolumeChanged = [&](int v) { calls.emplace_back('v', v); };
  view->onSeek = [&](int v) { calls.emplace_back('s', v); };
  view->sliderProgress->SetMaxValue(60);
  view->sliderProgress->SetValue(12);
  view->sliderVolume->SetValue(70);
  DuiLib::TNotifyUI msg;
  msg.sType = "valuechanged";
  msg.pSender = view->sliderVolume;
  EXPECT_TRUE(view->OnVolumeNotify(&msg));
  EXPECT_TRUE(view->OnSeekNotify(&msg));  // not its slider
  msg.pSender = view->sliderProgress;
  EXPECT_TRUE(view->OnSeekNotify(&msg));
  msg.sType = "click";
  EXPECT_TRUE(view->OnSeekNotify(&msg));
  EXPECT_EQ(calls, (std::vector<std::pair<char, int>>{{'v', 70}, {'s', 12}}));
}

TEST_F(MainWindow, ControlFactoryFollowsTheTagRules) {
  CDuiFrameWnd frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  struct Case {
    const char* tag;
    bool created;
  };
  for (const Case& c :
       {Case{"Caption", true}, Case{"caption", true}, Case{"PLAYPANEL", true},
        Case{"shortcuts", true}, Case{"GpsInfo", true}, Case{"playlist", true}, Case{"WndUI", true},
        Case{"wndui", true}, Case{"ZellChart", true}, Case{"zellchart", false},
        Case{"ZELLCHART", false}, Case{"Unknown", false}, Case{"", false}}) {
    std::unique_ptr<DuiLib::CControlUI> control(frame.CreateControl(c.tag));
    EXPECT_EQ(control != nullptr, c.created) << c.tag;
  }
  std::unique_ptr<DuiLib::CControlUI> host(frame.CreateControl("wndui"));
  EXPECT_NE(host->GetInterface("WndUI"), nullptr);
  EXPECT_EQ(frame.CreateControl(nullptr), nullptr);
}

TEST_F(MainWindow, ASkinLackingBoundControlsStillStarts) {
  UseSkinFolder(EditedSkins("Caption.xml", [](std::string s) {
    return std::regex_replace(s, std::regex(R"(<Button name="btnOpen"[^>]*/>)"), "");
  }));
  std::ofstream(skins.path() / "GPSInfo.xml") << "<VerticalLayout name=\"PlayerGPSInfo\"/>";
  CDuiFrameWnd frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  CViewManager* view = frame.GetViewManager();
  EXPECT_EQ(view->btnOpen, nullptr);
  EXPECT_EQ(view->labelSpeed, nullptr);
  EXPECT_NE(view->btnPlay, nullptr);
  view->RefreshLabels();
  EXPECT_EQ(view->labelPlayTime->GetText(), "00:00:00/00:00:00");
}

TEST_F(MainWindow, ABrokenSubLayoutFailsCreationWithAMessage) {
  UseSkinFolder(
      EditedSkins("PlayPanel.xml", [](std::string s) { return s.substr(0, s.size() / 2); }));
  CDuiFrameWnd frame(context);
  testing::internal::CaptureStderr();
  EXPECT_EQ(frame.CreateMainWindow(), 0u);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("PlayPanel.xml"), std::string::npos) << err;
}

TEST_F(MainWindow, EscapeNeverClosesTheMainWindow) {
  CDuiFrameWnd frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  EXPECT_EQ(frame.ResponseDefaultKeyEvent(DuiLib::VK_ESCAPE), 1);
  test::KeyClick(frame.GetWidget(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_NE(frame.GetHWND(), 0u);
  EXPECT_FALSE(frame.IsClosing());
}

TEST_F(MainWindow, VideoDoubleClickYieldsDbclickWithMarker) {
  RecordingFrame frame(context);
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  DuiLib::CWndUI* host = frame.GetViewManager()->wndMedia;
  ASSERT_NE(host, nullptr);
  EXPECT_NE(host->GetVideoWindow(), 0u);  // the window was shown by Create (WS_VISIBLE)
  QWidget* surface = host->GetHostedWidget();
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), surface->mapToGlobal(QPointF(5, 5)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(surface, &dbl);
  int markers = 0;
  for (const auto& n : frame.notes) markers += n.sType == "dbclick" && n.lParam == 8 ? 1 : 0;
  EXPECT_EQ(markers, 1);
}

}  // namespace
}  // namespace korvane
