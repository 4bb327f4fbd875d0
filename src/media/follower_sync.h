// The follower rule: what one follower player of a moment's other channel is to be sent so it
// shows what the leader (the channel with the telemetry) shows. Pure: the caller polls both
// players, hands the views in and writes the answer to the follower; nothing here talks to a
// process.
#pragma once
#include <optional>
#include <string_view>

#include "media/player_state.h"

namespace korvane {

// What a player last reported. `time` is NaN until the first answer; `length` is 0 while unknown.
struct PlayerView {
  PlayerState state = PlayerState::Idle;
  double time = 0.0;
  double length = 0.0;
  double speed = 1.0;
};

// Why a follower leaves the moment (its picture is taken away and a log line written).
enum class DropReason { kNone, kPlayerEnded, kShorterThanLeader };

struct FollowerSync {
  // Stated in seconds of media time. Playing, the two answers are taken a poll apart, so the
  // allowance is wider than when both stand still on one frame.
  double playingDrift = 0.25;
  double pausedDrift = 0.02;
};

// At most one of each; applied in the order drop, speed, pause/play, seek.
struct FollowerCommand {
  DropReason drop = DropReason::kNone;
  std::optional<double> speed;
  bool togglePause = false;      // the follower's pause is the opposite of the leader's
  std::optional<double> seekTo;  // seconds of media time
  friend bool operator==(const FollowerCommand&, const FollowerCommand&) = default;
};

// The command that brings `follower` in step with `leader`. A follower that has started before and
// is Idle again (its player died or quit) is dropped; so is one the leader has played past the end
// of, which could show nothing more of the moment. While the leader or the follower is still
// starting, or either time is not a finite number, nothing is sent: there is nothing to compare.
// `followerStarted` says whether the follower had reached Playing once.
FollowerCommand SyncFollower(const PlayerView& leader, const PlayerView& follower,
                             bool followerStarted, const FollowerSync& rule = {});

// The words of the log line for a drop ("its player ended", "shorter than the leader").
std::string_view DropReasonText(DropReason reason);

}  // namespace korvane
