// Seeking from the map and the chart in the real program: the route of the sample clip is clicked
// with the real pointer (xdotool on the test's own Xvfb), playing and paused, and the video, the
// GPS panel, the car marker and the chart cursor are read back at the moment clicked; the chart is
// hovered and clicked the same way.
#include <gtest/gtest.h>

#include <cmath>

#include "program_driver.h"

namespace korvane::test {
namespace {

constexpr int kStartMs = 30000;

class SeekTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
    if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
    run.emplace(display.name());
    ASSERT_TRUE(run->Start({DefaultClip()}));
    // Playing, the whole track known and drawn with its moments.
    const ProbeState s = run->WaitFor(
        [](const ProbeState& p) {
          const std::vector<double> nav = Numbers(p.Str("nav"));
          return p.Int("state") == 3 && nav.size() == 3 && nav[1] == 1 && nav[0] >= 60 &&
                 p.Map("timedPoints") == std::to_string(static_cast<long>(nav[0])) &&
                 p.Map("channel") == "1";
        },
        kStartMs);
    ASSERT_EQ(s.Int("state"), 3) << s.json;
    ASSERT_EQ(s.Map("channel"), "1") << "the page reached the program's channel: " << s.json;
  }

  // Where on the screen the route point at `fraction` of the route is: x, y and its moment (ms).
  std::vector<double> RouteTarget(double fraction) {
    run->Command("maptarget " + std::to_string(fraction));
    const ProbeState s = run->WaitFor(
        [](const ProbeState& p) { return Numbers(p.Str("mapTarget")).size() == 3; }, 5000);
    return Numbers(s.Str("mapTarget"));
  }

  void ClickAt(double x, double y) {
    ASSERT_TRUE(XdoTool(display.name(), {"mousemove", std::to_string(std::lround(x)),
                                         std::to_string(std::lround(y))}));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_TRUE(XdoTool(display.name(), {"click", "1"}));
  }

  // The probe once the clicked moment `ms` shows in the panel, on the cursor and, a little later
  // (the page answers the probe after the call that moved it), on the marker.
  ProbeState WaitForMoment(long ms, const TelemetryLine& line) {
    return run->WaitFor(
        [&](const ProbeState& p) {
          const std::string click = p.Str("click");
          const std::vector<double> marker = Numbers(p.Map("marker"));
          return ProbeField(click, "t") == std::to_string(ms) &&
                 ProbeField(click, "panelMs") != "0" && ProbeField(click, "cursorMs") != "0" &&
                 marker.size() == 2 && std::fabs(marker[0] - line.latitude) < kMarkerSlack &&
                 std::fabs(marker[1] - line.longitude) < kMarkerSlack;
        },
        5000);
  }

  // The page rounds to six decimals, the camera to a hundredth of a second of arc.
  static constexpr double kMarkerSlack = 2e-5;

  PrivateDisplay display;
  std::optional<ProgramRun> run;
};

TEST_F(SeekTest, ClickingTheRouteMovesVideoPanelMarkerAndCursorThereWhetherPlayingOrPaused) {
  const std::vector<TelemetryLine> telemetry = ReadTelemetry(DefaultClip());
  ASSERT_EQ(telemetry.size(), 600u);
  for (const bool paused : {false, true}) {
    SCOPED_TRACE(paused ? "paused" : "playing");
    if (paused) {
      run->Command("click btnPause");
      ASSERT_EQ(
          run->WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000).Int("state"),
          4);
    }
    const std::vector<double> target = RouteTarget(paused ? 0.2 : 0.8);
    ASSERT_EQ(target.size(), 3u);
    const long ms = std::lround(target[2]);
    ASSERT_NO_FATAL_FAILURE(ClickAt(target[0], target[1]));
    // The cue of that moment: the generator writes one every 100 ms.
    const TelemetryLine& line = telemetry.at(static_cast<std::size_t>(ms / 100));
    const ProbeState s = WaitForMoment(ms, line);
    ASSERT_EQ(ProbeField(s.Str("click"), "t"), std::to_string(ms)) << s.json;
    EXPECT_TRUE(s.Str("timeLabel").ends_with(line.dateTime)) << s.json;
    EXPECT_NEAR(s.Int("position"), ms / 1000.0, 1.0) << s.json;
    const std::vector<double> marker = Numbers(s.Map("marker"));
    ASSERT_EQ(marker.size(), 2u) << s.json;
    EXPECT_NEAR(marker[0], line.latitude, kMarkerSlack) << s.json;
    EXPECT_NEAR(marker[1], line.longitude, kMarkerSlack) << s.json;
    // The cursor stands on the chart point of that moment: five points a unit, one a second.
    EXPECT_NEAR(std::stod(s.Str("cursorX")), ms / 1000 * 0.2, 1e-6) << s.json;
    if (paused) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1200));
      const ProbeState later = run->Read();
      EXPECT_EQ(later.Int("state"), 4) << "a paused player stays paused";
      EXPECT_EQ(later.Int("position"), s.Int("position"));
    }
  }
}

