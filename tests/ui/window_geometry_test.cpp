// The main window's geometry across runs: the placing rule on a table of screens, the five keys
// in the settings file, and the real window restored at its next start, closed maximised and in
// full screen.
#include "ui/window_geometry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <filesystem>
#include <regex>

#include "settings/data_folder.h"
#include "settings/settings_store.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "ui/fullscreen.h"
#include "ui/main_window.h"

namespace korvane {
namespace {

using DuiLib::RECT;
namespace fs = std::filesystem;

struct PlaceCase {
  const char* name;
  RECT saved;
  std::optional<RECT> placed;
};

// A 1600x900 primary screen and a 1920x1080 one to its right.
const std::vector<RECT> kTwoScreens{{0, 0, 1600, 900}, {1600, 0, 3520, 1080}};

class PlaceOnScreensTest : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceOnScreensTest, PutsTheWindowWhollyOnOneScreen) {
  const PlaceCase& c = GetParam();
  EXPECT_EQ(PlaceOnScreens(c.saved, kTwoScreens), c.placed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlaceOnScreensTest,
    testing::Values(
        PlaceCase{"InsideStays", {100, 100, 900, 700}, RECT{100, 100, 900, 700}},
        PlaceCase{"OnTheSecondScreenStays", {2000, 200, 2800, 800}, RECT{2000, 200, 2800, 800}},
        PlaceCase{
            "AcrossTheEdgeGoesToTheLargerPart", {1300, 100, 2100, 700}, RECT{1600, 100, 2400, 700}},
        PlaceCase{"HangingOffTheBottomMovesUp", {100, 800, 900, 1200}, RECT{100, 500, 900, 900}},
        PlaceCase{"LargerThanTheScreenIsCut", {-50, -50, 2000, 1200}, RECT{0, 0, 1600, 900}},
        PlaceCase{"OffEveryScreenIsCentredOnThePrimary",
                  {5000, 5000, 5800, 5600},
                  RECT{400, 150, 1200, 750}},
        PlaceCase{
            "FarNegativeIsCentredAndCut", {-3000, -3000, -2000, -2000}, RECT{300, 0, 1300, 900}},
        PlaceCase{"EmptyIsNotPlaced", {10, 10, 10, 500}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlaceOnScreens, NoScreenPlacesNothing) {
  EXPECT_EQ(PlaceOnScreens(RECT{0, 0, 100, 100}, {}), std::nullopt);
}

class GeometryKeys : public testing::Test {
 protected:
  GeometryKeys() {
    context.settingsPath = folder.str() + "Velmora.ini";
    test::WriteFileText(context.settingsPath, "[MPlayer]\nVolume=40\nFilter=*.mp4\n");
  }
  test::TempDir folder;
  ApplicationContext context;
};

TEST_F(GeometryKeys, AreWrittenAfterTheFilesKeysAndReadBack) {
  WriteSavedGeometry(context, SavedGeometry{RECT{-20, 30, 1180, 830}, true});
  EXPECT_EQ(test::ReadFileText(context.settingsPath),
            "[MPlayer]\nVolume=40\nFilter=*.mp4\nWindowLeft=-20\nWindowTop=30\n"
            "WindowWidth=1200\nWindowHeight=800\nWindowMaximized=1\n");
  const std::optional<SavedGeometry> read = ReadSavedGeometry(context);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->normal, (RECT{-20, 30, 1180, 830}));
  EXPECT_TRUE(read->maximized);
}

TEST_F(GeometryKeys, MissingOrUnusableValuesAreNotRestored) {
  const std::string complete = "WindowLeft=1\nWindowTop=2\nWindowMaximized=0\n";
  for (const std::string& size :
       {std::string("WindowWidth=800\n"), std::string("WindowWidth=0\nWindowHeight=600\n"),
        std::string("WindowWidth=abc\nWindowHeight=600\n"),
        std::string("WindowWidth=-5\nWindowHeight=600\n")}) {
    test::WriteFileText(context.settingsPath, "[MPlayer]\n" + complete + size);
    EXPECT_EQ(ReadSavedGeometry(context), std::nullopt) << size;
  }
  test::WriteFileText(context.settingsPath,
                      "[MPlayer]\nWindowLeft=2147483000\nWindowTop=0\nWindowWidth=1000\n"
                      "WindowHeight=600\nWindowMaximized=0\n");
  EXPECT_EQ(ReadSavedGeometry(context), std::nullopt) << "a right edge past the int range";
}

// The real main window on the offscreen screen (800x600), its minimum size made small enough for
// that screen.
class MainWindowGeometry : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home.path() / "Documents");
    env.Set("HOME", home.str());
    env.Set("XDG_CONFIG_HOME", home.str() + ".config");
    context.programFolder = test::ProgramDir();
    fs::copy(test::SourceDir() + "/resources/skin", skins.path(), fs::copy_options::recursive);
    const fs::path main = skins.path() / kMainSkinFile;
    test::WriteFileText(
        main, std::regex_replace(test::ReadFileText(main), std::regex(R"(mininfo="[0-9,]+")"),
                                 "mininfo=\"300,200\""));
    DuiLib::CPaintManagerUI::SetResourcePath(skins.str());
  }
  // One run of the window: `during` acts on it, then it is closed as the user closes it.
  void Run(const std::function<void(CDuiFrameWnd&)>& during) {
    CDuiFrameWnd frame(context);
    ASSERT_NE(frame.CreateMainWindow(), 0u);
    QApplication::processEvents();
    during(frame);
    frame.SendMessage(DuiLib::WM_CLOSE);
  }
  void Save(const std::string& keys) {
    const std::string text = test::ReadFileText(context.settingsPath);
    test::WriteFileText(context.settingsPath,
                        std::regex_replace(text, std::regex("Window[A-Za-z]+=.*\n"), "") + keys);
  }
  QRect NormalOf(CDuiFrameWnd& frame) {
    QWidget* w = frame.GetWidget();
    return w->isMaximized() ? w->normalGeometry() : w->geometry();
  }

