// The headless save of the real program: no display, beside a running window, a stretch named by
// a clip offset and a camera time, and its exit codes as --export has them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "headless_program.h"
#include "support/command_output.h"

namespace korvane {
namespace {

class HeadlessSave : public test::HeadlessProgram {};

TEST_F(HeadlessSave, SavesAStretchFromAClipOffsetToACameraTimeWithTheGpxBeside) {
  const std::string clip = test::SamplePath("dualcard/REC_2026_05_18_08_30_00_F.mp4");
  const std::string out = home_.str() + "incident.mp4";
  const test::HeadlessRun run =
      Korvane({"--save", clip, "--from", clip + "@00:00:15", "--to", "2026-05-18T08:30:25", out});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("camera time 2026-05-18 08:30:15.000 to 08:30:25.000"), std::string::npos)
      << run.out;
  EXPECT_TRUE(std::filesystem::exists(home_.str() + "incident.gpx"));
  EXPECT_EQ(test::CommandOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                                out + "'"),
            "video\nvideo\naudio\nsubtitle\n");
}

TEST_F(HeadlessSave, AStretchThatCannotBeSavedExitsOneAndBadUsageTwo) {
  const std::string card = test::SamplePath("dualcard/");
  const std::string out = home_.str() + "incident.mp4";
  const test::HeadlessRun reversed = Korvane(
      {"--save", card, "--from", "2026-05-18T08:30:25", "--to", "2026-05-18T08:30:15", out});
  EXPECT_EQ(reversed.exitCode, 1) << reversed.out;
  EXPECT_EQ(reversed.out, "korvane: save failed: the stretch ends before it starts\n");
  const test::HeadlessRun bad = Korvane({"--save", card, "--from", "08:30", "--to", "x@1", out});
  EXPECT_EQ(bad.exitCode, 2) << bad.out;
  for (const auto& entry : std::filesystem::directory_iterator(home_.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("incident")) << entry.path();
  }
}

}  // namespace
}  // namespace korvane
