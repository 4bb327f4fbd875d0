// The real program playing a clip whose only telemetry is its camera's own track in the sample
// table (SigmaStar's `ssmd`, Vueroid's `mp4s`), generated from the mixed folder's clip without
// GPS: the indexer reads the track, and the route, the GPS panel and the marker come from it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "program_driver.h"
#include "support/camera_track_records.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 4;  // the clip's length

class ProgramClipTrack : public testing::TestWithParam<TrackClip> {};

TEST_P(ProgramClipTrack, AClipWithItsCamerasTrackPlaysWithRouteAndGpsPanel) {
  const TrackClip& f = GetParam();
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + f.fileName;
  ASSERT_TRUE(f.write(SamplePath("mixed/no_gps.mp4"), clip, kSeconds));

  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  const std::string points = std::to_string(kSeconds * f.recordsPerSecond);
  ProbeState s = run.WaitFor([&](const ProbeState& p) { return PlaysRoute(p, points); }, 30000);
  ASSERT_TRUE(PlaysRoute(s, points)) << s.json;
  ExpectFixShown(s, "N 50", "E 30", {50.45, 30.52});
  ShootIfAsked(display.name(), "_" + std::string(f.family) + ".png");
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Families, ProgramClipTrack, testing::Values(kSsmdClip, kVueroidClip),
                         [](const auto& info) { return std::string(info.param.family); });

}  // namespace
}  // namespace korvane::test
