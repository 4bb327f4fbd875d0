// The stretch marks' two buttons in the real window: real clicks (xdotool at the buttons' places
// on the test's own Xvfb) while the clip plays mark a stretch as I and O do; the progress bar shows
// a tick at the start, then the stretch tinted, and the chart its band, while the pair saves.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "program_driver.h"

namespace korvane::test {
namespace {

TEST(ProgramMarkButtons, ClicksMarkAStretchShownOnTheBarAndTheChartWhileItSaves) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  const std::string clip = SamplePath("dualcard/REC_2026_05_18_08_30_20_F.mp4");
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        return p.Int("state") == 3 && p.Int("progressMax") > 0 && !p.Curves().empty() &&
               p.Curves().front() > 20;
      },
      30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  // A real click at the middle of the button's rectangle [left, top, right, bottom].
  const auto click = [&](const char* button) {
    const std::vector<double> r = Numbers(s.Str(button));
    const auto middle = [](double a, double b) { return std::to_string(std::lround((a + b) / 2)); };
    return r.size() == 4 &&
           XdoTool(display.name(), {"mousemove", middle(r[0], r[2]), middle(r[1], r[3]), "sleep",
                                    "0.2", "click", "1"});
  };

  run.Command("seek 3");
  run.WaitFor([](const ProbeState& p) { return p.Int("position") == 3; }, 5000);
  ASSERT_TRUE(click("markStartButton")) << s.json;
  s = run.WaitFor([](const ProbeState& p) { return !ProbeField(p.Str("markStart"), "ms").empty(); },
                  5000);
  ASSERT_EQ(ProbeField(s.Str("markStart"), "clip"), clip) << s.json;
  const long startMs = std::atol(ProbeField(s.Str("markStart"), "ms").c_str());
  EXPECT_NEAR(startMs, 3500, 1000) << s.json;
  // A start alone: its tick on the bar, nothing tinted, no band on the chart.
  const double length = static_cast<double>(s.Int("progressMax")) * 1000;
  std::vector<double> ticks = Numbers(ProbeField(s.Str("progressMarks"), "ticks"));
  ASSERT_EQ(ticks.size(), 1u) << s.json;
  EXPECT_NEAR(ticks[0], startMs / length, 1e-3);
  EXPECT_EQ(s.Str("chartStretch"), "[-1,-1]");

  run.Command("seek 15");
  run.WaitFor([](const ProbeState& p) { return p.Int("position") >= 15; }, 5000);
  ASSERT_TRUE(click("markEndButton")) << s.json;
  // The pair is spent at once and saves; the bar and the chart show it until the save ends.
  s = run.WaitFor([](const ProbeState& p) { return p.Int("saving") == 1; }, 10000);
  ASSERT_EQ(s.Int("saving"), 1) << s.json;
  ShootIfAsked(display.name());
  EXPECT_EQ(s.Str("markStart"), "null");
  EXPECT_EQ(s.Str("markEnd"), "null");
  const std::vector<double> span = Numbers(ProbeField(s.Str("progressMarks"), "span"));
  ticks = Numbers(ProbeField(s.Str("progressMarks"), "ticks"));
  const std::vector<double> band = Numbers(s.Str("chartStretch"));
  ASSERT_TRUE(span.size() == 2 && ticks.size() == 2 && band.size() == 2) << s.json;
  EXPECT_NEAR(span[0], startMs / length, 1e-3) << s.json;
  EXPECT_GT(span[1], 15000 / length - 1e-3) << s.json;
  EXPECT_EQ(ticks, span);
  EXPECT_EQ(band[0], startMs) << s.json;
  EXPECT_NEAR(band[1], span[1] * length, 1.0) << s.json;

  s = run.WaitFor([](const ProbeState& p) { return p.Int("saving") == 0; }, 60000);
  EXPECT_NE(s.Str("notice").find("Stretch saved to: "), std::string::npos) << s.json;
  EXPECT_EQ(s.Str("chartStretch"), "[-1,-1]") << "the saved stretch is no longer shown";
  EXPECT_EQ(ProbeField(s.Str("progressMarks"), "ticks"), "[]") << s.json;
  EXPECT_TRUE(run.Close());
}

}  // namespace
}  // namespace korvane::test