  test::TempDir home;
  test::TempDir skins;
  test::ScopedEnv env;
  ApplicationContext context;
};

TEST_F(MainWindowGeometry, TheNextStartTakesTheNormalGeometryTheLastRunClosedWith) {
  Run([](CDuiFrameWnd& frame) { frame.MoveWindow(40, 30, 500, 400); });
  ASSERT_TRUE(UsesOwnSettingsFile(context));
  Run([&](CDuiFrameWnd& frame) {
    EXPECT_EQ(NormalOf(frame), QRect(40, 30, 500, 400));
    EXPECT_FALSE(frame.IsMaximized());
  });
  Save("WindowLeft=60\nWindowTop=50\nWindowWidth=400\nWindowHeight=300\nWindowMaximized=1\n");
  Run([&](CDuiFrameWnd& frame) {
    EXPECT_TRUE(frame.IsMaximized());
    EXPECT_EQ(NormalOf(frame), QRect(60, 50, 400, 300));
    // Closed in full screen: what is written is the maximised window from before it.
    EnterFullScreenWindow(frame, frame.m_PaintManager, *frame.GetViewManager());
    frame.GetViewManager()->fullScreen = 1;
  });
  EXPECT_EQ(ReadSettingInt(context, kSettingsSection, kKeyWindowWidth, 0), 400);
  EXPECT_EQ(ReadSettingInt(context, kSettingsSection, kKeyWindowMaximized, 0), 1);
}

TEST_F(MainWindowGeometry, TheProgramFoldersDefaultFileIsNeverWritten) {
  // A file where the documents folder belongs: no data folder, so the fallback file is in use.
  fs::remove_all(home.path() / "Documents");
  test::WriteFileText(home.path() / "Documents", "not a folder");
  const std::string defaults = test::ProgramDir() + "conf/TotalConfig/Velmora.ini";
  const std::string before = test::ReadFileText(defaults);
  Run([](CDuiFrameWnd& frame) { frame.MoveWindow(40, 30, 500, 400); });
  EXPECT_FALSE(UsesOwnSettingsFile(context));
  EXPECT_EQ(test::ReadFileText(defaults), before);
}

}  // namespace
}  // namespace korvane
