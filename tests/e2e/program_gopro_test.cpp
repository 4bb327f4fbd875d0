// The real program playing a clip whose telemetry is an action camera's GPMF track, generated
// from the sample clip without subtitles: the route, the GPS panel, the marker and the three
// acceleration curves come from the track, as the indexer read it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "program_driver.h"
#include "support/gpmf_payload.h"
#include "support/mp4_data_track.h"

namespace korvane::test {
namespace {

constexpr int kSeconds = 6;  // the sample clip's length, ten readings a second

TEST(ProgramGoPro, AClipWithAGpmfTrackPlaysWithRoutePanelMarkerAndCurves) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + "GX010001.MP4";
  DataTrack track;
  for (int i = 0; i < kSeconds; ++i) {
    track.samples.push_back({GpmfCameraSample(GpmfDriveSecond(i)), 1000});
  }
  ASSERT_TRUE(WriteClipWithDataTrack(NoSubtitleClip(), clip, track));

  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  const std::string points = std::to_string(kSeconds * 10);
  ProbeState s = run.WaitFor(
      [&](const ProbeState& p) {
        return PlaysRoute(p, points) && (!p.HasChart() || p.Curves()[0] > 0);
      },
      30000);
  ASSERT_TRUE(PlaysRoute(s, points)) << s.json;
  ExpectFixShown(s, "N 50", "E 30", {50.45, 30.52});
  EXPECT_NE(s.Str("speedLabel").find("36"), std::string::npos) << s.json;
  if (s.HasChart()) {
    const std::vector<double> curves = s.Curves();
    ASSERT_EQ(curves.size(), 3u) << s.json;
    EXPECT_GT(curves[0], 0) << s.json;
    EXPECT_EQ(curves[1], curves[0]) << s.json;
    EXPECT_EQ(curves[2], curves[0]) << s.json;
  }
  ShootIfAsked(display.name());
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
