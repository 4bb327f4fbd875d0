// The player program itself on the sample clip, talked to line by line, side by side with
// Debian's mplayer (through tests/media/debian_mplayer.sh) for everything the two share.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "media/line_splitter.h"
#include "platform/process.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

using namespace std::chrono_literals;

std::string OwnPlayer() {
  return ProgramDir() + "MPlayer/mplayer";
}
std::string DebianPlayer() {
  return SourceDir() + "/tests/media/debian_mplayer.sh";
}
bool DebianPlayerInstalled() {
  return std::filesystem::exists("/usr/bin/mplayer");
}

// One running player and the lines it has written so far.
class PlayerProgram {
 public:
  PlayerProgram(const std::string& program, std::vector<std::string> args,
                const std::string& folder) {
    ProcessOptions options;
    options.program = program;
    options.args = std::move(args);
    options.workingFolder = folder;
    options.pipeStdin = options.pipeStdout = options.stderrToStdout = true;
    started_ = child_.Start(options) == 0;
  }
  bool started() const { return started_; }

  void Send(const std::string& text) { child_.WriteStdin(text.data(), text.size()); }
  void CloseInput() { child_.CloseStdin(); }

  // Reads until a line starting with `prefix` arrives (returned) or `timeout` passes ("").
  std::string WaitForLine(const std::string& prefix, std::chrono::milliseconds timeout = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      while (next_ < lines_.size()) {
        const std::string& line = lines_[next_++];
        if (line.rfind(prefix, 0) == 0) return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !child_.WaitStdoutReadable(static_cast<int>(left.count()))) {
        return "";
      }
      char buffer[4096];
      const ssize_t got = child_.ReadStdout(buffer, sizeof buffer);
      if (got <= 0) return "";
      splitter_.Feed(std::string_view(buffer, static_cast<std::size_t>(got)),
                     [this](std::string_view line) { lines_.emplace_back(line); });
    }
  }
  // Index of the first line that starts with `prefix`, or -1; looks at what has been read.
  int IndexOf(const std::string& prefix) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (lines_[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    return -1;
  }
  // Everything read so far, for failure messages.
  std::string Transcript() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\n";
    return text;
  }
  // Exit code after waiting up to `ms` for the end; -1 while it still runs.
  int ExitCode(int ms) { return child_.WaitForExit(ms) ? child_.exitCode() : -1; }

 private:
  ChildProcess child_;
  LineSplitter splitter_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  bool started_ = false;
};

std::vector<std::string> SlaveArgs(const std::string& clip) {
  return {clip,      "-vo", "null",     "-ao", "null", "-slave", "-quiet", "-identify",
          "-volume", "40",  "-muteset", "0",   "-sid", "0",      "-idx",   "-nokeepaspect"};
}

class BothPlayers : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (IsDebian() && !DebianPlayerInstalled()) GTEST_SKIP() << "Debian's mplayer is missing";
  }
  bool IsDebian() const { return GetParam(); }
  std::string Program() const { return IsDebian() ? DebianPlayer() : OwnPlayer(); }

  TempDir folder;
};

