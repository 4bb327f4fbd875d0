#include "media/follower_sync.h"

#include <cmath>

namespace korvane {

namespace {

bool Running(PlayerState state) {
  return state == PlayerState::Playing || state == PlayerState::Paused;
}

}  // namespace

FollowerCommand SyncFollower(const PlayerView& leader, const PlayerView& follower,
                             bool followerStarted, const FollowerSync& rule) {
  FollowerCommand command;
  if (followerStarted &&
      (follower.state == PlayerState::Idle || follower.state == PlayerState::Stopping)) {
    command.drop = DropReason::kPlayerEnded;
    return command;
  }
  if (!Running(leader.state) || !Running(follower.state) || !std::isfinite(leader.time)) {
    return command;
  }
  // A follower's length short by less than the allowance is the same moment cut a frame earlier;
  // only past that does the leader show what the follower never recorded.
  if (follower.length > 0.0 && leader.time > follower.length + rule.playingDrift) {
    command.drop = DropReason::kShorterThanLeader;
    return command;
  }
  if (std::isfinite(leader.speed) && leader.speed > 0.0 && leader.speed != follower.speed) {
    command.speed = leader.speed;
  }
  command.togglePause = leader.state != follower.state;
  if (std::isfinite(follower.time)) {
    // The follower ends this round in the leader's state, so the leader's state sets the allowance.
    const double allowance =
        leader.state == PlayerState::Paused ? rule.pausedDrift : rule.playingDrift;
    if (std::fabs(leader.time - follower.time) > allowance) command.seekTo = leader.time;
  }
  return command;
}

std::string_view DropReasonText(DropReason reason) {
  switch (reason) {
    case DropReason::kPlayerEnded:
      return "its player ended";
    case DropReason::kShorterThanLeader:
      return "shorter than the leader";
    case DropReason::kNone:
      break;
  }
  return "";
}

}  // namespace korvane
