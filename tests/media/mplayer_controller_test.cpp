// CMplayer against small scripted players: the commands it writes, the state machine, stops
// that need force, pipe failures and replies cut between reads. The real player is in
// mplayer_integration_test.cpp.
#include <errno.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "player_harness.h"

namespace korvane::test {
namespace {

// A player that announces itself, logs every command into commands.log in its working folder,
// answers get_time_pos (then an aspect line, so a test can tell that the answer has been read),
// sub_log_static (a text on the first call, nothing after) and a seek's time query (the target of
// the last seek), and ends on quit. It outlives a closed reply pipe so that what it read can
// always be checked.
constexpr const char* kScriptedPlayer = R"(trap '' PIPE
printf '%s\n' "$PWD" "$@" > args.log
echo ID_VIDEO_WIDTH=640
echo ID_VIDEO_HEIGHT=360
echo ID_LENGTH=60.00
echo Starting playback...
n=0
while read -r line; do
  echo "$line" >> commands.log
  case "$line" in
    quit) echo ID_EXIT=QUIT; exit 0 ;;
    "pausing_keep seek "*) set -- $line; target=$3 ;;
    *"get_property time_pos") echo "ANS_time_pos=$target" ;;
    get_time_pos) echo ANS_TIME_POSITION=4.2; echo ID_VIDEO_ASPECT=1.5 ;;
    sub_log_static)
      n=$((n+1))
      if [ $n -eq 1 ]; then echo "ID_SUBTITLE_LOG=first line"; else echo ID_SUBTITLE_LOG=; fi
      echo ANS_TIME_POSITION=7.0 ;;
  esac
done
)";

class ControllerTest : public testing::Test {
 protected:
  void StartScripted() {
    h.player.playerPath = h.Script("player.sh", kScriptedPlayer);
    h.player.mediaPath = "/clips/a b.mp4";
    ASSERT_EQ(h.player.Play(), 0);
    ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  }
  // The commands the scripted player has read, sub_log_static left out.
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    std::ifstream log(h.folder.path() / "commands.log");
    for (std::string line; std::getline(log, line);) {
      if (line != "sub_log_static") commands.push_back(line);
    }
    return commands;
  }
  std::size_t Polls() const {
    std::ifstream log(h.folder.path() / "commands.log");
    std::size_t n = 0;
    for (std::string line; std::getline(log, line);) n += line == "sub_log_static";
    return n;
  }
  // Waits until the scripted player has logged `count` commands (sub_log_static left out).
  bool WaitForCommands(std::size_t count) {
    for (int i = 0; i < 200 && Commands().size() < count; ++i) SleepMs(10);
    return Commands().size() >= count;
  }

  PlayerHarness h;
};

TEST_F(ControllerTest, StartsInTheSnapshotFolderWithTheBuiltArguments) {
  h.player.videoWindow = 123;
  h.player.audioOutput = "DSound";
  h.player.soundDevice = 2;
  StartScripted();
  EXPECT_EQ(h.player.state(), PlayerState::Playing);
  EXPECT_DOUBLE_EQ(h.player.length(), 60.0);
  EXPECT_NE(h.player.processId(), 0u);
  h.player.Stop();

  std::ifstream args(h.folder.path() / "args.log");
  std::stringstream text;
  text << args.rdbuf();
  EXPECT_EQ(text.str(), h.folder.path().string() +
                            "\n/clips/a b.mp4\n-wid\n123\n-vo\nnull\n-slave\n-quiet\n-identify\n"
                            "-ao\ndsound:device=2\n-volume\n50\n-muteset\n0\n-sid\n0\n-idx\n"
                            "-nokeepaspect\n");
}

TEST_F(ControllerTest, FrameStepsWhilePausedAndTheSpeedGoOutWithTheirQuestions) {
  h.player.SetSpeed(1.5);  // no player yet: kept for the start
  StartScripted();
  EXPECT_EQ(h.player.StepFrame(true), 1) << "not while playing";
  h.player.TogglePause();
  EXPECT_EQ(h.player.StepFrame(false), 0);
  h.player.SetSpeed(2);
  h.player.SetSpeed(std::nan(""));
  h.player.SetSpeed(0);
  EXPECT_EQ(h.player.speed(), 2.0);
  ASSERT_TRUE(WaitForCommands(7));
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{
                "get_time_pos", "pause", "pausing_keep frame_back_step",
                "pausing_keep_force get_property time_pos", "pausing_keep_force sub_log_static",
                "pausing_keep_force speed_set 2.00", "pausing_keep_force get_property speed"}));
  h.player.Stop();
  std::ifstream args(h.folder.path() / "args.log");
  std::stringstream text;
  text << args.rdbuf();
  EXPECT_NE(text.str().find("\n-muteset\n0\n-speed\n1.50\n"), std::string::npos) << text.str();
}

