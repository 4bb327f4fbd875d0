// Real key presses (xdotool) on the real program: the player's keys act whatever was clicked
// last, the map's web view included, and the state and position read back through the probe.
#include <gtest/gtest.h>

#include "program_driver.h"

namespace korvane::test {
namespace {

class ProgramKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
    if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
    run.emplace(display.name());
  }
  // Runs xdotool on the test's display; true when it succeeded.
  bool Xdotool(const std::vector<std::string>& args) const {
    ChildProcess tool;
    ProcessOptions o;
    o.program = "/usr/bin/xdotool";
    o.args = args;
    o.environment = {"DISPLAY=" + display.name()};
    return tool.Start(o) == 0 && tool.WaitForExit(10000) && tool.exitCode() == 0;
  }
  // A left click at a point of the main window (window coordinates).
  bool ClickInWindow(int x, int y) const {
    return Xdotool({"search", "--sync", "--name", "^KORVANE", "mousemove", "--window", "%1",
                    std::to_string(x), std::to_string(y), "click", "1"});
  }
  bool Key(const std::string& key) const { return Xdotool({"key", "--delay", "50", key}); }

  PrivateDisplay display;
  TempDir clips;
  std::optional<ProgramRun> run;
};

TEST_F(ProgramKeys, PlayerKeysActWhateverWasClickedLast) {
  std::filesystem::copy_file(DefaultClip(), clips.path() / "1_drive.mp4");
  ASSERT_TRUE(run->Start({clips.str() + "1_drive.mp4"}));
  ProbeState s = run->WaitFor(
      [](const ProbeState& p) { return p.Int("state") == 3 && p.Int("position") >= 1; }, 30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;

  // The map's web view takes the click; Right still seeks 5 s a press.
  ASSERT_TRUE(ClickInWindow(1000, 150));
  const long before = run->Read().Int("position");
  ASSERT_TRUE(Key("Right"));
  ASSERT_TRUE(Key("Right"));
  s = run->WaitFor([&](const ProbeState& p) { return p.Int("position") >= before + 10; }, 5000);
  EXPECT_GE(s.Int("position"), before + 10) << s.json;
  EXPECT_LE(s.Int("position"), before + 13) << s.json;

  // Space pauses and plays again.
  ASSERT_TRUE(Key("space"));
  s = run->WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000);
  EXPECT_EQ(s.Int("state"), 4) << s.json;
  EXPECT_EQ(s.Str("playButton"), "btnPlay");

  // Shift+Left while paused goes back 30 s (held to the start).
  const long paused = s.Int("position");
  ASSERT_TRUE(Key("shift+Left"));
  s = run->WaitFor([&](const ProbeState& p) { return p.Int("position") < paused; }, 5000);
  EXPECT_EQ(s.Int("position"), std::max(0L, paused - 30)) << s.json;

  ASSERT_TRUE(Key("space"));
  s = run->WaitFor([](const ProbeState& p) { return p.Int("state") == 3; }, 5000);
  EXPECT_EQ(s.Int("state"), 3) << s.json;

  // Enter and Escape: full screen on and off, the key not passed to the focused control.
  ASSERT_TRUE(Key("Return"));
  s = run->WaitFor([](const ProbeState& p) { return p.Int("fullScreen") == 1; }, 5000);
  EXPECT_EQ(s.Int("fullScreen"), 1) << s.json;
  ASSERT_TRUE(Key("space"));  // side panels hidden: the keys still reach the window
  s = run->WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000);
  EXPECT_EQ(s.Int("state"), 4) << s.json;
  ASSERT_TRUE(Key("Escape"));
  s = run->WaitFor([](const ProbeState& p) { return p.Int("fullScreen") == 0; }, 5000);
  EXPECT_EQ(s.Int("fullScreen"), 0) << s.json;
  EXPECT_TRUE(run->Close());
}

TEST_F(ProgramKeys, TheSpeedHoldsAcrossFilesAndFramesStepWhilePaused) {
  for (const char* name : {"1_drive.mp4", "2_drive.mp4"}) {
    std::filesystem::copy_file(DefaultClip(), clips.path() / name);
  }
  ASSERT_TRUE(run->Start({clips.str() + "1_drive.mp4"}));
  ProbeState s = run->WaitFor([](const ProbeState& p) { return p.Int("state") == 3; }, 30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;

  // Two rungs up from normal speed: shown, and the player's own answer is 2.
  ASSERT_TRUE(Key("bracketright"));
  ASSERT_TRUE(Key("bracketright"));
  s = run->WaitFor([](const ProbeState& p) { return p.Num("playerSpeed") == 2.0; }, 5000);
  EXPECT_EQ(s.Num("playerSpeed"), 2.0) << s.json;
  EXPECT_EQ(s.Str("playbackSpeed"), "2\u00d7");

  // Paused: a frame back, then one forward, 1/25 s apart; the player stays paused.
  ASSERT_TRUE(Key("space"));
  s = run->WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000);
  ASSERT_EQ(s.Int("state"), 4) << s.json;
  // The time of the frame shown, as the player has it: the answers the panel follows after a step
  // end in one with a single decimal.
  const auto frameTime = [&] {
    run->WaitFor([](const ProbeState&) { return false; }, 1000);
    run->Command("ask time");
    return run->WaitFor([](const ProbeState&) { return false; }, 500);
  };
  ASSERT_TRUE(Key("comma"));
  const double back = frameTime().Num("timePosition");
  ASSERT_TRUE(Key("period"));
  s = frameTime();
  EXPECT_NEAR(s.Num("timePosition") - back, 0.04, 0.005) << s.json;
  EXPECT_EQ(s.Int("state"), 4);

  // Played on to the end: the next file starts at the same speed.
  ASSERT_TRUE(Key("space"));
  run->Command("seek 58");
  s = run->WaitFor(
      [&](const ProbeState& p) {
        return p.Str("current").find("2_drive") != std::string::npos && p.Int("state") == 3;
      },
      15000);
  ASSERT_NE(s.Str("current").find("2_drive"), std::string::npos) << s.json;
  EXPECT_EQ(s.Str("playbackSpeed"), "2\u00d7");
  run->Command("ask speed");
  s = run->WaitFor([](const ProbeState& p) { return p.Num("playerSpeed") == 2.0; }, 5000);
  EXPECT_EQ(s.Num("playerSpeed"), 2.0) << s.json;
  EXPECT_TRUE(run->Close());
}

}  // namespace
}  // namespace korvane::test
