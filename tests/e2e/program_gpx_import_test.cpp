// The real program given a GPX track for a clip without any telemetry (the generated mixed
// folder's no_gps.mp4, named with its recording time): the track dropped on the window is
// imported for the folder, the user is told one clip got a position, and the clip plays with a
// route and the GPS panel from it, also when the program starts again with its index cache gone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "index/index_reader.h"
#include "program_driver.h"

namespace korvane::test {
namespace {

// Eight seconds heading east through Lisbon from 2026-05-18 07:00:00 UTC, a point a second.
void WriteGpx(const std::filesystem::path& path) {
  std::ofstream gpx(path);
  gpx << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>\n";
  for (int s = 0; s <= 8; ++s) {
    gpx << "<trkpt lat=\"38.7200\" lon=\"" << -9.1400 + s * 0.0004 << "\"><time>2026-05-18T07:00:0"
        << s << "Z</time></trkpt>\n";
  }
  gpx << "</trkseg></trk></gpx>\n";
}

bool ShowsImportedTrack(const ProbeState& p) {
  return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == "21" &&
         Numbers(p.Map("marker")).size() == 2;
}

TEST(ProgramGpxImport, ADroppedTrackFillsAClipWithoutGpsAndIsKeptAcrossARestart) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir folder;
  const std::string clip = folder.str() + "20260518_070001_no_gps.mp4";
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), clip);
  std::filesystem::copy_file(SamplePath("mixed/own_track.mp4"), folder.path() / "own_track.mp4");
  TempDir elsewhere;
  const std::filesystem::path gpx = elsewhere.path() / "phone_log.gpx";
  WriteGpx(gpx);

  ProgramRun run(display.name());
  const std::string db = run.home().str() + ".cache/korvane/index.sqlite";
  ASSERT_TRUE(run.Start({clip}));
  // The index must have found the clip without telemetry before an import may fill it.
  ProbeState s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("state") == 3 && p.Str("indexProgress").empty() &&
               CIndexReader(db).GetClip(clip).status == ClipStatus::NoTelemetry;
      },
      60000);
  ASSERT_EQ(CIndexReader(db).GetClip(clip).status, ClipStatus::NoTelemetry) << s.json;
  EXPECT_EQ(s.Int("gpsValid"), 0) << s.json;

  run.Command("drop " + gpx.string());
  s = run.WaitFor(ShowsImportedTrack, 20000);
  EXPECT_EQ(s.Str("notice"), "GPX imported: 1 clips") << s.json;
  ASSERT_TRUE(ShowsImportedTrack(s)) << s.json;
  EXPECT_NE(s.Str("timeLabel").find("2026-05-18 07:00:0"), std::string::npos) << s.json;
  EXPECT_NE(s.Str("latitudeLabel").find("N 38"), std::string::npos) << s.json;
  if (s.HasChart()) {
    EXPECT_EQ(s.Curves(), std::vector<double>(3, 0.0)) << "no flat G lines";
  }
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], 38.72, 0.01);
  EXPECT_NEAR(marker[1], -9.14, 0.01);
  if (const char* shot = std::getenv("KORVANE_SHOT")) {
    EXPECT_EQ(
        std::system(("DISPLAY=" + display.name() + " import -window root '" + shot + "'").c_str()),
        0);
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

}  // namespace
}  // namespace korvane::test
