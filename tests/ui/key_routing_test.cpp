// One route per key on the real main window (offscreen): a player key is the window's whatever
// has the focus (a slider, a button, the playlist, the map's widget) and reaches nothing else;
// other keys go where the focus is; the wheel over the video is the volume.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>

#include "framework/playlist_tree_view.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "ui/player_frame_wnd.h"

namespace korvane {
namespace {

using test::KeyClick;
using test::KeyCounter;

class KeyRouting : public testing::Test {
 protected:
  void SetUp() override {
    env.Set("HOME", home.str());
    env.Set("XDG_CONFIG_HOME", home.str() + ".config");
    context.programFolder = test::ProgramDir();
    DuiLib::CPaintManagerUI::SetResourcePath(test::SourceDir() + "/resources/skin/");
    frame = std::make_unique<CPlayerFrameWnd>(context, StartupRoutine{});
    ASSERT_NE(frame->CreateMainWindow(), 0u);
    view = frame->GetViewManager();
    QApplication::processEvents();
  }
  void TearDown() override {
    if (frame && frame->GetHWND() != 0) frame->SendMessage(DuiLib::WM_CLOSE);
  }
  // Gives a control of the window the focus, as a click on it does.
  QWidget* FocusControl(DuiLib::CControlUI* control) {
    frame->GetWidget()->setFocus();
    frame->m_PaintManager.SetFocus(control);
    return frame->GetWidget();
  }
  int Volume() const { return frame->GetPlaybackContext()->player.volume(); }
  bool Muted() const { return frame->GetPlaybackContext()->player.muted(); }
  void Wheel(DuiLib::CControlUI* over, int delta) {
    const DuiLib::RECT& r = over->GetPos();
    const QPointF at((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
    QWheelEvent wheel(at, frame->GetWidget()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(frame->GetWidget(), &wheel);
  }

  test::TempDir home;
  test::TempDir clips;
  test::ScopedEnv env;
  ApplicationContext context;
  std::unique_ptr<CPlayerFrameWnd> frame;
  CViewManager* view = nullptr;
};

TEST_F(KeyRouting, PlayerKeysAreTheWindowsWhateverControlHasTheFocus) {
  const int start = Volume();
  KeyClick(FocusControl(view->sliderVolume), Qt::Key_Up);
  EXPECT_EQ(Volume(), start + 5);
  EXPECT_EQ(view->sliderVolume->GetValue(), start + 5) << "moved once, by the window";

  view->sliderProgress->SetMaxValue(100);
  KeyClick(FocusControl(view->sliderProgress), Qt::Key_Right);
  EXPECT_EQ(view->sliderProgress->GetValue(), 0) << "no file: the seek does nothing, the slider "
                                                    "never saw the key";

  KeyClick(FocusControl(view->btnVolume), Qt::Key_Space);
  EXPECT_FALSE(Muted()) << "Space did not press the focused mute button";
  KeyClick(FocusControl(view->btnVolume), Qt::Key_M);
  EXPECT_TRUE(Muted());
  EXPECT_TRUE(view->btnMute->IsVisible());
  KeyClick(FocusControl(view->btnMute), Qt::Key_M);
  EXPECT_FALSE(Muted());

  // With Control held the arrow is not the player's and goes to the focused slider.
  const int volume = Volume();
  KeyClick(FocusControl(view->sliderProgress), Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(Volume(), volume);
  EXPECT_EQ(view->sliderProgress->GetValue(), 1);
}

TEST_F(KeyRouting, SpeedKeysWithoutAFileAreKeptAndShownBesideThePlayTime) {
  KeyClick(FocusControl(view->sliderProgress), Qt::Key_Period);  // no file: no frame to step
  KeyClick(FocusControl(view->sliderProgress), Qt::Key_BracketRight);
  EXPECT_EQ(frame->GetPlaybackContext()->player.speed(), 1.5);
  EXPECT_TRUE(view->labelPlaybackSpeed->IsVisible());
  EXPECT_EQ(view->labelPlaybackSpeed->GetText(), "1.5\u00d7");
  KeyClick(FocusControl(view->treePlaylist), Qt::Key_BracketLeft);
  EXPECT_EQ(frame->GetPlaybackContext()->player.speed(), 1.0);
  EXPECT_FALSE(view->labelPlaybackSpeed->IsVisible());
}

TEST_F(KeyRouting, ThePlaylistKeepsOnlyItsOwnKeys) {
  for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) std::ofstream(clips.path() / name).put('x');
  frame->playlist()->DropFiles({clips.str() + "a.mp4"});
  auto* tree = dynamic_cast<DuiLib::CPlayListTreeViewUI*>(view->treePlaylist);
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->GetCount(), 3);
  const int selected = tree->GetCurSel();
  const int start = Volume();

  KeyClick(FocusControl(tree), Qt::Key_Down);
  EXPECT_EQ(Volume(), start - 5);
  EXPECT_EQ(tree->GetCurSel(), selected) << "Down is the volume, not the list's";
  KeyClick(FocusControl(tree), Qt::Key_End);
  EXPECT_EQ(tree->GetCurSel(), 2) << "End is the list's";
  EXPECT_EQ(Volume(), start - 5);

  KeyClick(FocusControl(tree), Qt::Key_Return);
  EXPECT_EQ(view->fullScreen, 1) << "Enter is full screen";
  EXPECT_EQ(frame->playlist()->playlist().current(), 0) << "and activates no entry";
  KeyClick(FocusControl(tree), Qt::Key_Escape);
  EXPECT_EQ(view->fullScreen, 0);
}

TEST_F(KeyRouting, TheMapsWidgetGetsOnlyTheKeysThatAreNotThePlayers) {
  QWidget* map = view->webMap->GetHostedWidget();
  ASSERT_NE(map, nullptr);
  KeyCounter atMap(map);
  map->setFocus();
  const int start = Volume();
  KeyClick(map, Qt::Key_Up);
  KeyClick(map, Qt::Key_M);
  EXPECT_EQ(Volume(), start + 5);
  EXPECT_TRUE(Muted());
  EXPECT_EQ(atMap.presses, 0);
  KeyClick(map, Qt::Key_Plus);  // the map's zoom key
  EXPECT_EQ(atMap.presses, 1);
  EXPECT_EQ(Volume(), start + 5);
}

TEST_F(KeyRouting, TheWheelOverTheVideoIsTheVolume) {
  const int start = Volume();
  Wheel(view->wndMedia, 120);
  Wheel(view->wndMedia, 120);
  EXPECT_EQ(Volume(), start + 10);
  Wheel(view->wndMedia, -60);
  EXPECT_EQ(Volume(), start + 10) << "half a notch waits for the other half";
  Wheel(view->wndMedia, -60);
  EXPECT_EQ(Volume(), start + 5);
  Wheel(view->treePlaylist, 120);
  EXPECT_EQ(Volume(), start + 5) << "elsewhere the wheel is the control's";
}

}  // namespace
}  // namespace korvane
