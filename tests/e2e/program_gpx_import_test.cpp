// The real program given a GPX track for a clip without any telemetry (the generated mixed
// folder's no_gps.mp4, named with a recording time the generated phone_log.gpx covers, across
// midnight): the track dropped on the window, or chosen with the trips window's button in the
// real file dialog, is imported for the folder, the user is told one clip got a position, the clip
// plays with a route and the GPS panel from it and makes a trip of its own, and it plays from the
// import also when the program starts again with its index cache gone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "index/index_reader.h"
#include "program_driver.h"

namespace korvane::test {
namespace {

// no_gps.mp4 (4 s) named as recorded from 23:59:58 UTC: it ends two seconds into the next day.
constexpr char kNightClipName[] = "20260518_235958_no_gps.mp4";

// The moment shown lies in the clip's range on either side of midnight.
bool ShowsNightMoment(const ProbeState& p) {
  const std::string time = p.Str("timeLabel");
  return time.find("2026-05-18 23:59:5") != std::string::npos ||
         time.find("2026-05-19 00:00:0") != std::string::npos;
}

bool ShowsImportedTrack(const ProbeState& p) {
  return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == "21" &&
         Numbers(p.Map("marker")).size() == 2;
}

// Where in the trips window (skin "Trips.xml") a row's middle lies: the 46 px title bar, the
// list's 12 px inset and its 32 px header, then 30 px rows.
constexpr int kRowX = 200;
constexpr int kFirstRowY = 1 + 46 + 12 + 32 + 15;
constexpr int kRowHeight = 30;

// Clicks the main window's Trips button and waits for the trips window.
bool OpenTrips(const std::string& display, const ProbeState& s) {
  const std::vector<double> button = Numbers(s.Str("tripsButton"));
  return button.size() == 4 &&
         XdoTool(display,
                 {"mousemove", std::to_string((button[0] + button[2]) / 2),
                  std::to_string((button[1] + button[3]) / 2), "sleep", "0.2", "click", "1"}) &&
         XdoTool(display, {"search", "--sync", "--name", "^TripsWnd$", "sleep", "0.5"});
}

// Waits until the program plays `clip` and the index has found it without telemetry, which it
// must have before an import may fill it, with the Trips button in place.
ProbeState WaitForClipWithoutTelemetry(ProgramRun& run, const std::string& db,
                                       const std::string& clip) {
  return run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("state") == 3 && p.Str("indexProgress").empty() &&
               Numbers(p.Str("tripsButton")).size() == 4 &&
               CIndexReader(db).GetClip(clip).status == ClipStatus::NoTelemetry;
      },
      60000);
}

