// The real program playing a generated Thinkware clip (a `tx3g` track of gsensori and RMC cues
// added to the mixed folder's clip without GPS): read by the indexer, not through the
// extraction pipeline, it plays from its points with route, GPS panel, marker and G chart,
// whether the index read it before the start or reads it as it starts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "program_driver.h"
#include "support/dashcam_track_bytes.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 4;  // the clip's length

class ProgramThinkware : public testing::TestWithParam<bool> {};

TEST_P(ProgramThinkware, AThinkwareClipPlaysWithRouteGpsPanelAndMarker) {
  const bool indexedBefore = GetParam();
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + "REC_2026_06_02_04_16_00_F.MP4";
  ASSERT_TRUE(
      WriteClipWithDataTrack(SamplePath("mixed/no_gps.mp4"), clip, ThinkwareDataTrack(kSeconds)));

  ProgramRun run(display.name());
  if (indexedBefore) {
    const std::filesystem::path cache = run.home().path() / ".cache/korvane";
    std::filesystem::create_directories(cache);
    ASSERT_EQ(std::system((ProgramDir() + "korvane-indexer --db '" +
                           (cache / "index.sqlite").string() + "' '" + clip + "' >/dev/null")
                              .c_str()),
              0);
  }
  ASSERT_TRUE(run.Start({clip}));
  const std::string points = std::to_string(kSeconds);
  const std::vector<double> curves(3, kSeconds);
  ProbeState s = run.WaitFor(
      [&](const ProbeState& p) {
        return PlaysRoute(p, points) && (!p.HasChart() || p.Curves() == curves);
      },
      30000);
  ASSERT_TRUE(PlaysRoute(s, points)) << s.json;
  ExpectFixShown(s, "N 50", "E 30", {DriveLatitude(0), DriveLongitude(0)});
  // The accelerometer's readings are G values, which the chart draws; a clip read as it starts
  // plays through the subtitle poll first, whose late answers must not wipe them.
  if (s.HasChart()) {
    EXPECT_EQ(s.Curves(), curves) << s.json;
    EXPECT_EQ(s.Str("chartNotice"), "") << s.json;
  }
  ShootIfAsked(display.name());
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Index, ProgramThinkware, testing::Values(false, true),
                         [](const auto& info) {
                           return std::string(info.param ? "IndexedBefore" : "ReadAtStart");
                         });

}  // namespace
}  // namespace korvane::test
