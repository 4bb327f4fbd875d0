// The real program on the sample card folder, driven with the real mouse and keyboard (xdotool):
// an offset typed into the Trips window's clock line moves the camera times the GPS panel shows,
// back over midnight, and is kept in the data folder; a text that is no offset changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "program_driver.h"
#include "support/file_text.h"

namespace korvane::test {
namespace {

// The middle of the offset's field in the Trips window (skin "Trips.xml"): under the list, above
// the 44 px summary line of the 480 px window, the 42 px line with its 10 px inset; across, the
// 18 px inset and the 200 px caption with 10 px after it, then half the 120 px field.
constexpr int kFieldX = 1 + 18 + 200 + 10 + 60;
constexpr int kFieldY = 480 - 1 - 44 - 42 + 10 + 16;

TEST(ProgramClockOffset, AnOffsetTypedInTheTripsWindowMovesThePanelsTime) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  const std::string folder = TripFolder();
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({folder + "20260518_083000_F.mp4"}));
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        return p.Int("state") == 3 &&
               p.Str("timeLabel").find("2026-05-18 08:3") != std::string::npos &&
               Numbers(p.Str("tripsButton")).size() == 4;
      },
      60000);
  ASSERT_NE(s.Str("timeLabel").find("2026-05-18 08:3"), std::string::npos) << s.json;

  const std::vector<double> button = Numbers(s.Str("tripsButton"));
  ASSERT_TRUE(XdoTool(display.name(),
                      {"mousemove", std::to_string((button[0] + button[2]) / 2),
                       std::to_string((button[1] + button[3]) / 2), "sleep", "0.2", "click", "1"}));
  // Into the field, all of it selected: first 25:00, which is refused and stores nothing, then
  // -10:00 ("-" as its key: xdotool would take a leading "-" for an option); Enter applies each
  // and keeps the window open rather than playing the selected trip.
  const std::string stored = run.home().str() + "Documents/KORVANE/clock_offsets.txt";
  const auto enter = [&](const std::vector<std::string>& keys, const std::string& text) {
    ASSERT_TRUE(XdoTool(display.name(), {"search", "--sync", "--name", "^TripsWnd$", "mousemove",
                                         "--window", "%1", std::to_string(kFieldX),
                                         std::to_string(kFieldY), "sleep", "0.3", "click", "1"}));
    std::vector<std::string> press = {"key", "--delay", "50", "ctrl+a"};
    press.insert(press.end(), keys.begin(), keys.end());
    ASSERT_TRUE(XdoTool(display.name(), press));
    ASSERT_TRUE(XdoTool(display.name(), {"type", "--delay", "50", text}));
    ASSERT_TRUE(XdoTool(display.name(), {"key", "Return", "sleep", "0.5"}));
  };
  enter({}, "25:00");
  EXPECT_FALSE(std::filesystem::exists(stored));
  enter({"minus"}, "10:00");
  // The clip plays on while the window is open: the next report shows the moved time.
  s = run.WaitFor(
      [](const ProbeState& p) {
        return p.Str("timeLabel").find("2026-05-17 22:3") != std::string::npos;
      },
      15000);
  EXPECT_NE(s.Str("timeLabel").find("2026-05-17 22:3"), std::string::npos) << s.json;
  EXPECT_EQ(ReadFileText(stored), "-10:00:00\t" + folder + "\n");
  EXPECT_TRUE(XdoTool(display.name(), {"search", "--onlyvisible", "--name", "^TripsWnd$"}));

  ASSERT_TRUE(XdoTool(display.name(), {"key", "Escape"}));
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