TEST(ProgramGpxImport, ADroppedTrackFillsAClipWithoutGpsAndIsKeptAcrossARestart) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + kNightClipName;
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), clip);
  std::filesystem::copy_file(SamplePath("mixed/own_track.mp4"), folder.path() / "own_track.mp4");
  TempDir elsewhere;
  const std::filesystem::path gpx = elsewhere.path() / "phone_log.gpx";
  std::filesystem::copy_file(SamplePath("phone_log.gpx"), gpx);

  ProgramRun run(display.name());
  const std::string db = run.home().str() + ".cache/korvane/index.sqlite";
  ASSERT_TRUE(run.Start({clip}));
  ProbeState s = WaitForClipWithoutTelemetry(run, db, clip);
  ASSERT_EQ(CIndexReader(db).GetClip(clip).status, ClipStatus::NoTelemetry) << s.json;
  EXPECT_EQ(s.Int("gpsValid"), 0) << s.json;

  run.Command("drop " + gpx.string());
  s = run.WaitFor(ShowsImportedTrack, 20000);
  EXPECT_EQ(s.Str("notice"), "GPX imported: 1 clips") << s.json;
  ASSERT_TRUE(ShowsImportedTrack(s)) << s.json;
  EXPECT_TRUE(ShowsNightMoment(s)) << s.json;
  EXPECT_NE(s.Str("latitudeLabel").find("N 38"), std::string::npos) << s.json;
  if (s.HasChart()) {
    EXPECT_EQ(s.Curves(), std::vector<double>(3, 0.0)) << "no flat G lines";
    // The player stopped for the restart answers after it, and must not take the notice away.
    EXPECT_EQ(s.Str("chartNotice"), "No G-sensor values in this track") << s.json;
  }
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 38.72, 0.01);
  EXPECT_NEAR(marker[1], -9.14, 0.01);
  ShootIfAsked(display.name());
  // The clip now makes a trip of its own after own_track.mp4's morning one: each row of the trips
  // window plays its trip's one clip.
  const std::string own = folder.str() + "own_track.mp4";
  for (const auto& [row, played] : {std::pair{0, own}, std::pair{1, clip}}) {
    ASSERT_TRUE(OpenTrips(display.name(), s)) << s.json;
    ASSERT_TRUE(XdoTool(display.name(),
                        {"search", "--sync", "--name", "^TripsWnd$", "mousemove", "--window", "%1",
                         std::to_string(kRowX), std::to_string(kFirstRowY + row * kRowHeight),
                         "sleep", "0.3", "click", "--repeat", "2", "--delay", "80", "1"}));
    s = run.WaitFor(
        [&](const ProbeState& p) {
          return p.Int("entries") == 1 && p.Str("current") == played && p.Int("state") == 3;
        },
        30000);
    ASSERT_EQ(s.Str("current"), played) << "trip " << row << ": " << s.json;
  }
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);

  // Started again with the cache deleted and the dropped file gone: the import is in the data
  // folder. Once the clip is indexed again, the next start plays it from the import at once.
  std::filesystem::remove(gpx);
  std::filesystem::remove_all(run.home().path() / ".cache");
  ASSERT_TRUE(run.Start({clip}));
  s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Str("indexProgress").empty() &&
               CIndexReader(db).GetClip(clip).status == ClipStatus::NoTelemetry;
      },
      60000);
  ASSERT_EQ(CIndexReader(db).GetClip(clip).status, ClipStatus::NoTelemetry) << s.json;
  ASSERT_TRUE(run.Close());
  ASSERT_TRUE(run.Start({clip}));
  s = run.WaitFor(ShowsImportedTrack, 30000);
  EXPECT_TRUE(ShowsImportedTrack(s)) << s.json;
  EXPECT_EQ(s.Str("notice"), "") << "nothing imported in this run";
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

// Where in the trips window (skin "Trips.xml", 860 x 480) the import button's middle lies: the
// 220 px button right-aligned 18 px from the edge in the 44 px bar at the bottom.
constexpr int kImportButtonX = 860 - 1 - 18 - 110;
constexpr int kImportButtonY = 480 - 1 - 22;

// The same track, chosen with the trips window's button in the real file dialog (typed there as a
// user would), takes the drop's route: the same notice, and the clip on screen starts again from
// it.
TEST(ProgramGpxImport, TheTripsWindowsButtonImportsTheTrackChosenInTheFileDialog) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + kNightClipName;
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), clip);
  TempDir elsewhere;
  const std::string gpx = elsewhere.str() + "phone_log.gpx";
  std::filesystem::copy_file(SamplePath("phone_log.gpx"), gpx);

  ProgramRun run(display.name());
  const std::string db = run.home().str() + ".cache/korvane/index.sqlite";
  ASSERT_TRUE(run.Start({clip}));
  ProbeState s = WaitForClipWithoutTelemetry(run, db, clip);
  ASSERT_EQ(CIndexReader(db).GetClip(clip).status, ClipStatus::NoTelemetry) << s.json;
  EXPECT_EQ(s.Int("gpsValid"), 0) << s.json;

  ASSERT_TRUE(OpenTrips(display.name(), s)) << s.json;
  ShootIfAsked(display.name());
  ASSERT_TRUE(
      XdoTool(display.name(), {"search", "--sync", "--name", "^TripsWnd$", "mousemove", "--window",
                               "%1", std::to_string(kImportButtonX), std::to_string(kImportButtonY),
                               "sleep", "0.3", "click", "1"}));
  // The dialog, titled with the button's text, takes the path typed into its name field.
  ASSERT_TRUE(XdoTool(display.name(), {"search", "--sync", "--name", "^Import GPX track", "sleep",
                                       "0.5", "type", "--delay", "20", gpx}));
  ASSERT_TRUE(XdoTool(display.name(), {"sleep", "0.3", "key", "Return"}));

  s = run.WaitFor(ShowsImportedTrack, 20000);
  EXPECT_EQ(s.Str("notice"), "GPX imported: 1 clips") << s.json;
  ASSERT_TRUE(ShowsImportedTrack(s)) << s.json;
  EXPECT_TRUE(ShowsNightMoment(s)) << s.json;
  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
