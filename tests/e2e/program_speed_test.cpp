// Speed on the map in the real program: the sample clip's route is coloured by speed with its
// legend, and a settings file that asks for miles per hour gets them in the GPS panel, the legend
// and the route's tooltip (hovered with the real pointer on the test's own Xvfb).
#include <gtest/gtest.h>

#include <cmath>

#include "program_driver.h"

namespace korvane::test {
namespace {

TEST(ProgramSpeed, MilesPerHourFromTheSettingsFileReachPanelLegendAndTooltip) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  ProgramRun run(display.name());
  const std::filesystem::path data = run.home().path() / "Documents/KORVANE";
  std::filesystem::create_directories(data / "conf");
  std::ofstream(data / "conf/Velmora.ini")
      << "[MPlayer]\nLanguage=english.ini\nVO=directx:noaccel\nAO=dsound\nSSPreview=0\n"
         "CleanTip=1\nAssociate=MP4\nFilter=*.mp4\nSpeedUnit=mph\n";
  ASSERT_TRUE(run.Start({DefaultClip()}));
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        const std::vector<double> nav = Numbers(p.Str("nav"));
        return p.Int("gpsValid") == 1 && nav.size() == 3 && nav[1] == 1 &&
               p.Map("points") == std::to_string(static_cast<long>(nav[0])) &&
               p.Map("channel") == "1" && !p.Map("legend").empty();
      },
      30000);
  ASSERT_EQ(s.Map("channel"), "1") << s.json;
  EXPECT_TRUE(s.Str("speedLabel").ends_with(" mph")) << s.Str("speedLabel");
  EXPECT_EQ(s.Map("unit"), "mph");
  EXPECT_EQ(s.Map("legend"), "Speed (mph)05203045557080+");
  // The sample pulls away and cruises at 56 +- 14 km/h: several bands along its route.
  EXPECT_GE(std::stol(s.Map("colourRuns")), 3) << s.json;

  run.Command("maptarget 0.5");
  s = run.WaitFor([](const ProbeState& p) { return Numbers(p.Str("mapTarget")).size() == 3; },
                  5000);
  const std::vector<double> target = Numbers(s.Str("mapTarget"));
  ASSERT_EQ(target.size(), 3u) << s.json;
  // From beside the point onto it, so the page sees the pointer move even on a loaded machine.
  for (int attempt = 0; attempt < 3 && s.Map("tip").empty(); ++attempt) {
    for (const long d : {12L, 0L}) {
      ASSERT_TRUE(XdoTool(display.name(), {"mousemove", std::to_string(std::lround(target[0]) + d),
                                           std::to_string(std::lround(target[1]) + d)}));
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    s = run.WaitFor([](const ProbeState& p) { return !p.Map("tip").empty(); }, 4000);
  }
  EXPECT_TRUE(s.Map("tip").ends_with(" mph")) << s.Map("tip") << s.json;
  EXPECT_TRUE(run.Close());
}

}  // namespace
}  // namespace korvane::test
