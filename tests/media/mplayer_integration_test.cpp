// CMplayer driving the real player program on the sample clip (no picture, no sound), and the
// same controller driving Debian's mplayer (tests/media/debian_mplayer.sh) for what both share.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "player_harness.h"
#include "support/sample_paths.h"

namespace korvane::test {
namespace {

class RealPlayer : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (IsDebian() && !std::filesystem::exists("/usr/bin/mplayer")) {
      GTEST_SKIP() << "Debian's mplayer is missing";
    }
    h.player.playerPath = IsDebian() ? SourceDir() + "/tests/media/debian_mplayer.sh"
                                     : ProgramDir() + "MPlayer/mplayer";
  }
  bool IsDebian() const { return GetParam(); }
  void Start(const std::string& clip) {
    h.player.mediaPath = clip;
    ASSERT_EQ(h.player.Play(), 0);
    ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  }
  // Pauses and returns the second the player reports for the pause.
  int PauseAndReadPosition() {
    h.ClearMessages();
    h.player.TogglePause();
    EXPECT_TRUE(h.WaitFor(kPlayerPosition));
    return h.player.position();
  }

  PlayerHarness h;
};

TEST_P(RealPlayer, StartReportsLengthSizeAndAspect) {
  Start(DefaultClip());
  EXPECT_EQ(h.player.state(), PlayerState::Playing);
  EXPECT_NEAR(h.player.length(), 60.0, 0.05);
  ASSERT_TRUE(h.WaitFor(kPlayerAspect));
  const ReplyFields fields = h.player.replyFields();
  EXPECT_EQ(fields.videoWidth, 640);
  EXPECT_EQ(fields.videoHeight, 360);
  EXPECT_NEAR(fields.aspect, 16.0 / 9.0, 1e-3);
  h.player.Stop();
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 0u);
}

TEST_P(RealPlayer, PauseHoldsThePositionAndResumeMovesOn) {
  Start(DefaultClip());
  SleepMs(1500);
  const int first = PauseAndReadPosition();
  EXPECT_GE(first, 1);
  EXPECT_LE(first, 3);
  EXPECT_EQ(h.player.state(), PlayerState::Paused);
  SleepMs(1200);
  h.player.TogglePause();  // resume
  EXPECT_EQ(h.player.state(), PlayerState::Playing);
  const int second = PauseAndReadPosition();
  EXPECT_LE(second - first, 1);  // the pause did not count
  h.player.TogglePause();
  SleepMs(1200);
  EXPECT_GT(PauseAndReadPosition(), second);
}

TEST_P(RealPlayer, SeekJumpsToTheDecimalMomentPlayingOrPausedAndReportsItAtOnce) {
  // Debian's mplayer lands on the next key frame (one a second in the sample clip); the shipped
  // player seeks precisely.
  const double precision = IsDebian() ? 1.0 : 0.25;
  Start(DefaultClip());
  SleepMs(300);
  h.ClearMessages();
  ASSERT_EQ(h.player.Seek(30.4), 0);
  EXPECT_EQ(h.player.position(), 30);
  // The seek's own time query answers without waiting for a poll.
  ASSERT_TRUE(h.WaitFor(kPlayerPosition, 2s));
  EXPECT_NEAR(h.player.timePosition(), 30.4, precision);

  const int paused = PauseAndReadPosition();
  EXPECT_GE(paused, 30);
  EXPECT_LE(paused, 31);
  h.ClearMessages();
  ASSERT_EQ(h.player.Seek(12.6), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerPosition, 2s));
  EXPECT_NEAR(h.player.timePosition(), 12.6, precision);
  const int sought = h.player.position();
  EXPECT_EQ(sought, static_cast<int>(h.player.timePosition())) << "whole seconds for the display";
  // Still paused: the moment does not move on.
  SleepMs(800);
  h.ClearMessages();
  ASSERT_EQ(h.player.SendCommand("pausing_keep_force get_property time_pos", true), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerPosition, 2s));
  EXPECT_NEAR(h.player.timePosition(), 12.6, precision);
  EXPECT_EQ(h.player.position(), sought);
  EXPECT_EQ(h.player.state(), PlayerState::Paused);
  // Resumed, it plays on from there.
  h.player.TogglePause();
  SleepMs(1200);
  const int resumed = PauseAndReadPosition();
  EXPECT_GE(resumed, 13);
  EXPECT_LE(resumed, 15);
}

TEST_P(RealPlayer, VolumeAndMuteKeepThePlayerRunning) {
  Start(DefaultClip());
  h.player.SetVolume(20);
  h.player.SetMute(true);
  h.player.TogglePause();
  h.player.TogglePause();  // resumes muted: "pause", "mute 1"
  h.player.SetMute(false);
  EXPECT_FALSE(h.player.muted());
  EXPECT_GE(PauseAndReadPosition(), 0);
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 0u);
}

