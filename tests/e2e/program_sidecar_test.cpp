// The real program playing a clip that has no telemetry track, only a GPS log beside it (the
// generated mixed folder, copied under a name with a space): the route, the GPS panel and the
// marker come from the log, the chart says there are no G values, and a click on the route with
// the real pointer (xdotool) moves the panel there without the subtitle poll resetting anything.
#include <gtest/gtest.h>

#include <cmath>

#include "index/clip_file.h"
#include "index/index_reader.h"
#include "index/index_writer.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "program_driver.h"

namespace korvane::test {
namespace {

TEST(ProgramSidecar, AClipWithOnlyAGpsLogPlaysWithRouteGpsPanelAndANoGNotice) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  if (!std::filesystem::exists("/usr/bin/xdotool")) GTEST_SKIP() << "xdotool is missing";
  TempDir folder;
  for (const char* name : {"own_track.mp4", "sidecar_only.mp4", "no_gps.mp4"}) {
    std::filesystem::copy_file(SamplePath(std::string("mixed/") + name),
                               folder.path() / (std::string("Drive ") + name));
  }
  std::filesystem::copy_file(SamplePath("mixed/sidecar_only.nmea"),
                             folder.path() / "Drive sidecar_only.nmea");
  const std::string clip = folder.str() + "Drive sidecar_only.mp4";

  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({clip}));
  // The log's 190 fixes make the route at once; the whole track is there to seek in.
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        const std::vector<double> nav = Numbers(p.Str("nav"));
        return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == "190" &&
               nav.size() == 3 && nav[0] == 190 && nav[1] == 1 && p.Map("channel") == "1" &&
               Numbers(p.Map("marker")).size() == 2;
      },
      30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  EXPECT_EQ(s.Map("points"), "190") << s.json;
  EXPECT_EQ(s.Int("gpsValid"), 1) << s.json;
  EXPECT_NE(s.Str("timeLabel").find("2026-05-18 06:30:"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("latitudeLabel").find("N 38"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("longitudeLabel").find("W 9"), std::string::npos) << s.json;
  if (s.HasChart()) {
    EXPECT_EQ(s.Str("chartNotice"), "No G-sensor values in this track") << s.json;
    EXPECT_EQ(s.Curves(), std::vector<double>(3, 0.0)) << "no flat lines";
  }
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 38.72, 0.01);
  EXPECT_NEAR(marker[1], -9.14, 0.01);

  // Paused, the route clicked half way along: the player, the panel and the marker go to that
  // moment; played on, route and notice stay, as no "no subtitle" answer comes to reset them.
  run.Command("click btnPause");
  s = run.WaitFor([](const ProbeState& p) { return p.Int("state") == 4; }, 5000);
  ASSERT_EQ(s.Int("state"), 4) << s.json;
  run.Command("maptarget 0.5");
  s = run.WaitFor([](const ProbeState& p) { return Numbers(p.Str("mapTarget")).size() == 3; },
                  5000);
  const std::vector<double> target = Numbers(s.Str("mapTarget"));
  ASSERT_EQ(target.size(), 3u) << s.json;
  ASSERT_TRUE(XdoTool(display.name(), {"mousemove", std::to_string(std::lround(target[0])),
                                       std::to_string(std::lround(target[1]))}));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  ASSERT_TRUE(XdoTool(display.name(), {"click", "1"}));
  char moment[32];
  std::snprintf(moment, sizeof moment, "06:30:%02d", static_cast<int>(target[2]) / 1000);
  s = run.WaitFor([&](const ProbeState& p) { return p.Str("timeLabel").ends_with(moment); }, 5000);
  EXPECT_TRUE(s.Str("timeLabel").ends_with(moment)) << moment << " " << s.json;
  EXPECT_EQ(s.Int("gpsValid"), 1) << s.json;
  EXPECT_EQ(s.Int("state"), 4) << "a click keeps the pause";

  run.Command("click btnPlay");
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));  // two polls
  s = run.Read();
  EXPECT_EQ(s.Int("state"), 3) << s.json;
  EXPECT_EQ(s.Map("points"), "190") << s.json;
  if (s.HasChart()) {
    EXPECT_NE(s.Str("chartNotice"), "") << s.json;
  }
  EXPECT_EQ(s.Int("gpsValid"), 1) << s.json;

  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

// A clip whose index row names a source this program has no reader for, with that source's traits
// (G values, the camera's clock, inside the clip, not through the pipeline) and 10 Hz points: the
// window plays it from the points with route, panel, marker and curves, knowing nothing of it.
TEST(ProgramSidecar, AClipReadFromASourceTheWindowDoesNotKnowPlaysFromItsIndexedPoints) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + "box clip.mp4";
  std::filesystem::copy_file(SamplePath("mixed/sidecar_only.mp4"), clip);
  std::vector<IndexPoint> points;
  for (int i = 0; i < 200; ++i) {
    points.push_back({i * 100, 1779093000000LL + i * 100, 48.85 + i * 1e-5, 2.35, 50.0f,
                      0.2f * static_cast<float>(std::sin(i / 5.0)), 0.0f, 1.0f, 35.0f + i * 0.1f});
  }
  ClipSummary row;
  row.path = clip;
  row.status = ClipStatus::Indexed;
  row.source = "box9";
  row.traits = {true, SourceClock::Camera, true, false};
  row.durationMs = 20'000;
  std::string reason;
  ASSERT_TRUE(ReadFileFacts(clip, row, reason)) << reason;
  SummarizeTrack(points, row);

  ProgramRun run(display.name());
  const std::string index = run.home().str() + ".cache/korvane/index.sqlite";
  std::filesystem::create_directories(run.home().path() / ".cache/korvane");
  ASSERT_EQ(CIndexWriter(index).Store(row, points, SimplifyOverview(points)), "");
  ASSERT_TRUE(run.Start({clip}));
  ProbeState s = run.WaitFor(
      [](const ProbeState& p) {
        return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == "200" &&
               Numbers(p.Map("marker")).size() == 2 &&
               (!p.HasChart() || (p.Curves().size() == 3 && p.Curves()[0] > 0));
      },
      30000);
  ASSERT_EQ(s.Int("state"), 3) << s.json;
  EXPECT_EQ(s.Map("points"), "200") << s.json;
  EXPECT_NE(s.Str("timeLabel").find("2026-05-18 08:30:"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("latitudeLabel").find("N 48"), std::string::npos) << s.json;
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 48.85, 0.01);
  if (s.HasChart()) {
    EXPECT_EQ(s.Str("chartNotice"), "") << s.json;
    const std::vector<double> curves = s.Curves();
    ASSERT_EQ(curves.size(), 3u) << s.json;
    EXPECT_GT(curves[0], 0) << s.json;
  }
  EXPECT_EQ(CIndexReader(index).GetClip(clip).source, "box9") << "not read again";
  ASSERT_TRUE(run.Close());
}

}  // namespace
}  // namespace korvane::test