TEST_F(ControllerTest, StopSendsQuitAndResetsEverything) {
  StartScripted();
  const std::uint32_t pid = h.player.processId();
  EXPECT_EQ(h.player.Stop(), 0);
  EXPECT_EQ(h.player.state(), PlayerState::Idle);
  EXPECT_EQ(h.player.processId(), 0u);
  const ReplyFields fields = h.player.replyFields();
  EXPECT_EQ(fields.length, 0.0);
  EXPECT_EQ(fields.videoWidth, 0);
  EXPECT_EQ(Commands(), std::vector<std::string>{"quit"});
  EXPECT_TRUE(ProcessGone(pid));  // reaped, not a zombie

  const std::size_t messages = h.MessageCount();
  EXPECT_EQ(h.player.Stop(), 0);  // Idle: nothing happens
  EXPECT_EQ(h.MessageCount(), messages);
  EXPECT_EQ(h.player.SendCommand("pause", true), 1);
}

TEST_F(ControllerTest, ResumeWhileMutedSendsPauseThenMute) {
  StartScripted();
  h.player.SetMute(true);
  h.player.SetVolume(70);  // muted: stored only
  h.player.TogglePause();
  EXPECT_EQ(h.player.state(), PlayerState::Paused);
  h.player.TogglePause();
  EXPECT_EQ(h.player.state(), PlayerState::Playing);
  ASSERT_TRUE(WaitForCommands(5));
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"mute 1", "get_time_pos", "pause", "pause", "mute 1"}));
  EXPECT_TRUE(h.player.muted());
  EXPECT_EQ(h.player.volume(), 70);
}

TEST_F(ControllerTest, ResumeAndUnmuteRestoreTheVolume) {
  StartScripted();
  h.player.SetVolume(170);
  h.player.TogglePause();
  h.player.SetVolume(20);  // paused: stored only
  h.player.TogglePause();
  h.player.SetMute(true);
  h.player.SetMute(false);
  ASSERT_TRUE(WaitForCommands(8));
  EXPECT_EQ(Commands(),
            (std::vector<std::string>{"volume 100 1", "get_time_pos", "pause", "pause",
                                      "volume 20 1", "mute 1", "mute 0", "volume 20 1"}));
}

TEST_F(ControllerTest, NoSubtitlePollWhilePaused) {
  StartScripted();
  h.player.TogglePause();
  ASSERT_TRUE(h.WaitFor(kPlayerPosition));  // the answer to get_time_pos
  const std::size_t polls = Polls();
  SleepMs(1300);  // more than two poll intervals
  EXPECT_EQ(Polls(), polls);
  h.player.TogglePause();
  for (int i = 0; i < 200 && Polls() == polls; ++i) SleepMs(10);
  EXPECT_GT(Polls(), polls);
}

TEST_F(ControllerTest, SeeksPlayingOrPausedClampedAndAsksForTheNewMomentAtOnce) {
  StartScripted();
  // Both polls so far answered, and the next one 500 ms away.
  ASSERT_TRUE(h.WaitFor(kPlayerNoSubtitle));
  ASSERT_TRUE(h.WaitForCount(kPlayerPosition, 2));
  EXPECT_EQ(h.player.Seek(std::nan("")), 1);
  EXPECT_EQ(h.player.Seek(1e300 * 1e300), 1);
  // Each answer to the time query is the new moment, there before the next poll is due.
  const auto seekAndWait = [&](double target) {
    h.ClearMessages();
    EXPECT_EQ(h.player.Seek(target), 0) << target;
    EXPECT_TRUE(h.WaitFor(kPlayerPosition, 400ms)) << target;
    return h.player.timePosition();
  };
  EXPECT_DOUBLE_EQ(seekAndWait(61.5), 60.0) << "beyond the length: the end";
  EXPECT_DOUBLE_EQ(seekAndWait(-3), 0.0) << "before the start: the start";
  EXPECT_DOUBLE_EQ(seekAndWait(30.25), 30.25);
  EXPECT_EQ(h.player.position(), 30);

  h.player.TogglePause();
  ASSERT_TRUE(h.WaitFor(kPlayerAspect));  // the pause's get_time_pos has been answered
  EXPECT_EQ(h.player.Seek(12.5), 0) << "a paused player seeks too";
  EXPECT_EQ(h.player.state(), PlayerState::Paused);
  ASSERT_TRUE(WaitForCommands(14));
  EXPECT_EQ(Commands(), (std::vector<std::string>{
                            "pausing_keep seek 60.000 2",
                            "pausing_keep_force get_property time_pos",
                            "pausing_keep_force sub_log_static",
                            "pausing_keep seek 0.000 2",
                            "pausing_keep_force get_property time_pos",
                            "pausing_keep_force sub_log_static",
                            "pausing_keep seek 30.250 2",
                            "pausing_keep_force get_property time_pos",
                            "pausing_keep_force sub_log_static",
                            "get_time_pos",
                            "pause",
                            "pausing_keep seek 12.500 2",
                            "pausing_keep_force get_property time_pos",
                            "pausing_keep_force sub_log_static",
                        }));
  h.player.Stop();
  EXPECT_EQ(h.player.Seek(5), 1) << "nothing to seek while stopped";
}

