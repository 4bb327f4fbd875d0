// The window's export: the choices of the save dialog, and the real program run in the
// background with its end posted to the window.
#include "tracks/track_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "export/export_job.h"
#include "platform/recording_dispatcher.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

TEST(ExportChoice, OffersEachFormatForTheClipThenForItsFolder) {
  const std::string clip = "/card/DCIM 1/0001_F.mp4";
  struct Case {
    int filter;
    const char* suggested;
    std::vector<std::string> args;
  };
  for (const Case& c : std::vector<Case>{
           {0, "/card/DCIM 1/0001_F.gpx", {"--export", "gpx", clip, "/o"}},
           {2, "/card/DCIM 1/0001_F.csv", {"--export", "csv", clip, "/o"}},
           {4, "/card/DCIM 1/DCIM 1.kml", {"--export", "kml", "/card/DCIM 1/", "/o"}},
           {9, "/card/DCIM 1/0001_F.gpx", {"--export", "gpx", clip, "/o"}},
       }) {
    const ExportTarget target = ExportTargetAt(c.filter);
    EXPECT_EQ(SuggestedExportPath(target, clip), c.suggested) << c.filter;
    EXPECT_EQ(ExportArguments(target, clip, "/o"), c.args) << c.filter;
  }
}

class TrackExportRun : public testing::Test {
 protected:
  void SetUp() override {
    SetWindowMessageDispatcher(&dispatcher_);
    env_.Set("XDG_CACHE_HOME", dir_.str() + "cache");
    env_.Set("HOME", dir_.str());
  }
  void TearDown() override { SetWindowMessageDispatcher(nullptr); }

  ExportOutcome RunToEnd(const ExportTarget& target, const std::string& clip,
                         const std::string& output,
                         const std::string& program = test::ProgramDir() + "korvane") {
    CTrackExport exporter(program, 7, kDone);
    EXPECT_TRUE(exporter.Start(ExportArguments(target, clip, output), output));
    EXPECT_FALSE(exporter.Start(ExportArguments(target, clip, output), output)) << "one at a time";
    EXPECT_TRUE(dispatcher_.WaitForMessage(kDone, std::chrono::seconds(60)));
    return exporter.outcome();
  }

  static constexpr std::uint32_t kDone = WM_USER + 14;
  RecordingDispatcher dispatcher_;
  test::TempDir dir_;
  test::ScopedEnv env_;
};

TEST_F(TrackExportRun, WritesTheFileAndPostsItsEnd) {
  const ExportOutcome done =
      RunToEnd({ExportFormat::Kml, false}, test::CuesClip(5), dir_.str() + "t.kml");
  EXPECT_EQ(done.exitCode, 0) << done.message;
  EXPECT_EQ(done.message, "");
  EXPECT_TRUE(std::filesystem::exists(dir_.str() + "t.kml"));
}

TEST_F(TrackExportRun, AFailureGivesTheLineThatSaysWhy) {
  const ExportOutcome failed =
      RunToEnd({ExportFormat::Gpx, false}, test::NoSubtitleClip(), dir_.str() + "t.gpx");
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_NE(failed.message.find("no telemetry"), std::string::npos) << failed.message;
}

TEST_F(TrackExportRun, AnExportOnAFullDiskEndsWithTheCauseAndKeepsThePreviousFile) {
  const std::string output = dir_.str() + "t.gpx";
  const std::string clip = test::CuesClip(640);
  // Indexed once beforehand, so the limited run only writes the track.
  const std::string program = test::ProgramDir() + "korvane";
  ASSERT_EQ(
      std::system(
          ("'" + program + "' --export gpx '" + clip + "' '" + output + "' 2>/dev/null").c_str()),
      0);
  test::WriteFileText(output, "the previous export\n");
  // The program under a file-size limit its track overflows, which fails the write as a full
  // disk does (the ignored signal is kept across exec).
  const std::string limited = dir_.str() + "limited.sh";
  test::WriteFileText(limited, "#!/bin/sh\ntrap '' XFSZ\nexec /usr/bin/prlimit --fsize=65536 '" +
                                   program + "' \"$@\"\n");
  chmod(limited.c_str(), 0755);
  const ExportOutcome full = RunToEnd({ExportFormat::Gpx, false}, clip, output, limited);
  EXPECT_EQ(WriteFailureOfExportExit(full.exitCode), WriteFailure::DiskFull)
      << full.exitCode << " " << full.message;
  EXPECT_EQ(test::ReadFileText(output), "the previous export\n");
  EXPECT_EQ(WriteFailureOfExportExit(0), std::nullopt);
  EXPECT_EQ(WriteFailureOfExportExit(1), std::nullopt) << "a failure of another kind";
}

}  // namespace
}  // namespace korvane
