// The headless export of the real program: no display, beside a running window (the instance
// lock held), the settings' TimeZone, and one clear line for each way it can fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "headless_program.h"
#include "support/command_output.h"
#include "telemetry/track_import_store.h"

namespace korvane {
namespace {

class HeadlessExport : public test::HeadlessProgram {};

TEST_F(HeadlessExport, WritesEveryCueOfTheClipInUtcWithoutADisplay) {
  SetTimeZone("+08:00");
  const std::string out = home_.str() + "drive.gpx";
  const test::HeadlessRun run = Korvane({"--export", "gpx", test::DefaultClip(), out});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  // The only line: where the telemetry came from, in words.
  EXPECT_EQ(run.out, "korvane: 1 clip read from Camera subtitle track\n");
  // gpsbabel's reading: 600 points, the camera's 08:30 at +08:00 being 00:30 UTC.
  const std::string points =
      test::CommandOutput("gpsbabel -t -i gpx -f '" + out + "' -o unicsv,utc=0 -F - | tail -n +2");
  EXPECT_EQ(std::count(points.begin(), points.end(), '\n'), 600);
  EXPECT_NE(points.find("2026/05/18,00:30:00"), std::string::npos) << points.substr(0, 300);
  EXPECT_NE(points.find("2026/05/18,00:30:59"), std::string::npos);
}

TEST_F(HeadlessExport, GarbageTimeZoneFallsBackToLocalWithALogLine) {
  SetTimeZone("+25:99 Mars");
  env_.Set("TZ", "UTC");
  const std::string out = home_.str() + "drive.csv";
  const test::HeadlessRun run = Korvane({"--export", "csv", test::DefaultClip(), out});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("TimeZone \"+25:99 Mars\""), std::string::npos) << run.out;
  EXPECT_NE(test::ReadFileText(out).find(",2026-05-18T08:30:00Z,"), std::string::npos);
}

// A clip without telemetry in a folder the generated phone_log.gpx was imported for (named as
// recorded from 23:59:58, the track's night stretch) is exported from the track: its 21 moments
// at 200 ms in the track's UTC, whatever the camera's zone, and no G values.
TEST_F(HeadlessExport, AClipThatPlaysFromTheFoldersImportedTrackIsExportedFromIt) {
  SetTimeZone("+08:00");
  const std::string folder = home_.str() + "card/";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(test::SamplePath("mixed/no_gps.mp4"),
                             folder + "20260518_235958_no_gps.mp4");
  std::string error;
  ASSERT_TRUE(StoreFolderImport(home_.str() + "Documents/KORVANE", folder,
                                test::SamplePath("phone_log.gpx"), error))
      << error;
  const std::string out = home_.str() + "drive.csv";
  const test::HeadlessRun run = Korvane({"--export", "csv", folder, out});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const std::string csv = test::ReadFileText(out);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 21) << csv;
  EXPECT_NE(csv.find(",0,2026-05-18T23:59:58Z,38.7200000,-9.1384000,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",4000,2026-05-19T00:00:02Z,38.7200000,-9.1376000,"), std::string::npos);
  std::size_t withoutG = 0;
  for (std::size_t at = 0; (at = csv.find(",,,\n", at)) != std::string::npos; ++at) ++withoutG;
  EXPECT_EQ(withoutG, 21u) << "no G values: " << csv;
}

TEST_F(HeadlessExport, HelpListsTheExport) {
  const test::HeadlessRun run = Korvane({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("--export gpx|kml|csv"), std::string::npos) << run.out;
}

// Each failure: a non-zero exit, one line that says why, and no output file.
TEST_F(HeadlessExport, FailsWithOneClearLine) {
  test::TempDir folder;
  const std::string out = home_.str() + "out.kml";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    const char* says;
  };
  const std::vector<Case> cases = {
      {{"--export", "shp", test::DefaultClip(), out}, 2, "unknown export format"},
      {{"--export", "kml", test::DefaultClip()}, 2, "--export needs"},
      {{"--export", "kml", home_.str() + "missing.mp4", out}, 1, "no such clip or folder"},
      {{"--export", "kml", folder.str(), out}, 1, "no telemetry"},
      {{"--export", "kml", test::NoSubtitleClip(), out}, 1, "no telemetry"},
      // An output that cannot be written tells its cause in the code (3 disk full, 4 not
      // allowed, 5 any other), so the window that ran the export can say why.
      {{"--export", "kml", test::DefaultClip(), home_.str() + "none/out.kml"}, 5, "cannot write"},
      {{"--export", "kml", test::DefaultClip(), "/proc/out.kml"}, 5, "cannot write"},
  };
  for (const Case& c : cases) {
    const test::HeadlessRun run = Korvane(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args[1] << " " << run.out;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(out)) << c.says;
  }
}

}  // namespace
}  // namespace korvane