TEST_P(RealPlayer, ScreenshotLandsWhereGetScreenshotPathSays) {
  Start(DefaultClip());
  SleepMs(500);
  ASSERT_EQ(h.player.SendCommand("screenshot 0", true), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerScreenshot));
  const std::string path = h.player.GetScreenshotPath();
  EXPECT_EQ(path, h.folder.str() + "shot0001.png");
  std::ifstream file(path, std::ios::binary);
  std::vector<unsigned char> png((std::istreambuf_iterator<char>(file)), {});
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(std::vector<unsigned char>(png.begin() + 1, png.begin() + 4),
            (std::vector<unsigned char>{'P', 'N', 'G'}));
  auto be32 = [&](std::size_t at) {
    return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
  };
  EXPECT_EQ(be32(16), 640);  // IHDR width and height
  EXPECT_EQ(be32(20), 360);
}

TEST_P(RealPlayer, EndOfFileIsNotifiedAndThePlayerReaped) {
  Start(CuesClip(5));
  const std::uint32_t pid = h.player.processId();
  ASSERT_TRUE(h.WaitFor(kPlayerEndOfFile));
  EXPECT_TRUE(h.WaitForIdle());
  // The window stops playback on 19: in Idle that sends nothing but clears the ended player away
  // (the reader reaps it itself when it ends within half a second).
  EXPECT_EQ(h.player.Stop(), 0);
  EXPECT_TRUE(ProcessGone(pid));
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 0u);
  // The next file starts as usual.
  h.ClearMessages();
  Start(DefaultClip());
}

TEST_P(RealPlayer, QuitReplyIsNotified) {
  Start(DefaultClip());
  ASSERT_EQ(h.player.SendCommand("quit", true), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerQuit));
  EXPECT_TRUE(h.WaitForIdle());
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 0u);
}

TEST_P(RealPlayer, KilledPlayerIsAPipeFailure) {
  Start(DefaultClip());
  kill(static_cast<pid_t>(h.player.processId()), SIGKILL);
  ASSERT_TRUE(h.WaitFor(kPlayerPipeFailed));
  EXPECT_EQ(h.player.processId(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Players, RealPlayer, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Debian" : "Own"; });

// Only the shipped player knows "sub_log_static".
class OwnRealPlayer : public RealPlayer {};

TEST_P(OwnRealPlayer, TimePositionsMoveWithoutAsking) {
  Start(DefaultClip());
  ASSERT_TRUE(h.WaitForCount(kPlayerPosition, 5));  // about two seconds of polls
  EXPECT_GE(h.player.position(), 1);
}

TEST_P(OwnRealPlayer, SubtitleIsTheTelemetryLineOfTheCurrentSecond) {
  std::vector<std::string> cues;
  std::ifstream text(TelemetryOf(DefaultClip()));
  for (std::string line; std::getline(text, line);) cues.push_back(line);
  ASSERT_EQ(cues.size(), 600u);

  Start(DefaultClip());
  for (std::size_t n = 0; n < 4; ++n) {
    const std::string line = h.WaitForLine(n);
    const auto cue = std::find(cues.begin(), cues.end(), line);
    ASSERT_NE(cue, cues.end()) << line;
    // The unasked time answer that follows each subtitle gives the second it belongs to.
    ASSERT_TRUE(h.WaitForCount(kPlayerPosition, n + 1));
    const int second = static_cast<int>((cue - cues.begin()) / 10);
    EXPECT_NEAR(second, h.player.position(), 1) << line;
  }
  EXPECT_EQ(h.LinePids().front(), h.player.processId());
  EXPECT_EQ(h.Count(kPlayerNoSubtitle), 0u);
}

TEST_P(OwnRealPlayer, APausedSeekShowsTheSubtitleOfTheMomentSought) {
  std::vector<std::string> cues;
  std::ifstream text(TelemetryOf(DefaultClip()));
  for (std::string line; std::getline(text, line);) cues.push_back(line);
  ASSERT_EQ(cues.size(), 600u);
  Start(DefaultClip());
  ASSERT_TRUE(h.WaitForCount(kPlayerPosition, 1));
  h.player.TogglePause();
  SleepMs(300);
  const std::size_t before = h.LineCount();
  ASSERT_EQ(h.player.Seek(42.0), 0);
  // Cues start every 100 ms: the one of 42.0 s is number 420.
  EXPECT_EQ(h.WaitForLine(before), cues[420]);
  EXPECT_EQ(h.Count(kPlayerNoSubtitle), 0u) << "the moment sought was never reported empty";
}

TEST_P(OwnRealPlayer, ClipWithoutSubtitlesNotifiesNoSubtitle) {
  Start(NoSubtitleClip());
  ASSERT_TRUE(h.WaitFor(kPlayerNoSubtitle));
  EXPECT_EQ(h.LineCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Players, OwnRealPlayer, testing::Values(false),
                         [](const auto&) { return "Own"; });

}  // namespace
}  // namespace korvane::test
