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
  ProbeState s = run.WaitFor([&](const ProbeState& p) { return PlaysRoute(p, points); }, 30000);
  ASSERT_TRUE(PlaysRoute(s, points)) << s.json;
  ExpectFixShown(s, "N 50", "E 30", {50.45, 30.52});
  ShootIfAsked(display.name(), std::string(c.name) + ".png");
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
