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
        return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == points &&
               Numbers(p.Map("marker")).size() == 2 && (!p.HasChart() || p.Curves()[0] > 0);
      },
      30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  EXPECT_EQ(s.Map("points"), points) << s.json;
  EXPECT_EQ(s.Int("gpsValid"), 1) << s.json;
  EXPECT_NE(s.Str("latitudeLabel").find("N 50"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("longitudeLabel").find("E 30"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("speedLabel").find("36"), std::string::npos) << s.json;
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 50.45, 0.01);
  EXPECT_NEAR(marker[1], 30.52, 0.01);
  if (s.HasChart()) {
    const std::vector<double> curves = s.Curves();
    ASSERT_EQ(curves.size(), 3u) << s.json;
    EXPECT_GT(curves[0], 0) << s.json;
    EXPECT_EQ(curves[1], curves[0]) << s.json;
    EXPECT_EQ(curves[2], curves[0]) << s.json;
  }
  if (const char* shot = std::getenv("KORVANE_SHOT")) {
    EXPECT_EQ(
        std::system(("DISPLAY=" + display.name() + " import -window root '" + shot + "'").c_str()),
        0);
  }
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
