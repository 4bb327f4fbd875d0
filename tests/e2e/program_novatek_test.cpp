// The real program playing a clip whose telemetry is the Novatek family's GPS records, in an MP4
// (blocks listed by a `gps ` index) and in a TS (a private stream among the video's packets),
// generated from the sample clip without subtitles: route, GPS panel and marker from them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "program_driver.h"
#include "support/freegps_clip.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 6;  // the sample clip's length, a record a second

struct NovatekClip {
  const char* name;
  const char* file;
  std::function<bool(const std::string&, const std::string&, const std::vector<BlockFix>&)> write;
};

class ProgramNovatek : public testing::TestWithParam<NovatekClip> {};

TEST_P(ProgramNovatek, AClipWithGpsRecordsPlaysWithRoutePanelAndMarker) {
  const NovatekClip& c = GetParam();
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + c.file;
  std::vector<BlockFix> fixes;
  for (int i = 0; i < kSeconds; ++i) fixes.push_back(DriveFix(BlockFix{}, i));
  ASSERT_TRUE(c.write(NoSubtitleClip(), clip, fixes));

  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  const std::string points = std::to_string(kSeconds);
  ProbeState s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == points &&
               Numbers(p.Map("marker")).size() == 2;
      },
      30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  EXPECT_EQ(s.Map("points"), points) << s.json;
  EXPECT_NE(s.Str("latitudeLabel").find("N 50"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("longitudeLabel").find("E 30"), std::string::npos) << s.json;
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 50.45, 0.01);
  EXPECT_NEAR(marker[1], 30.52, 0.01);
  if (const char* shot = std::getenv("KORVANE_SHOT")) {
    const std::string path = std::string(shot) + c.name + ".png";
    EXPECT_EQ(
        std::system(("DISPLAY=" + display.name() + " import -window root '" + path + "'").c_str()),
        0);
  }
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ProgramNovatek,
                         testing::Values(NovatekClip{"Mp4", "NOVATEK.MP4", WriteFreeGpsClip},
                                         NovatekClip{"Ts", "2026_0518_083000_F.TS",
                                                     WriteFreeGpsTs}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::test