TEST_F(SeekTest, HoveringTheRouteShowsTheMomentDateTimeAndSpeed) {
  const std::vector<double> target = RouteTarget(0.5);
  ASSERT_EQ(target.size(), 3u);
  const auto moveTo = [&](double x, double y) {
    return XdoTool(display.name(),
                   {"mousemove", std::to_string(std::lround(x)), std::to_string(std::lround(y))});
  };
  ASSERT_TRUE(moveTo(target[0], target[1]));
  ProbeState s = run->WaitFor([](const ProbeState& p) { return !p.Map("tip").empty(); }, 5000);
  const long ms = std::lround(target[2]);
  const TelemetryLine line = ReadTelemetry(DefaultClip()).at(static_cast<std::size_t>(ms / 100));
  const std::string tip = s.Map("tip");
  char clip[32];
  std::snprintf(clip, sizeof clip, "00:00:%02d", static_cast<int>(ms / 1000 % 60));
  EXPECT_TRUE(tip.starts_with(clip)) << tip;
  EXPECT_NE(tip.find(line.dateTime), std::string::npos) << tip;
  EXPECT_NE(tip.find(" km/h"), std::string::npos) << tip;
  // The route is coloured by speed unless the settings say otherwise, with its legend in km/h.
  EXPECT_EQ(s.Map("legend"), "Speed (km/h)01030507090110130+") << s.json;

  // Away from the route, on an empty part of the map: the tooltip goes.
  const std::vector<double> map = Numbers(s.Str("mapRect"));
  ASSERT_EQ(map.size(), 4u) << s.json;
  ASSERT_TRUE(moveTo(map[0] + 60, map[3] - 40));
  s = run->WaitFor([](const ProbeState& p) { return p.Map("tip").empty(); }, 5000);
  EXPECT_EQ(s.Map("tip"), "") << s.json;
  EXPECT_EQ(s.Map("hoverT"), "-1");
  // Ten pixels beside the line still counts as on it.
  ASSERT_TRUE(moveTo(target[0] + 7, target[1] + 7));
  s = run->WaitFor([](const ProbeState& p) { return !p.Map("tip").empty(); }, 5000);
  EXPECT_NE(s.Map("tip"), "") << s.json;
}

TEST_F(SeekTest, TheChartShowsItsValuesUnderTheMouseAndAClickSeeksThere) {
  ProbeState s = run->Read();
  const std::vector<double> plot = Numbers(s.Str("chartPlot"));
  ASSERT_EQ(plot.size(), 4u) << s.json;
  // The curves of 61 points reach x 12 of the range 0 … 16: a tenth of the way in is x 1.6, the
  // point of second 8.
  const double x = plot[0] + (plot[2] - plot[0]) * 0.1;
  const double y = (plot[1] + plot[3]) / 2;
  ASSERT_TRUE(XdoTool(display.name(), {"mousemove", std::to_string(std::lround(x)),
                                       std::to_string(std::lround(y))}));
  s = run->WaitFor([](const ProbeState& p) { return !p.Str("hoverText").empty(); }, 5000);
  EXPECT_EQ(s.Str("hoverText").rfind("X ", 0), 0u) << s.json;
  EXPECT_NE(s.Str("hoverText").find(" G  Z "), std::string::npos) << s.json;

  run->Command("click btnPause");
  ASSERT_EQ(
      run->WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000).Int("state"), 4);
  ASSERT_TRUE(XdoTool(display.name(), {"click", "1"}));
  // The player's position comes first; the panel and the cursor follow its answer.
  s = run->WaitFor(
      [](const ProbeState& p) {
        return p.Int("position") == 8 && p.Str("timeLabel").ends_with("08:30:08") &&
               p.Str("cursorX") != "null" && p.Str("cursorX") != "0.000000";
      },
      5000);
  EXPECT_EQ(s.Int("position"), 8) << s.json;
  EXPECT_TRUE(s.Str("timeLabel").ends_with("08:30:08")) << s.json;
  EXPECT_NEAR(std::stod(s.Str("cursorX")), 1.6, 1e-6) << s.json;
  EXPECT_EQ(s.Int("state"), 4);
}

}  // namespace
}  // namespace korvane::test
