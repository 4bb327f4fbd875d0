// The real program on a clip with its own telemetry track (the generated mixed folder's
// own_track.mp4, Shenzhen, camera clock 2026-05-18 08:30:00) in a folder the generated
// phone_log.gpx (Lisbon) is imported for: the clip keeps its own track until the user picks the
// GPX track with the real mouse in the map's corner; it then starts again from where it was, fed
// from the import at its camera times, and goes back to its own track when picked back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "index/index_reader.h"
#include "program_driver.h"

namespace korvane::test {
namespace {

// The choice shown in the map's corner: [shown, the import chosen].
bool ChoiceShown(const ProbeState& p, bool import) {
  return Numbers(p.Map("trackChoice")) == std::vector<double>{1, import ? 1.0 : 0.0} &&
         Numbers(p.Map(import ? "gpxTrackButton" : "cameraTrackButton")).size() == 2;
}

// Plays (or is paused) with a position at `latitude` ("N 38") on the panel and the map's marker
// there too.
bool PlaysFrom(const ProbeState& p, const char* latitude) {
  const std::vector<double> marker = Numbers(p.Map("marker"));
  const int degrees = std::atoi(latitude + 2);
  return (p.Int("state") == 3 || p.Int("state") == 4) && p.Int("gpsValid") == 1 &&
         p.Str("latitudeLabel").find(latitude) != std::string::npos && marker.size() == 2 &&
         static_cast<int>(marker[0]) == degrees;
}

// Clicks the map's button `button` ("gpxTrackButton" or "cameraTrackButton").
void ClickChoice(const std::string& display, const ProbeState& s, const char* button) {
  const std::vector<double> map = Numbers(s.Str("mapRect"));
  const std::vector<double> at = Numbers(s.Map(button));
  ASSERT_EQ(map.size(), 4u) << s.json;
  ASSERT_EQ(at.size(), 2u) << s.json;
  ASSERT_TRUE(XdoTool(
      display, {"mousemove", std::to_string(static_cast<int>(map[0] + at[0])),
                std::to_string(static_cast<int>(map[1] + at[1])), "sleep", "0.2", "click", "1"}));
}

TEST(ProgramTrackChoice, AClipWithItsOwnTrackPlaysFromTheImportOnlyWhileTheUserChoosesIt) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + "own_track.mp4";
  std::filesystem::copy_file(SamplePath("mixed/own_track.mp4"), clip);
  TempDir elsewhere;
  const std::string gpx = elsewhere.str() + "phone_log.gpx";
  std::filesystem::copy_file(SamplePath("phone_log.gpx"), gpx);
  // The camera clock is read as local time; the track's times are UTC.
  const std::vector<std::string> environment{"TZ=UTC"};

  ProgramRun run(display.name());
  const std::string db = run.home().str() + ".cache/korvane/index.sqlite";
  ASSERT_TRUE(run.Start({clip}, environment));
  ProbeState s = run.WaitFor([](const ProbeState& p) { return PlaysFrom(p, "N 22"); }, 30000);
  ASSERT_TRUE(PlaysFrom(s, "N 22")) << s.json;
  // Paused while it is early in the 10 s clip, so the moment it was at is known and it does not
  // end before the choice is made.
  run.Command("click btnPause");
  s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("state") == 4 && p.Str("indexProgress").empty() &&
               CIndexReader(db).GetClip(clip).status == ClipStatus::Indexed;
      },
      60000);
  ASSERT_EQ(CIndexReader(db).GetClip(clip).status, ClipStatus::Indexed) << s.json;
  EXPECT_EQ(Numbers(s.Map("trackChoice")), (std::vector<double>{0, 0})) << "no import yet";

  run.Command("drop " + gpx);
  s = run.WaitFor([](const ProbeState& p) { return ChoiceShown(p, false); }, 20000);
  ASSERT_TRUE(ChoiceShown(s, false)) << s.json;
  EXPECT_EQ(s.Str("notice"), "GPX imported: 0 clips") << "its own track is kept: " << s.json;
  EXPECT_TRUE(PlaysFrom(s, "N 22")) << s.json;

  const double before = s.Num("timePosition");
  ClickChoice(display.name(), s, "gpxTrackButton");
  s = run.WaitFor([](const ProbeState& p) { return ChoiceShown(p, true) && PlaysFrom(p, "N 38"); },
                  20000);
  ASSERT_TRUE(ChoiceShown(s, true)) << s.json;
  ASSERT_TRUE(PlaysFrom(s, "N 38")) << "fed from the import: " << s.json;
  EXPECT_GE(s.Num("timePosition"), before - 0.5) << "started again from where it was: " << s.json;
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 38.70, 0.002) << "the morning stretch at its camera times";
  EXPECT_NEAR(marker[1], -9.15, 1e-4);
  if (s.HasChart()) {
    EXPECT_EQ(s.Str("chartNotice"), "No G-sensor values in this track") << s.json;
  }
  ShootIfAsked(display.name());
  ClickChoice(display.name(), s, "cameraTrackButton");
  s = run.WaitFor([](const ProbeState& p) { return ChoiceShown(p, false) && PlaysFrom(p, "N 22"); },
                  20000);
  EXPECT_TRUE(ChoiceShown(s, false) && PlaysFrom(s, "N 22")) << "its own track again: " << s.json;
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
