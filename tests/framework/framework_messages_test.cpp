// Window messages across threads: posts keep their order, a send blocks the worker until the UI
// thread handled it, and a send to a closing or gone window returns 0 without hanging.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "platform/window_message.h"
#include "support/framework_test_window.h"

namespace DuiLib {
namespace {

using korvane::test::PumpUntil;
using korvane::test::TestSkinWindow;

constexpr const char* kSkin = "<Window><VerticalLayout/></Window>";
constexpr UINT kMsg = korvane::WM_PLAYER_NOTIFY;

class FrameworkMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    // Another test may have left a recording dispatcher; the framework's own is what we test.
    korvane::SetWindowMessageDispatcher(&CWindowMessageDispatcher::Instance());
    hwnd = window.CreateHidden();
    ASSERT_NE(hwnd, 0u);
  }
  int CountUserMessages() const {
    int n = 0;
    for (const auto& m : window.messages) n += m.message >= WM_USER ? 1 : 0;
    return n;
  }
  TestSkinWindow window{kSkin};
  WindowHandle hwnd = 0;
};

TEST_F(FrameworkMessages, PostsFromAWorkerArriveInOrderOnTheUiThread) {
  std::thread worker([&] {
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(korvane::PostWindowMessage(hwnd, kMsg, i, 0));
  });
  worker.join();
  ASSERT_TRUE(PumpUntil([&] { return CountUserMessages() == 50; }));
  int expected = 0;
  for (const auto& m : window.messages) {
    if (m.message == kMsg) {
      EXPECT_EQ(m.wParam, static_cast<WPARAM>(expected++));
    }
  }
}

TEST_F(FrameworkMessages, SendBlocksTheWorkerUntilHandledAndReturnsTheResult) {
  std::atomic<bool> returned{false};
  auto result = std::async(std::launch::async, [&] {
    const LRESULT r = korvane::SendWindowMessage(hwnd, korvane::WM_TELEMETRY_LIVE, 42, 1);
    returned = true;
    return r;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned.load());  // nobody pumped the UI loop yet
  ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
  EXPECT_EQ(result.get(), static_cast<LRESULT>(korvane::WM_TELEMETRY_LIVE) + 1);
  ASSERT_EQ(CountUserMessages(), 1);
  EXPECT_EQ(window.messages.back().wParam, 42u);
}

TEST_F(FrameworkMessages, SendOnTheUiThreadRunsDirectly) {
  EXPECT_EQ(korvane::SendWindowMessage(hwnd, kMsg, 0, 5), static_cast<LRESULT>(kMsg) + 5);
  EXPECT_EQ(CountUserMessages(), 1);
}

TEST_F(FrameworkMessages, AWaitingSenderIsReleasedWithZeroWhenTheWindowCloses) {
  auto result =
      std::async(std::launch::async, [&] { return korvane::SendWindowMessage(hwnd, kMsg, 1, 1); });
  // Give the worker time to queue its send, then close before the queue is served.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  window.DestroyWindow();
  ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(result.get(), 0);
  // After the window is gone, sends and posts fail at once.
  EXPECT_EQ(
      std::async(std::launch::async, [&] { return korvane::SendWindowMessage(hwnd, kMsg, 0, 0); })
          .get(),
      0);
  EXPECT_FALSE(korvane::PostWindowMessage(hwnd, kMsg, 0, 0));
  EXPECT_FALSE(korvane::PostWindowMessage(0, kMsg, 0, 0));
}

TEST_F(FrameworkMessages, OnDestroyCanJoinAWorkerThatIsSending) {
  // The worker keeps sending; the window's destruction must not wait on it.
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    while (!stop) korvane::SendWindowMessage(hwnd, kMsg, 0, 0);
  });
  PumpUntil([&] { return CountUserMessages() > 3; });
  window.DestroyWindow();
  stop = true;
  worker.join();
  SUCCEED();
}

}  // namespace
}  // namespace DuiLib