// A clip fed from a GPS log: the position still moves, and no subtitle question is ever asked,
// neither by the poll nor after a seek, so no "no subtitle" resets what the log's track shows.
TEST_F(ControllerTest, WithoutTheSubtitlePollOnlyTheTimeIsAsked) {
  h.player.pollSubtitles = false;
  StartScripted();
  ASSERT_TRUE(h.WaitForCount(kPlayerPosition, 2));
  EXPECT_EQ(h.player.Seek(30.25), 0);
  ASSERT_TRUE(h.WaitForCount(kPlayerPosition, 3));
  h.player.Stop();
  EXPECT_EQ(Polls(), 0u);
  std::size_t subtitleQuestions = 0;
  for (const std::string& command : Commands()) {
    subtitleQuestions += command.find("sub_log_static") != std::string::npos;
  }
  EXPECT_EQ(subtitleQuestions, 0u);
  EXPECT_EQ(h.Count(kPlayerNoSubtitle), 0u);
  EXPECT_EQ(h.LineCount(), 0u);
}

TEST_F(ControllerTest, SubtitleTextGoesToTheCallbackAndNoneIsNotified) {
  StartScripted();
  EXPECT_EQ(h.WaitForLine(0), "first line");
  EXPECT_EQ(h.LinePids(), std::vector<std::uint32_t>{h.player.processId()});
  ASSERT_TRUE(h.WaitFor(kPlayerNoSubtitle));
  ASSERT_TRUE(h.WaitFor(kPlayerPosition));
  EXPECT_EQ(h.player.position(), 7);
  EXPECT_EQ(h.LineCount(), 1u);
}

TEST_F(ControllerTest, PlayWhilePlayingQuitsTheOldPlayerFirst) {
  StartScripted();
  const std::uint32_t first = h.player.processId();
  h.ClearMessages();
  ASSERT_EQ(h.player.Play(), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  EXPECT_NE(h.player.processId(), first);
  EXPECT_TRUE(ProcessGone(first));
  // The old player read "quit" (its log is shared with the new one, which started after).
  EXPECT_EQ(Commands().front(), "quit");
}

TEST_F(ControllerTest, PlayerIgnoringQuitIsKilled) {
  h.player.playerPath = h.Script("deaf.sh", "echo Starting playback...\nexec sleep 60\n");
  ASSERT_EQ(h.player.Play(), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  const std::uint32_t pid = h.player.processId();
  EXPECT_EQ(h.player.Stop(), 0);
  EXPECT_TRUE(ProcessGone(pid));
  EXPECT_EQ(h.player.state(), PlayerState::Idle);
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 0u);
}

// A player that answers "quit" but does not end: Stop waits for it once (50 ms, the reader's
// short wait, then 500 ms before the kill), not a second time behind the reader's own wait.
TEST_F(ControllerTest, StopWaitsOnceForAPlayerThatSaysGoodbyeButStays) {
  h.player.playerPath = h.Script("lingering.sh", R"(echo Starting playback...
while read -r line; do
  case "$line" in quit) echo ID_EXIT=QUIT; exec sleep 60 ;; esac
done
)");
  ASSERT_EQ(h.player.Play(), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  const std::uint32_t pid = h.player.processId();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(h.player.Stop(), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::milliseconds(900));
  EXPECT_TRUE(ProcessGone(pid));
  EXPECT_EQ(h.player.state(), PlayerState::Idle);
}

TEST_F(ControllerTest, MissingPlayerReturnsTheErrorAndPostsNothing) {
  h.player.playerPath = h.folder.str() + "MPlayer/mplayer";
  h.player.mediaPath = "/clips/a.mp4";
  EXPECT_EQ(h.player.Play(), ENOENT);
  EXPECT_EQ(h.player.state(), PlayerState::Idle);
  SleepMs(100);
  EXPECT_EQ(h.MessageCount(), 0u);
  EXPECT_EQ(h.player.Stop(), 0);
}

TEST_F(ControllerTest, KilledPlayerIsReportedOnce) {
  StartScripted();
  const std::uint32_t pid = h.player.processId();
  kill(static_cast<pid_t>(pid), SIGKILL);
  ASSERT_TRUE(h.WaitFor(kPlayerPipeFailed));
  EXPECT_TRUE(h.WaitForIdle());
  EXPECT_EQ(h.player.processId(), 0u);
  EXPECT_EQ(h.player.SendCommand("pause", true), 1);
  SleepMs(200);
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 1u);
  EXPECT_TRUE(ProcessGone(pid));
}

