#include "ui/channel_followers.h"

#include <algorithm>
#include <utility>

namespace korvane {

PlayerView ViewOf(const IPlayerPort& player) {
  return {player.state(), player.timePosition(), player.length(), player.speed()};
}

CChannelFollowers::CChannelFollowers(PlayerFactory factory, LogSink log)
    : factory_(std::move(factory)), log_(std::move(log)) {}

CChannelFollowers::~CChannelFollowers() {
  // Without telling anyone: whoever listens may be gone already.
  StopAll();
}

void CChannelFollowers::Start(const std::vector<std::string>& paths) {
  StopAll();
  channelCount_ = static_cast<int>(paths.size()) + 1;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    Follower follower{static_cast<int>(i), paths[i],
                      factory_ ? factory_(static_cast<int>(i)) : nullptr};
    if (!follower.player) {
      Drop(follower, "no player could be made");
      continue;
    }
    follower.player->SetMute(true);
    follower.player->Play(follower.path, false);
    if (follower.player->state() == PlayerState::Idle) {
      Drop(follower, "its player did not start");
      continue;
    }
    followers_.push_back(std::move(follower));
  }
  Changed(true);
}

void CChannelFollowers::Stop() {
  StopAll();
  Changed(true);
}

void CChannelFollowers::StopAll() {
  for (Follower& follower : followers_) follower.player->Stop();
  followers_.clear();
  channelCount_ = 1;
}

void CChannelFollowers::Seek(double seconds) {
  for (Follower& follower : followers_) follower.player->Seek(seconds);
}

void CChannelFollowers::StepFrame(bool forward) {
  for (Follower& follower : followers_) follower.player->StepFrame(forward);
}

void CChannelFollowers::SetSpeed(double speed) {
  for (Follower& follower : followers_) follower.player->SetSpeed(speed);
}

std::vector<int> CChannelFollowers::Tick(const PlayerView& leader) {
  std::vector<int> dropped;
  for (Follower& follower : followers_) {
    IPlayerPort& player = *follower.player;
    const PlayerView view = ViewOf(player);
    if (view.state == PlayerState::Playing || view.state == PlayerState::Paused) {
      follower.started = true;
    }
    const FollowerCommand command = SyncFollower(leader, view, follower.started, rule_);
    if (command.drop != DropReason::kNone) {
      Drop(follower, DropReasonText(command.drop));
      dropped.push_back(follower.index);
      continue;
    }
    if (command.speed) player.SetSpeed(*command.speed);
    if (command.togglePause) player.TogglePause();
    if (command.seekTo) player.Seek(*command.seekTo);
  }
  std::erase_if(followers_, [](const Follower& follower) { return !follower.player; });
  if (!dropped.empty()) Changed(false);
  return dropped;
}

std::vector<int> CChannelFollowers::indices() const {
  std::vector<int> out;
  for (const Follower& follower : followers_) out.push_back(follower.index);
  return out;
}

IPlayerPort* CChannelFollowers::player(int index) const {
  const auto at = std::find_if(followers_.begin(), followers_.end(),
                               [index](const Follower& f) { return f.index == index; });
  return at == followers_.end() ? nullptr : at->player.get();
}

void CChannelFollowers::Drop(Follower& follower, std::string_view reason) {
  if (follower.player) {
    follower.player->Stop();
    follower.player.reset();
  }
  if (log_) log_("channel " + follower.path + " left the moment: " + std::string(reason));
}

}  // namespace korvane
