// The playlist wired as the program runs it: real settings and language files, the framework's
// open dialog (replaced by a hook), the skin's tree and the drop list.
#include "ui/playlist_panel.h"

#include <gtest/gtest.h>

#include "framework/playlist_tree_view.h"
#include "settings/application_context.h"
#include "support/file_text.h"
#include "support/framework_test_window.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::ReadFileText;
using test::WriteFileText;

constexpr const char* kSkin =
    R"(<Window size="300,200"><PlayListTreeView name="treePlaylist"/></Window>)";

class PlaylistPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    context.settingsPath = dir.str() + "Velmora.ini";
    context.languagePath = dir.str() + "english.ini";
    WriteFileText(context.languagePath, "[Main_Interface]\nIDS_FILTER=Video files\n");
    ASSERT_NE(window.CreateHidden(), 0u);
    context.mainWindowHandle = window.GetHWND();
    clips = dir.str() + "card/";
    for (const char* name : {"b.MP4", "a.mp4", "c.avi"}) WriteFileText(clips + name, "");
  }
  void TearDown() override { DuiLib::SetOpenFileDialogHook({}); }

  std::unique_ptr<CPlaylistPanel> MakePanel(AppPlaylistHost::ClearTip tip = {}) {
    auto panel = std::make_unique<CPlaylistPanel>(context, window.Find("treePlaylist"), tip);
    panel->manager().LoadPlaylistOptions();
    return panel;
  }

  test::TempDir dir;
  ApplicationContext context;
  test::TestSkinWindow window{kSkin};
  std::string clips;
};

TEST_F(PlaylistPanelTest, DefaultsAreWrittenToTheSettingsFileAndKeptOtherwise) {
  WriteFileText(context.settingsPath, "[MPlayer]\nVolume=55\nFilter=\n");
  auto panel = MakePanel();
  std::string ini = ReadFileText(context.settingsPath);
  EXPECT_NE(ini.find("Volume=55"), std::string::npos);
  EXPECT_NE(ini.find("Associate=MP4;MOV;TS"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Filter=*.mp4 *.mov *.ts"), std::string::npos) << ini;
  EXPECT_EQ(panel->manager().openFilter().displayText, "Video files(*.mp4 *.mov *.ts)");

  WriteFileText(context.settingsPath, "[mplayer]\nassociate=avi;MP4\nfilter=*.mp4;*.avi\n");
  panel = MakePanel();
  EXPECT_EQ(ReadFileText(context.settingsPath),
            "[mplayer]\nassociate=avi;MP4\nfilter=*.mp4;*.avi\n");
  EXPECT_EQ(panel->manager().supportedExtensions(), (std::vector<std::string>{"avi", "MP4"}));
  EXPECT_EQ(panel->manager().openFilter().pattern, "*.mp4;*.avi");
}

TEST_F(PlaylistPanelTest, OpenDialogIsOwnedByTheMainWindowAndFillsTheTree) {
  auto panel = MakePanel();
  DuiLib::OpenFileRequest seen;
  DuiLib::SetOpenFileDialogHook([&](const DuiLib::OpenFileRequest& request, std::string& path) {
    seen = request;
    path = clips + "b.MP4";
    return true;
  });
  EXPECT_EQ(panel->manager().OpenFileDialog(), 1);
  EXPECT_EQ(seen.owner, context.mainWindowHandle);
  EXPECT_EQ(seen.filterText, "Video files(*.mp4 *.mov *.ts)");
  EXPECT_EQ(seen.filterPattern, "*.mp4 *.mov *.ts");
  ASSERT_NE(panel->tree(), nullptr);
  ASSERT_EQ(panel->tree()->GetCount(), 2);
  EXPECT_EQ(panel->tree()->GetNodeAt(0)->GetItemText(), "a.mp4");
  EXPECT_TRUE(panel->tree()->GetNodeAt(1)->IsPlaying());

  DuiLib::SetOpenFileDialogHook([](const DuiLib::OpenFileRequest&, std::string&) { return false; });
  EXPECT_EQ(panel->manager().OpenFileDialog(), 0);
  EXPECT_EQ(panel->playlist().current(), 1);
}

TEST_F(PlaylistPanelTest, DroppedPathsLoadTheFolder) {
  auto panel = MakePanel();
  panel->DropFiles(nullptr);
  DuiLib::DropFiles drop{{clips + "a.mp4", dir.str()}};
  panel->DropFiles(&drop);
  EXPECT_EQ(panel->playlist().count(), 2);
  EXPECT_EQ(panel->playlist().current(), 0);
}

TEST_F(PlaylistPanelTest, ClearAsksThroughTheTipOnlyWhenTheSettingsWantIt) {
  int shown = 0;
  int answer = 2;
  auto panel = MakePanel([&] {
    ++shown;
    return answer;
  });
  DuiLib::DropFiles drop{{clips + "a.mp4"}};
  panel->DropFiles(&drop);
  context.settings.cleanTip = true;
  EXPECT_FALSE(panel->manager().ClearPlaylist());
  EXPECT_EQ(panel->tree()->GetCount(), 2);
  answer = 1;
  EXPECT_TRUE(panel->manager().ClearPlaylist());
  EXPECT_EQ(panel->tree()->GetCount(), 0);
  EXPECT_EQ(shown, 2);

  panel->DropFiles(&drop);
  context.settings.cleanTip = false;
  EXPECT_TRUE(panel->manager().ClearPlaylist());
  EXPECT_EQ(shown, 2);
}

TEST_F(PlaylistPanelTest, WithoutATreeTheListStillWorks) {
  CPlaylistPanel panel(context, nullptr);
  panel.manager().LoadPlaylistOptions();
  DuiLib::DropFiles drop{{clips + "b.MP4"}};
  panel.DropFiles(&drop);
  EXPECT_EQ(panel.playlist().current(), 1);
  context.settings.cleanTip = true;  // no tip to ask with: cleared at once
  EXPECT_TRUE(panel.manager().ClearPlaylist());
}

}  // namespace
}  // namespace korvane