TEST_F(ControllerTest, ReplyCutBetweenTwoReadsStillStartsPlayback) {
  h.player.playerPath =
      h.Script("slow.sh",
               "printf 'ID_LENGTH=12.5\\nStarting pla'\nsleep 0.3\nprintf 'yback...\\n'\n"
               "exec cat > /dev/null\n");
  ASSERT_EQ(h.player.Play(), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  EXPECT_EQ(h.player.state(), PlayerState::Playing);
  EXPECT_DOUBLE_EQ(h.player.length(), 12.5);
}

TEST_F(ControllerTest, EndOfFileWithoutLineBreakIsAnEndNotAFailure) {
  h.player.playerPath =
      h.Script("short.sh", "printf 'Starting playback...\\nID_EXIT=EOF'\nsleep 0.2\nexit 0\n");
  ASSERT_EQ(h.player.Play(), 0);
  const std::uint32_t pid = h.player.processId();
  ASSERT_TRUE(h.WaitFor(kPlayerEndOfFile));
  EXPECT_TRUE(h.WaitForIdle());
  SleepMs(100);
  EXPECT_EQ(h.Count(kPlayerPipeFailed), 0u);
  EXPECT_TRUE(ProcessGone(pid));  // reaped by the reader, no zombie while idle
}

TEST_F(ControllerTest, SettingsWhileIdleReachTheNextStart) {
  h.player.SetVolume(-5);
  h.player.SetMute(true);
  EXPECT_EQ(h.player.volume(), 0);
  StartScripted();
  h.player.Stop();
  std::ifstream args(h.folder.path() / "args.log");
  std::stringstream text;
  text << args.rdbuf();
  EXPECT_NE(text.str().find("-volume\n0\n-muteset\n1\n"), std::string::npos) << text.str();
}

TEST_F(ControllerTest, ScreenshotPathIsTheSnapshotFolderAndTheReportedName) {
  h.player.playerPath =
      h.Script("shot.sh",
               "echo Starting playback...\nwhile read -r l; do [ \"$l\" = 'screenshot 0' ] && "
               "echo \"*** screenshot 'shot0042.png' ***\"; [ \"$l\" = quit ] && exit 0; done\n");
  h.player.snapshotFolder = h.folder.path().string();  // without the final "/"
  ASSERT_EQ(h.player.Play(), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  EXPECT_EQ(h.player.SendCommand("screenshot 0", true), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerScreenshot));
  EXPECT_EQ(h.player.GetScreenshotPath(), h.folder.str() + "shot0042.png");
}

// A moment's other channel tells the window of its screenshots and of nothing else: its start,
// times and end are read by its owner, never handled as the leader's.
TEST_F(ControllerTest, APlayerLimitedToScreenshotsPostsOnlyThem) {
  h.player.playerPath =
      h.Script("shot.sh",
               "echo Starting playback...\nwhile read -r l; do [ \"$l\" = 'screenshot 0' ] && "
               "echo \"*** screenshot 'shot0007.png' ***\"; [ \"$l\" = quit ] && exit 0; done\n");
  h.player.notifyCodes = NotificationBit(kPlayerScreenshot);
  ASSERT_EQ(h.player.Play(), 0);
  for (int i = 0; i < 500 && h.player.state() != PlayerState::Playing; ++i) SleepMs(10);
  ASSERT_EQ(h.player.SendCommand("screenshot 0", true), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerScreenshot));
  h.player.Stop();
  EXPECT_EQ(h.Codes(), std::vector<int>{kPlayerScreenshot});
}

}  // namespace
}  // namespace korvane::test