TEST_P(BothPlayers, IdentifiesTheClipBeforePlaybackStarts) {
  PlayerProgram player(Program(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_TRUE(player.started());
  ASSERT_EQ(player.WaitForLine("Starting playback"), "Starting playback...") << player.Transcript();
  EXPECT_EQ(player.WaitForLine("ID_VIDEO_ASPECT="), "ID_VIDEO_ASPECT=1.7778");
  const int start = player.IndexOf("Starting playback");
  for (const char* line : {"ID_VIDEO_WIDTH=640", "ID_VIDEO_HEIGHT=360", "ID_LENGTH=60.00"}) {
    const int at = player.IndexOf(line);
    EXPECT_GE(at, 0) << line;
    EXPECT_LT(at, start) << line;
  }
  player.Send("quit\n");
  EXPECT_EQ(player.WaitForLine("ID_EXIT="), "ID_EXIT=QUIT");
  EXPECT_EQ(player.ExitCode(5000), 0);
}

TEST_P(BothPlayers, VolumeMuteAndUnknownCommands) {
  PlayerProgram player(Program(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.Send("frobnicate 1\nvolume 30 1\nget_property volume\nmute 1\nget_property mute\n");
  EXPECT_EQ(player.WaitForLine("ANS_volume=").substr(0, 14), "ANS_volume=30.");
  EXPECT_EQ(player.WaitForLine("ANS_mute="), "ANS_mute=yes");
  player.Send("mute 0\nget_property mute\nget_time_pos\n");
  EXPECT_EQ(player.WaitForLine("ANS_mute="), "ANS_mute=no");
  EXPECT_FALSE(player.WaitForLine("ANS_TIME_POSITION=").empty());
  player.Send("quit\n");
  EXPECT_EQ(player.ExitCode(5000), 0);
}

TEST_P(BothPlayers, PauseSeekAndTimePosition) {
  PlayerProgram player(Program(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.Send("seek 30 2\n");
  std::this_thread::sleep_for(300ms);
  player.Send("get_time_pos\npause\n");  // as the controller pauses
  const double paused = std::stod(player.WaitForLine("ANS_TIME_POSITION=").substr(18));
  EXPECT_GE(paused, 30.0);
  EXPECT_LT(paused, 31.5);
  std::this_thread::sleep_for(700ms);
  // Debian's mplayer would resume on a command without the "pausing" prefix.
  player.Send("pausing_keep_force get_time_pos\n");
  const double later = std::stod(player.WaitForLine("ANS_TIME_POSITION=").substr(18));
  EXPECT_NEAR(later, paused, 0.25);
  player.Send("quit\n");
}

TEST_P(BothPlayers, APausedSeekKeptPausedLandsOnTheMomentAndStaysThere) {
  PlayerProgram player(Program(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.Send("get_time_pos\npause\n");
  ASSERT_FALSE(player.WaitForLine("ANS_TIME_POSITION=").empty());
  // As the controller seeks: the seek keeps the pause, the question about the moment right after
  // it must not resume playback either, and is answered about the moment sought.
  player.Send("pausing_keep seek 20.500 2\npausing_keep_force get_property time_pos\n");
  const std::string answer = player.WaitForLine("ANS_time_pos=");
  ASSERT_FALSE(answer.empty()) << player.Transcript();
  const double landed = std::stod(answer.substr(13));
  // Debian's mplayer lands on the next key frame (one a second in the sample clip).
  EXPECT_NEAR(landed, 20.5, IsDebian() ? 1.0 : 0.1);
  std::this_thread::sleep_for(700ms);
  player.Send("pausing_keep_force get_property time_pos\n");
  EXPECT_NEAR(std::stod(player.WaitForLine("ANS_time_pos=").substr(13)), landed, 0.05);
  player.Send("quit\n");
}

TEST_P(BothPlayers, FrameStepAndSpeedKeepThePause) {
  std::vector<std::string> args = SlaveArgs(DefaultClip());
  args.insert(args.end(), {"-speed", "0.5"});
  PlayerProgram player(Program(), args, folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.Send("pausing_keep_force get_property speed\n");
  EXPECT_EQ(player.WaitForLine("ANS_speed=").substr(0, 13), "ANS_speed=0.5") << player.Transcript();
  player.Send("get_time_pos\npause\n");
  ASSERT_FALSE(player.WaitForLine("ANS_TIME_POSITION=").empty());
  player.Send("pausing_keep seek 20 2\npausing_keep_force get_property time_pos\n");
  const double before = std::stod(player.WaitForLine("ANS_time_pos=").substr(13));
  // The question right after the step is answered about the frame it landed on (25 a second).
  player.Send("pausing_keep frame_step\npausing_keep_force get_property time_pos\n");
  const std::string stepped = player.WaitForLine("ANS_time_pos=");
  ASSERT_FALSE(stepped.empty()) << player.Transcript();
  EXPECT_NEAR(std::stod(stepped.substr(13)) - before, 0.04, 0.005) << player.Transcript();
  // As the controller sends it: MPlayer's plain pausing_keep would show the next frame first.
  player.Send("pausing_keep_force speed_set 2\npausing_keep_force get_property speed\n");
  EXPECT_EQ(player.WaitForLine("ANS_speed=").substr(0, 13), "ANS_speed=2.0");
  std::this_thread::sleep_for(500ms);
  player.Send("pausing_keep_force get_property pause\npausing_keep_force get_property time_pos\n");
  EXPECT_EQ(player.WaitForLine("ANS_pause="), "ANS_pause=yes");
  EXPECT_NEAR(std::stod(player.WaitForLine("ANS_time_pos=").substr(13)) - before, 0.04, 0.005);
  player.Send("quit\n");
}

TEST_P(BothPlayers, ScreenshotTakesTheNextFreeNumber) {
  std::ofstream(folder.path() / "shot0001.png") << "taken";
  PlayerProgram player(Program(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  std::this_thread::sleep_for(300ms);
  player.Send("screenshot 0\n");
  EXPECT_EQ(player.WaitForLine("*** screenshot"), "*** screenshot 'shot0002.png' ***");
  EXPECT_GT(std::filesystem::file_size(folder.path() / "shot0002.png"), 1000u);
  player.Send("quit\n");
}

TEST_P(BothPlayers, UnopenableFileEndsWithoutHanging) {
  PlayerProgram player(Program(), SlaveArgs(folder.str() + "missing.mp4"), folder.str());
  EXPECT_EQ(player.WaitForLine("ID_EXIT="), "ID_EXIT=EOF");
  const int code = player.ExitCode(5000);
  EXPECT_NE(code, -1);
  if (!IsDebian()) {
    EXPECT_EQ(code, 1);  // Debian's mplayer ends with 0 here
  }
}

INSTANTIATE_TEST_SUITE_P(Players, BothPlayers, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Debian" : "Own"; });

TEST(OwnPlayer, SubtitleLogAnswersWithTheCurrentTextAndPosition) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(DefaultClip()), folder.str());
  // Sent before playback starts: answered once it has started, not with an early "no subtitle".
  player.Send("sub_log_static\nsub_log_static\n");
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  // One of the first cues (they change every 100 ms), then the moment it belongs to.
  const std::string firstCues = "ID_SUBTITLE_LOG=2026-05-18 08:30:00/E113 56 21";
  EXPECT_EQ(player.WaitForLine("ID_SUBTITLE_LOG=").substr(0, firstCues.size()), firstCues);
  EXPECT_EQ(player.WaitForLine("ANS_TIME_POSITION=").substr(0, 20), "ANS_TIME_POSITION=0.");
  player.Send("get_time_pos\n");
  EXPECT_EQ(player.WaitForLine("ANS_TIME_POSITION=").substr(0, 20), "ANS_TIME_POSITION=0.");
  player.Send("quit\n");
  EXPECT_EQ(player.WaitForLine("ID_EXIT="), "ID_EXIT=QUIT");
  EXPECT_EQ(player.IndexOf("ID_SUBTITLE_LOG="), player.IndexOf("ID_SUBTITLE_LOG=2026"));
}

TEST(OwnPlayer, SeeksReadInOneGoEndWhereTheLastOneAims) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  // A dragged slider: many seeks at once, each with its question.
  std::string burst;
  for (int s = 1; s <= 40; ++s) {
    burst += "pausing_keep seek " + std::to_string(s) + ".000 2\n";
    burst += "pausing_keep_force get_property time_pos\n";
  }
  const auto start = std::chrono::steady_clock::now();
  player.Send(burst);
  double last = -1;
  for (int i = 0; i < 40; ++i) {
    const std::string answer = player.WaitForLine("ANS_time_pos=");
    ASSERT_FALSE(answer.empty()) << i << "\n" << player.Transcript();
    last = std::stod(answer.substr(13));
  }
  EXPECT_NEAR(last, 40.0, 0.1);
  // The waiting seeks were merged instead of each being carried out in turn.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  player.Send("quit\n");
}

TEST(OwnPlayer, FramesStepBackAndForthOnePerCommand) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  // A step given while playing pauses the player; steps read in one go are each carried out.
  player.Send(
      "pausing_keep seek 10 2\nframe_back_step\npausing_keep_force get_property time_pos\n");
  const std::string first = player.WaitForLine("ANS_time_pos=");
  ASSERT_FALSE(first.empty()) << player.Transcript();
  player.Send(
      "frame_back_step\nframe_back_step\nframe_step\n"
      "pausing_keep_force get_property time_pos\n");
  const std::string answer = player.WaitForLine("ANS_time_pos=");
  ASSERT_FALSE(answer.empty()) << player.Transcript();
  EXPECT_NEAR(std::stod(answer.substr(13)), std::stod(first.substr(13)) - 0.04, 0.005)
      << player.Transcript();
  player.Send("pausing_keep_force get_property pause\n");
  EXPECT_EQ(player.WaitForLine("ANS_pause="), "ANS_pause=yes");
  player.Send("quit\n");
}

TEST(OwnPlayer, ClipWithoutSubtitlesAnswersAnEmptyLog) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(NoSubtitleClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.Send("sub_log_static\n");
  EXPECT_EQ(player.WaitForLine("ID_SUBTITLE_LOG"), "ID_SUBTITLE_LOG=");
  player.Send("quit\n");
}

TEST(OwnPlayer, AnswersItsDroppedFrameCountAsAWholeNumber) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.Send("pausing_keep_force get_dropped_frames\n");
  const std::string answer = player.WaitForLine("ANS_DROPPED_FRAMES=");
  ASSERT_FALSE(answer.empty()) << player.Transcript();
  const std::string count = answer.substr(19);
  EXPECT_FALSE(count.empty());
  EXPECT_EQ(count.find_first_not_of("0123456789"), std::string::npos) << answer;
  player.Send("quit\n");
}

TEST(OwnPlayer, ClosedInputEndsThePlayer) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(DefaultClip()), folder.str());
  ASSERT_FALSE(player.WaitForLine("Starting playback").empty()) << player.Transcript();
  player.CloseInput();
  EXPECT_EQ(player.ExitCode(5000), 0);
}

TEST(OwnPlayer, EndOfFileIsReported) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), SlaveArgs(CuesClip(5)), folder.str());
  EXPECT_EQ(player.WaitForLine("ID_EXIT="), "ID_EXIT=EOF");
  EXPECT_EQ(player.ExitCode(5000), 0);
}

TEST(OwnPlayer, ListsAudioDevicesWithIndexNameAndDescription) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), {"-list-audio-devices"}, folder.str());
  EXPECT_EQ(player.WaitForLine("0\t"), "0\tauto\tAutoselect device");
  EXPECT_EQ(player.ExitCode(5000), 0);
}

TEST(OwnPlayer, BadCommandLineIsRefused) {
  TempDir folder;
  PlayerProgram player(OwnPlayer(), {DefaultClip(), "-no-such-option"}, folder.str());
  EXPECT_EQ(player.WaitForLine("Unknown option"),
            "Unknown option on the command line: -no-such-option");
  EXPECT_EQ(player.ExitCode(5000), 1);
}

}  // namespace
}  // namespace korvane::test
