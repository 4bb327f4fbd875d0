#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/auto_reset_event.h"
#include "platform/recording_dispatcher.h"
#include "platform/tick.h"
#include "platform/window_message.h"

namespace korvane {
namespace {

using namespace std::chrono_literals;

TEST(Tick, ElapsedIsRightAcrossTheWrap) {
  EXPECT_EQ(TickElapsed(0xFFFFFFF0u, 0x10u), 0x20u);
  EXPECT_EQ(TickElapsed(100, 600), 500u);
  const std::uint32_t a = GetTick();
  SleepMs(20);
  EXPECT_GE(TickElapsed(a, GetTick()), 20u);
}

TEST(AutoResetEvent, OneSetReleasesOneWait) {
  AutoResetEvent event;
  EXPECT_FALSE(event.WaitFor(1ms));
  event.Set();
  event.Set();  // not counted: still one signal
  EXPECT_TRUE(event.WaitFor(0ms));
  EXPECT_FALSE(event.WaitFor(1ms));

  AutoResetEvent initially(true);
  initially.Reset();
  EXPECT_FALSE(initially.WaitFor(1ms));

  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i) {
    waiters.emplace_back([&] {
      if (event.WaitFor(5s)) ++woken;
    });
  }
  event.Set();
  for (int i = 0; i < 500 && woken.load() == 0; ++i) std::this_thread::sleep_for(10ms);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(woken.load(), 1) << "one set, one waiter released";
  event.Set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(woken.load(), 2);
}

TEST(WindowMessages, WithoutDispatcherOrWindowNothingIsDelivered) {
  ScopedWindowMessageDispatcher none(nullptr);
  EXPECT_FALSE(PostWindowMessage(1, WM_PLAYER_NOTIFY, 17, 0));
  EXPECT_EQ(SendWindowMessage(1, WM_TELEMETRY_LIVE, 1, 1), 0);

  RecordingDispatcher recorder;
  ScopedWindowMessageDispatcher installed(&recorder);
  EXPECT_FALSE(PostWindowMessage(0, WM_PLAYER_NOTIFY, 17, 0)) << "window 0 is no window";
  EXPECT_TRUE(recorder.Messages().empty());
}

TEST(RecordingDispatcher, RecordsPostsAndSendsFromManyThreads) {
  RecordingDispatcher recorder;
  ScopedWindowMessageDispatcher installed(&recorder);
  recorder.SetSendHandler([](const RecordedMessage& m) { return LRESULT(m.wParam * 2); });

  std::vector<std::thread> workers;
  for (int t = 0; t < 4; ++t) {
    workers.emplace_back([t] {
      for (int i = 0; i < 100; ++i) {
        PostWindowMessage(7, WM_EXTRACTOR_NOTIFY, 516, t);
        EXPECT_EQ(SendWindowMessage(7, WM_TELEMETRY_LIVE, 21, 1), 42);
      }
    });
  }
  for (auto& w : workers) w.join();
  EXPECT_EQ(recorder.Count(WM_EXTRACTOR_NOTIFY), 400u);
  EXPECT_EQ(recorder.Count(WM_TELEMETRY_LIVE), 400u);
  const auto sent = recorder.MessagesOf(WM_TELEMETRY_LIVE);
  EXPECT_TRUE(sent.front().sent);
  EXPECT_EQ(sent.front().window, 7u);
  EXPECT_FALSE(recorder.MessagesOf(WM_EXTRACTOR_NOTIFY).front().sent);

  recorder.SetPostResult(false);
  EXPECT_FALSE(PostWindowMessage(7, WM_PLAYER_NOTIFY, 18, 0));
  recorder.Clear();
  EXPECT_TRUE(recorder.Messages().empty());
}

TEST(RecordingDispatcher, WaitsForAMessageFromAnotherThread) {
  RecordingDispatcher recorder;
  ScopedWindowMessageDispatcher installed(&recorder);
  EXPECT_FALSE(recorder.WaitForMessage(WM_PLAYER_NOTIFY, 19, 10ms).has_value());

  std::thread worker([] {
    std::this_thread::sleep_for(20ms);
    PostWindowMessage(3, WM_PLAYER_NOTIFY, 17, 0);
    PostWindowMessage(3, WM_PLAYER_NOTIFY, 19, 5);
  });
  auto eof = recorder.WaitForMessage(WM_PLAYER_NOTIFY, 19, 10s);
  worker.join();
  ASSERT_TRUE(eof.has_value());
  EXPECT_EQ(eof->lParam, 5);
  EXPECT_EQ(recorder.WaitForMessage(WM_PLAYER_NOTIFY, 0ms)->wParam, 17u) << "first match";
  EXPECT_TRUE(recorder.WaitForCount(WM_PLAYER_NOTIFY, 2, 0ms));
  EXPECT_FALSE(recorder.WaitForCount(WM_PLAYER_NOTIFY, 3, 10ms));
}

}  // namespace
}  // namespace korvane
