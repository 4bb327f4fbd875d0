// CChannelFollowers: the players of a moment's other channels, kept in step with the leader (the
// channel with the telemetry, which the playback controller drives as ever). Owns one player port
// per follower, made by a factory; each starts muted at the leader's time, mirrors the leader's
// moves at once, and on every tick is brought back in step by the follower rule
// (media/follower_sync.h). A follower that cannot start, dies or is shorter than the leader is
// dropped with a log line; the leader never waits for one.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/follower_sync.h"
#include "ui/controller_ports.h"

namespace korvane {

class CChannelFollowers {
 public:
  // Makes the player of follower `index` (0 for the first other channel); null when none can be
  // made, which drops that channel.
  using PlayerFactory = std::function<std::unique_ptr<IPlayerPort>(int index)>;
  // Receives each log line (without its line break).
  using LogSink = std::function<void(const std::string& line)>;

  // Told after every change of the moment's channels: `newMoment` after Start and Stop (the
  // channels are those of channelCount() and indices()), false when a tick dropped some.
  using ChangeSink = std::function<void(bool newMoment)>;

  CChannelFollowers(PlayerFactory factory, LogSink log);
  ~CChannelFollowers();
  CChannelFollowers(const CChannelFollowers&) = delete;
  CChannelFollowers& operator=(const CChannelFollowers&) = delete;

  // Stops the followers there are and starts one per path, muted, none asked for subtitles (the
  // leader's track is the moment's). Their first tick once running brings them to the leader.
  void Start(const std::vector<std::string>& paths);
  // Ends every follower's player. Nothing runs afterwards.
  void Stop();

  // The leader's moves, passed on at once so the pictures do not wait for a tick.
  void Seek(double seconds);
  void StepFrame(bool forward);
  void SetSpeed(double speed);

  // Compares each follower with the leader and sends what brings it in step; drops the ones the
  // rule drops. Returns the indices (as given to the factory) dropped by this tick.
  std::vector<int> Tick(const PlayerView& leader);

  ChangeSink onChange;
  // The leader and the followers Start was given (1 after Stop), dropped ones included.
  int channelCount() const { return channelCount_; }
  // The indices of the followers still in the moment, in order.
  std::vector<int> indices() const;
  // Null for an index not (or no longer) in the moment.
  IPlayerPort* player(int index) const;

 private:
  struct Follower {
    int index = 0;
    std::string path;
    std::unique_ptr<IPlayerPort> player;
    bool started = false;  // reached Playing or Paused once
  };
  void Drop(Follower& follower, std::string_view reason);
  void StopAll();
  void Changed(bool newMoment) const {
    if (onChange) onChange(newMoment);
  }

  PlayerFactory factory_;
  LogSink log_;
  FollowerSync rule_;
  std::vector<Follower> followers_;
  int channelCount_ = 1;
};

// What the port reports, as the follower rule reads it.
PlayerView ViewOf(const IPlayerPort& player);

}  // namespace korvane
