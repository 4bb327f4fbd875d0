// The followers of a moment's other channels against fake players: how they start, what each tick
// sends, and that a lost follower leaves with a log line. (The leader's moves passed on at once
// are the playback controller's test.)
#include "ui/channel_followers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "controller_fakes.h"

namespace korvane {
namespace {

using test::FakePlayer;

// A fake that says when its player is ended, so a follower's end shows after its port is gone.
class FollowerPlayer : public FakePlayer {
 public:
  FollowerPlayer(int index, std::vector<int>& ended, bool starts)
      : index_(index), ended_(ended), starts_(starts) {}
  void Stop() override {
    if (state() != PlayerState::Idle) ended_.push_back(index_);
    FakePlayer::Stop();
  }
  void Play(const std::string& path, bool pollSubtitles) override {
    if (starts_) FakePlayer::Play(path, pollSubtitles);
  }

 private:
  int index_;
  std::vector<int>& ended_;
  bool starts_;
};

bool Has(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

class ChannelFollowers : public testing::Test {
 protected:
  // Followers numbered in `refused` start no player; in `unmade` have none made.
  CChannelFollowers Make(std::vector<int> refused = {}, std::vector<int> unmade = {}) {
    return CChannelFollowers(
        [this, refused, unmade](int index) -> std::unique_ptr<IPlayerPort> {
          if (std::count(unmade.begin(), unmade.end(), index) > 0) return nullptr;
          const bool starts = std::count(refused.begin(), refused.end(), index) == 0;
          auto player = std::make_unique<FollowerPlayer>(index, ended, starts);
          made.push_back(player.get());
          return player;
        },
        [this](const std::string& line) { logLines.push_back(line); });
  }
  FakePlayer& Made(CChannelFollowers& followers, int index) {
    return *static_cast<FakePlayer*>(followers.player(index));
  }

  std::vector<FakePlayer*> made;
  std::vector<int> ended;
  std::vector<std::string> logLines;
};

TEST_F(ChannelFollowers, StartMutedWithoutTheSubtitlePoll) {
  CChannelFollowers followers = Make();
  followers.Start({"/c/R.mp4", "/c/I.mp4"});
  ASSERT_EQ(followers.indices(), (std::vector<int>{0, 1}));
  EXPECT_TRUE(Made(followers, 0).muted());
  EXPECT_TRUE(Has(Made(followers, 0).log, "play /c/R.mp4 (no subtitle poll)"));
  EXPECT_TRUE(Has(Made(followers, 1).log, "play /c/I.mp4 (no subtitle poll)"));
  EXPECT_TRUE(logLines.empty());
}

TEST_F(ChannelFollowers, ATickBringsEachFollowerToTheLeader) {
  CChannelFollowers followers = Make();
  followers.Start({"/c/R.mp4", "/c/I.mp4"});
  Made(followers, 1).timePosition_ = 30.0;
  EXPECT_TRUE(followers.Tick({PlayerState::Paused, 30.0, 60.0, 1.0}).empty());
  EXPECT_EQ(Made(followers, 0).log,
            (std::vector<std::string>{"play /c/R.mp4 (no subtitle poll)", "pause", "seek 30"}));
  EXPECT_EQ(Made(followers, 1).log,
            (std::vector<std::string>{"play /c/I.mp4 (no subtitle poll)", "pause"}));
  followers.Tick({PlayerState::Playing, 30.0, 60.0, 2.0});
  EXPECT_EQ(Made(followers, 1).log.back(), "resume");
  EXPECT_EQ(Made(followers, 1).speed(), 2.0);
}

TEST_F(ChannelFollowers, ADeadFollowerLeavesWithALogLineAndTheOthersStay) {
  CChannelFollowers followers = Make();
  followers.Start({"/c/R.mp4", "/c/I.mp4"});
  const PlayerView leader{PlayerState::Playing, 5.0, 60.0, 1.0};
  followers.Tick(leader);
  Made(followers, 0).SetState(PlayerState::Idle);  // its process died
  EXPECT_EQ(followers.Tick(leader), (std::vector<int>{0}));
  EXPECT_EQ(followers.indices(), (std::vector<int>{1}));
  EXPECT_EQ(followers.player(0), nullptr);
  ASSERT_EQ(logLines.size(), 1u);
  EXPECT_NE(logLines[0].find("/c/R.mp4"), std::string::npos);
  EXPECT_NE(logLines[0].find("its player ended"), std::string::npos);
}

TEST_F(ChannelFollowers, AShorterFollowerIsEndedWhenTheLeaderPassesItsEnd) {
  CChannelFollowers followers = Make();
  followers.Start({"/c/R.mp4"});
  Made(followers, 0).length_ = 20.0;
  EXPECT_TRUE(followers.Tick({PlayerState::Playing, 19.0, 60.0, 1.0}).empty());
  EXPECT_EQ(followers.Tick({PlayerState::Playing, 21.0, 60.0, 1.0}), (std::vector<int>{0}));
  EXPECT_EQ(ended, (std::vector<int>{0}));
  EXPECT_TRUE(followers.indices().empty());
}

TEST_F(ChannelFollowers, AFollowerWithoutAPlayerOrThatDoesNotStartIsDroppedAtOnce) {
  CChannelFollowers followers = Make(/*refused=*/{1}, /*unmade=*/{2});
  followers.Start({"/c/R.mp4", "/c/broken.mp4", "/c/gone.mp4"});
  EXPECT_EQ(followers.indices(), (std::vector<int>{0}));
  ASSERT_EQ(logLines.size(), 2u);
  EXPECT_NE(logLines[0].find("/c/broken.mp4"), std::string::npos);
  EXPECT_NE(logLines[1].find("/c/gone.mp4"), std::string::npos);
}

TEST_F(ChannelFollowers, TellsEveryChangeOfTheMomentButNotFromItsDestructor) {
  std::vector<bool> told;
  {
    CChannelFollowers followers = Make({1});
    followers.onChange = [&told](bool newMoment) { told.push_back(newMoment); };
    followers.Start({"/c/R.mp4", "/c/I.mp4", "/c/L.mp4"});
    EXPECT_EQ(followers.channelCount(), 4);
    const PlayerView leader{PlayerState::Playing, 5.0, 60.0, 1.0};
    followers.Tick(leader);  // nobody dropped: nothing to tell
    Made(followers, 2).SetState(PlayerState::Idle);
    followers.Tick(leader);
    followers.Stop();
    EXPECT_EQ(followers.channelCount(), 1);
    followers.Start({"/d/R.mp4"});
  }
  EXPECT_EQ(told, (std::vector<bool>{true, false, true, true}));
}

TEST_F(ChannelFollowers, StoppingOrRestartingEndsEveryPlayer) {
  {
    CChannelFollowers followers = Make();
    followers.Start({"/c/R.mp4", "/c/I.mp4"});
    followers.Start({"/d/R.mp4"});
    EXPECT_EQ(ended, (std::vector<int>{0, 1}));
    followers.Stop();
    EXPECT_TRUE(followers.indices().empty());
    EXPECT_EQ(ended, (std::vector<int>{0, 1, 0}));
    followers.Start({"/e/R.mp4"});
  }
  EXPECT_EQ(ended, (std::vector<int>{0, 1, 0, 0}));  // the destructor ends the last one
}

}  // namespace
}  // namespace korvane
