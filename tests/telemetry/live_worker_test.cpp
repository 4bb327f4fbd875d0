#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <string>

#include "platform/recording_dispatcher.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {
namespace {

using namespace std::chrono_literals;

constexpr WindowHandle kMainWindow = 0x5150;
constexpr auto kWait = 10s;  // only ever reached when the worker is broken
constexpr const char* kLine = "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:12/Y:-4/Z:98";

// A gate the send handler can wait at, so a test can hold the worker inside its send.
class Gate {
 public:
  void Open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    cv_.notify_all();
  }
  void Pass() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool open_ = false;
};

class LiveWorker : public testing::Test {
 protected:
  RecordingDispatcher dispatcher_;
  ScopedWindowMessageDispatcher installed_{&dispatcher_};
  std::unique_ptr<CTelemetryParser> parser_ = std::make_unique<CTelemetryParser>();
};

TEST_F(LiveWorker, SendsTheParsedLineWithTheHandOverValue) {
  // The record the window reads while it handles the message.
  std::promise<double> longitudeSeen;
  dispatcher_.SetSendHandler([&](const RecordedMessage&) {
    longitudeSeen.set_value(parser_->record().longitude);
    return LRESULT{0};
  });
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));
  parser_->SubmitLiveLine(std::string(kLine), 4321);
  const auto message = dispatcher_.WaitForMessage(WM_TELEMETRY_LIVE, kWait);
  ASSERT_TRUE(message);
  EXPECT_TRUE(message->sent) << "sent, not posted: the record must hold still for the handler";
  EXPECT_EQ(message->window, kMainWindow);
  EXPECT_EQ(message->wParam, 4321u);
  EXPECT_EQ(message->lParam, 1);
  EXPECT_NEAR(longitudeSeen.get_future().get(), 113.939311, 1e-6);
  EXPECT_TRUE(parser_->liveValid());
  EXPECT_FALSE(parser_->record().valid) << "the live form leaves the full form's flag alone";
  EXPECT_EQ(parser_->record().accelX, 0) << "the live form never reads accelerations";
}

TEST_F(LiveWorker, RejectedLineIsReportedWithZero) {
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));
  parser_->SubmitLiveLine("", 7);
  auto message = dispatcher_.WaitForMessage(WM_TELEMETRY_LIVE, kWait);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->lParam, 0);
  EXPECT_EQ(message->wParam, 7u);
  EXPECT_FALSE(parser_->liveValid());

  parser_->SubmitLiveLine(static_cast<const char*>(nullptr), 8);
  ASSERT_TRUE(dispatcher_.WaitForCount(WM_TELEMETRY_LIVE, 2, kWait));
  EXPECT_EQ(dispatcher_.MessagesOf(WM_TELEMETRY_LIVE)[1].lParam, 0);
}

TEST_F(LiveWorker, LongLineIsCutTo127Characters) {
  // Exactly 127 characters ending with the latitude; beyond them a speed of 10 knots.
  std::string line = "2016-03-18 14:22:07/E10 0 0/N20 0 0";
  line.insert(0, 127 - line.size(), '#');
  ASSERT_EQ(line.size(), 127u);
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));

  parser_->SubmitLiveLine(line + "/10", 1);
  ASSERT_TRUE(dispatcher_.WaitForCount(WM_TELEMETRY_LIVE, 1, kWait));
  EXPECT_EQ(dispatcher_.MessagesOf(WM_TELEMETRY_LIVE)[0].lParam, 1);
  EXPECT_EQ(parser_->record().speedKmh, 0.0f) << "the speed lay beyond the 127th character";

  line.erase(0, 3);
  parser_->SubmitLiveLine(line + "/10", 2);
  ASSERT_TRUE(dispatcher_.WaitForCount(WM_TELEMETRY_LIVE, 2, kWait));
  EXPECT_NEAR(parser_->record().speedKmh, 18.52, 1e-4);
}

TEST_F(LiveWorker, OnlyTheNewestWaitingLineIsParsed) {
  Gate gate;
  dispatcher_.SetSendHandler([&](const RecordedMessage& m) {
    if (m.wParam == 1) gate.Pass();
    return LRESULT{0};
  });
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));
  parser_->SubmitLiveLine(kLine, 1);
  ASSERT_TRUE(dispatcher_.WaitForCount(WM_TELEMETRY_LIVE, 1, kWait));
  // The worker is held in its send: these two lines meet a busy worker.
  parser_->SubmitLiveLine("not a line", 2);
  parser_->SubmitLiveLine(kLine, 3);
  gate.Open();
  ASSERT_TRUE(dispatcher_.WaitForCount(WM_TELEMETRY_LIVE, 2, kWait));
  parser_.reset();  // joins the worker: every send it would make has been made
  const auto messages = dispatcher_.MessagesOf(WM_TELEMETRY_LIVE);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].wParam, 3u);
  EXPECT_EQ(messages[1].lParam, 1);
}

TEST_F(LiveWorker, DestructionEndsAnIdleWorker) {
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));
  EXPECT_FALSE(parser_->StartLiveWorker(kMainWindow)) << "one worker per parser";
  auto destroyed = std::async(std::launch::async, [this] { parser_.reset(); });
  EXPECT_EQ(destroyed.wait_for(kWait), std::future_status::ready);
  EXPECT_EQ(dispatcher_.Count(WM_TELEMETRY_LIVE), 0u);
}

TEST_F(LiveWorker, DestructionWaitsForASendTheDyingWindowReleases) {
  Gate windowGone;
  dispatcher_.SetSendHandler([&](const RecordedMessage&) {
    windowGone.Pass();  // a dispatcher returns from a send once the window is being destroyed
    return LRESULT{0};
  });
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));
  parser_->SubmitLiveLine(kLine, 1);
  ASSERT_TRUE(dispatcher_.WaitForCount(WM_TELEMETRY_LIVE, 1, kWait));
  parser_->SubmitLiveLine(kLine, 2);  // pending when the owner goes away
  auto destroyed = std::async(std::launch::async, [this] { parser_.reset(); });
  windowGone.Open();
  EXPECT_EQ(destroyed.wait_for(kWait), std::future_status::ready);
  // Whether the pending line still went out depends on which wake-up came first; never more.
  EXPECT_LE(dispatcher_.Count(WM_TELEMETRY_LIVE), 2u);
}

TEST_F(LiveWorker, SubmittingWithoutAWorkerIsHarmless) {
  parser_->SubmitLiveLine(kLine, 1);
  parser_->StopLiveWorker();
  EXPECT_FALSE(parser_->LiveWorkerRunning());
  EXPECT_EQ(dispatcher_.Count(WM_TELEMETRY_LIVE), 0u);
  // A worker started later picks up the waiting line.
  ASSERT_TRUE(parser_->StartLiveWorker(kMainWindow));
  const auto message = dispatcher_.WaitForMessage(WM_TELEMETRY_LIVE, kWait);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->wParam, 1u);
}

}  // namespace
}  // namespace korvane
