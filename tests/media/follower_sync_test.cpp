// The follower rule: one table of leader/follower views and the command each must produce.
#include "media/follower_sync.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvane {
namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
constexpr auto kPlaying = PlayerState::Playing;
constexpr auto kPaused = PlayerState::Paused;

FollowerCommand SeekTo(double seconds) {
  FollowerCommand command;
  command.seekTo = seconds;
  return command;
}
FollowerCommand Toggle() {
  FollowerCommand command;
  command.togglePause = true;
  return command;
}
FollowerCommand Speed(double speed) {
  FollowerCommand command;
  command.speed = speed;
  return command;
}
FollowerCommand Drop(DropReason reason) {
  FollowerCommand command;
  command.drop = reason;
  return command;
}

struct SyncCase {
  const char* name;
  PlayerView leader;
  PlayerView follower;
  bool followerStarted;
  FollowerCommand expected;
};

class FollowerSyncTable : public testing::TestWithParam<SyncCase> {};

TEST_P(FollowerSyncTable, SendsWhatBringsTheFollowerInStep) {
  const SyncCase& c = GetParam();
  const FollowerCommand got = SyncFollower(c.leader, c.follower, c.followerStarted);
  EXPECT_EQ(got.drop, c.expected.drop);
  EXPECT_EQ(got.speed, c.expected.speed);
  EXPECT_EQ(got.togglePause, c.expected.togglePause);
  EXPECT_EQ(got.seekTo, c.expected.seekTo);
}

INSTANTIATE_TEST_SUITE_P(
    Views, FollowerSyncTable,
    testing::Values(
        SyncCase{"InStepWhilePlaying", {kPlaying, 10.0, 60}, {kPlaying, 10.2, 60}, true, {}},
        SyncCase{"DriftedWhilePlayingIsSought",
                 {kPlaying, 10.0, 60},
                 {kPlaying, 10.5, 60},
                 true,
                 SeekTo(10.0)},
        SyncCase{"BehindWhilePlayingIsSought",
                 {kPlaying, 30.0, 60},
                 {kPlaying, 29.5, 60},
                 true,
                 SeekTo(30.0)},
        SyncCase{"PausedOneFrameApartIsSought",
                 {kPaused, 10.0, 60},
                 {kPaused, 10.04, 60},
                 true,
                 SeekTo(10.0)},
        SyncCase{
            "PausedOnTheSameFrameStaysPut", {kPaused, 10.0, 60}, {kPaused, 10.01, 60}, true, {}},
        SyncCase{"LeaderPausedPausesTheFollower",
                 {kPaused, 10.0, 60},
                 {kPlaying, 10.0, 60},
                 true,
                 Toggle()},
        SyncCase{"LeaderPlayingPlaysTheFollower",
                 {kPlaying, 10.0, 60},
                 {kPaused, 10.0, 60},
                 true,
                 Toggle()},
        SyncCase{"LeaderSpeedIsMirrored",
                 {kPlaying, 10.0, 60, 2.0},
                 {kPlaying, 10.0, 60, 1.0},
                 true,
                 Speed(2.0)},
        SyncCase{"FollowerTimeNotYetKnownIsNotSought",
                 {kPlaying, 10.0, 60},
                 {kPlaying, kUnknown, 60},
                 true,
                 {}},
        SyncCase{"LeaderTimeNotYetKnownSendsNothing",
                 {kPlaying, kUnknown, 60},
                 {kPaused, 3.0, 60, 2.0},
                 true,
                 {}},
        SyncCase{"FollowerStillStartingIsLeftAlone",
                 {kPaused, 10.0, 60},
                 {PlayerState::Starting, 0.0, 0},
                 false,
                 {}},
        SyncCase{"FollowerNeverStartedIsNotDropped",
                 {kPlaying, 10.0, 60},
                 {PlayerState::Idle, 0.0, 0},
                 false,
                 {}},
        SyncCase{"FollowerWhosePlayerDiedIsDropped",
                 {kPlaying, 10.0, 60},
                 {PlayerState::Idle, 9.0, 60},
                 true,
                 Drop(DropReason::kPlayerEnded)},
        SyncCase{"LeaderPastTheFollowersEndDropsIt",
                 {kPlaying, 40.0, 60},
                 {kPlaying, 30.0, 30},
                 true,
                 Drop(DropReason::kShorterThanLeader)},
        SyncCase{"FollowerAFrameShorterIsKept",
                 {kPlaying, 30.1, 30.1},
                 {kPlaying, 30.0, 30.0},
                 true,
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
