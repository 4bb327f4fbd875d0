// Driving events in the real program: the events sample's three events are marked on the chart
// and the map once the background indexer has stored them, and the real keys (xdotool on the
// test's own Xvfb) go from one to the next, a pause staying a pause, then on into the next clip of
// the playlist that has events, and back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "program_driver.h"

namespace korvane::test {
namespace {

TEST(ProgramEvents, TheKeysReachTheMarkedEventsOfTheClipThenOfTheNextClip) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  // A folder of three clips: events, a quiet drive without any, events again.
  TempDir clips;
  const std::string first = clips.str() + "clip_1.mp4", last = clips.str() + "clip_3.mp4";
  std::filesystem::copy_file(EventsClip(), first);
  std::filesystem::copy_file(DefaultClip(), clips.path() / "clip_2.mp4");
  std::filesystem::copy_file(EventsClip(), last);
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({first}));

  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        return p.Int("state") == 3 && Numbers(p.Str("chartEvents")).size() == 3 &&
               p.Map("eventMarks") == "3";
      },
      90000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  const std::vector<double> marks = Numbers(s.Str("chartEvents"));
  ASSERT_EQ(marks.size(), 3u) << s.json;
  EXPECT_NEAR(marks[0], 20000, 100);
  EXPECT_NEAR(marks[1], 35000, 100);
  EXPECT_NEAR(marks[2], 50000, 100);
  EXPECT_EQ(s.Map("eventMarks"), "3") << s.json;

  run.Command("click btnPause");
  ASSERT_EQ(run.WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000).Int("state"),
            4);
  run.Command("seek 0");
  ASSERT_EQ(
      run.WaitFor([](const ProbeState& p) { return p.Int("position") == 0; }, 5000).Int("position"),
      0);
  // A click on the play-time label gives the window the keyboard and does nothing else.
  ASSERT_TRUE(XdoTool(display.name(), {"search", "--sync", "--name", "^KORVANE", "mousemove",
                                       "--window", "%1", "345", "716", "click", "1"}));
  const auto press = [&](const char* key, const std::string& clip, int second) {
    SCOPED_TRACE(std::string(key) + " to " + clip + " at " + std::to_string(second));
    ASSERT_TRUE(XdoTool(display.name(), {"key", "--delay", "50", key}));
    const ProbeState at = run.WaitFor(
        [&](const ProbeState& p) {
          return p.Str("clip") == clip && std::labs(p.Int("position") - second) <= 1;
        },
        15000);
    EXPECT_EQ(at.Str("clip"), clip) << at.json;
    EXPECT_NEAR(at.Int("position"), second, 1) << at.json;
  };
  press("n", first, 20);
  EXPECT_EQ(run.Read().Int("state"), 4) << "a pause stays a pause";
  press("n", first, 35);
  press("n", first, 50);
  press("p", first, 35);
  // Past the last event: the quiet clip has none, so the next clip with events plays from its
  // first.
  press("n", first, 50);
  press("n", last, 20);
  s = run.WaitFor([](const ProbeState& p) { return Numbers(p.Str("chartEvents")).size() == 3; },
                  30000);
  EXPECT_EQ(Numbers(s.Str("chartEvents")).size(), 3u) << "the new clip's own marks: " << s.json;
  // Back from before its first event: the last event of the first clip.
  run.Command("seek 5");
  ASSERT_NEAR(
      run.WaitFor([](const ProbeState& p) { return p.Int("position") <= 7; }, 5000).Int("position"),
      5, 2);
  press("p", first, 50);

  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
