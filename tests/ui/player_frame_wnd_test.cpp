// The main window as the program runs it (CPlayerFrameWnd on the real skins, offscreen), with a
// start-up routine the test controls: the video's double click, and what arrives before the
// start-up set-up has finished.
#include "ui/player_frame_wnd.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "framework/UIlib.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "ui/wnd_ui.h"

namespace korvane {
namespace {

class PlayerFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    env.Set("HOME", home.str());
    env.Set("XDG_CONFIG_HOME", home.str() + ".config");
    context.programFolder = test::ProgramDir();
    DuiLib::CPaintManagerUI::SetResourcePath(test::SourceDir() + "/resources/skin/");
  }
  // A drop of `path` on the window, as the framework delivers it.
  static void Drop(CPlayerFrameWnd& frame, const std::string& path) {
    DuiLib::DropFiles drop;
    drop.paths = {path};
    frame.SendMessage(DuiLib::WM_DROPFILES, reinterpret_cast<DuiLib::WPARAM>(&drop), 0);
  }
  int Entries(CPlayerFrameWnd& frame) const {
    return frame.playlist() != nullptr ? frame.playlist()->playlist().count() : -1;
  }

  test::TempDir home;
  test::ScopedEnv env;
  ApplicationContext context;
  const std::string clip = test::CuesClip(5);
};

TEST_F(PlayerFrame, ForwardedVideoDoubleClickTogglesFullScreenOncePerClick) {
  CPlayerFrameWnd frame(context, [](StartupTargets&) {});
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  const int& fullScreen = frame.GetViewManager()->fullScreen;
  ASSERT_EQ(fullScreen, 0);
  frame.SendMessage(DuiLib::WM_LBUTTONDBLCLK, 1, DuiLib::kVideoDoubleClickMarker);
  EXPECT_EQ(fullScreen, 1);
  frame.SendMessage(DuiLib::WM_LBUTTONDBLCLK, 1, DuiLib::kVideoDoubleClickMarker);
  EXPECT_EQ(fullScreen, 0);
  // A double click elsewhere on the window (its point in lParam) is no full-screen request.
  frame.SendMessage(DuiLib::WM_LBUTTONDBLCLK, 1, DuiLib::MAKELPARAM(300, 200));
  EXPECT_EQ(fullScreen, 0);
}

// Until the start-up set-up has finished it writes the player's and the pipeline's configuration:
// a drop waits for it instead of starting the player beside it.
TEST_F(PlayerFrame, ADropBeforeTheStartUpSetUpHasFinishedWaitsForIt) {
  std::atomic<bool> release{false};
  std::atomic<bool> finished{false};
  CPlayerFrameWnd frame(context, [&](StartupTargets&) {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    finished = true;
  });
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  Drop(frame, clip);
  QElapsedTimer waited;
  waited.start();
  test::PumpUntil([&] { return waited.elapsed() > 200; });
  EXPECT_EQ(Entries(frame), 0) << "taken before the set-up finished";
  EXPECT_EQ(frame.GetPlaybackContext()->player.mediaPath, "");
  release = true;
  ASSERT_TRUE(test::PumpUntil([&] { return Entries(frame) > 0; })) << "the drop was lost";
  EXPECT_TRUE(finished);
  EXPECT_EQ(frame.GetPlaybackContext()->player.mediaPath, clip) << "started after the set-up";
}

// A start-up thread that cannot be started is ignored like every other thread start: the window
// runs on without that set-up, and a drop is still taken.
class NoThreadFrame : public CPlayerFrameWnd {
 public:
  using CPlayerFrameWnd::CPlayerFrameWnd;

 protected:
  void StartStartupWorker() override {
    // A default stack far beyond the address space makes every thread start fail.
    pthread_attr_t saved;
    ASSERT_EQ(pthread_getattr_default_np(&saved), 0);
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, std::size_t{1} << 50);
    ASSERT_EQ(pthread_setattr_default_np(&huge), 0);
    CPlayerFrameWnd::StartStartupWorker();
    pthread_setattr_default_np(&saved);
    pthread_attr_destroy(&huge);
    pthread_attr_destroy(&saved);
  }
};

TEST_F(PlayerFrame, AStartUpThreadThatCannotStartIsIgnored) {
  bool ran = false;
  NoThreadFrame frame(context, [&](StartupTargets&) { ran = true; });
  ASSERT_NE(frame.CreateMainWindow(), 0u);
  Drop(frame, clip);
  EXPECT_TRUE(test::PumpUntil([&] { return Entries(frame) > 0; }));
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace korvane
