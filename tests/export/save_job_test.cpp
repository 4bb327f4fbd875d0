// Saving a stretch with the real ffmpeg: two channels of a two-camera card across the seam of two
// clips, read back with ffprobe and the player's own line reader; and the stretches and outputs
// that cannot be saved leave nothing behind.
#include "export/save_job.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "export/save_command.h"
#include "support/command_output.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "support/video_packets.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {
namespace {

std::string DualCard() {
  return test::SamplePath("dualcard/");
}

std::vector<std::string> DualCardClips() {
  std::vector<std::string> clips;
  for (const auto& entry : std::filesystem::directory_iterator(DualCard())) {
    if (entry.path().extension() == ".mp4") clips.push_back(entry.path().string());
  }
  std::sort(clips.begin(), clips.end());
  return clips;
}

class SaveJob : public testing::Test {
 protected:
  SaveResult Save(const char* from, const char* to, std::string output = {},
                  std::vector<std::string> clips = DualCardClips()) {
    SaveRequest request;
    request.clips = std::move(clips);
    request.from = *ParseStretchTime(from);
    request.to = *ParseStretchTime(to);
    // A name ending in "/" is a folder the job names the file in.
    if (!output.empty() && output.back() == '/') {
      request.outputFolder = output;
    } else {
      request.outputPath = output.empty() ? dir_.str() + "saved.mp4" : output;
    }
    request.ffmpegProgram = "/usr/bin/ffmpeg";
    request.ffprobeProgram = "/usr/bin/ffprobe";
    request.zone = CameraTimeZone{false, 0};
    request.cancel = &cancel_;
    CClipPoints source(dir_.str() + "index.sqlite", test::ProgramDir() + "korvane-indexer");
    return RunSave(request, source);
  }
  // Everything in the output folder but the index.
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("index.sqlite", 0) != 0) names.push_back(name);
    }
    return names;
  }
  test::TempDir dir_;
  std::atomic<bool> cancel_{false};
};

TEST_F(SaveJob, JoinsBothChannelsAcrossTheSeamWithTheTrackReadableByThePlayer) {
  const SaveResult result = Save("2026-05-18T08:30:10", "2026-05-18T08:30:30");
  ASSERT_EQ(result.error, "");
  EXPECT_NE(result.comment.find("camera time 2026-05-18 08:30:10.000 to 08:30:30.000"),
            std::string::npos)
      << result.comment;
  const std::string mp4 = dir_.str() + "saved.mp4";
  EXPECT_EQ(result.gpxPath, dir_.str() + "saved.gpx");
  EXPECT_NE(test::ReadFileText(result.gpxPath).find("<trkpt"), std::string::npos);

  const std::string streams = test::CommandOutput(
      "ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 '" + mp4 + "'");
  EXPECT_EQ(streams, "h264,video\nh264,video\naac,audio\nmov_text,subtitle\n");
  const std::string comment = test::CommandOutput(
      "ffprobe -v error -show_entries format_tags=comment -of csv=p=0 '" + mp4 + "'");
  EXPECT_NE(comment.find("08:30:10"), std::string::npos) << comment;

  // No gap and no repeated frame at the seam: the main channel's frames step evenly.
  const std::vector<double> pts = test::VideoPacketTimes(mp4);
  ASSERT_GT(pts.size(), 190u);  // 20 s at 10 fps
  EXPECT_LT(test::LongestStep(pts), 0.15) << "a step of more than a frame and a half";
  for (std::size_t i = 1; i < pts.size(); ++i) ASSERT_GT(pts[i], pts[i - 1]) << i;
  EXPECT_NEAR(pts.back() - pts.front(), 19.9, 0.2);

  // The saved track, extracted as the player's pipeline extracts it, reads line by line.
  const std::string cues =
      test::CommandOutput("ffmpeg -v error -i '" + mp4 + "' -map 0:s:0 -f srt - | grep '^2026'");
  std::istringstream lines(cues);
  CTelemetryParser parser;
  int count = 0;
  std::string first, last;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_TRUE(parser.ParseFull(line.c_str())) << line;
    EXPECT_FALSE(parser.record().noGReading) << "the sample camera has a G-sensor";
    if (count == 0) first = parser.dateTimeText();
    last = parser.dateTimeText();
  }
  EXPECT_NEAR(count, 200, 2);  // 10 points a second
  EXPECT_EQ(first, "2026-05-18 08:30:10");
  EXPECT_EQ(last, "2026-05-18 08:30:29");
}

TEST_F(SaveJob, AFolderNamesTheFileAfterTheTrueStartAndNeverOverwrites) {
  const std::string folder = dir_.str() + "KORVANE/Saved/";
  const SaveResult first = Save("2026-05-18T08:30:10", "2026-05-18T08:30:13", folder);
  const SaveResult second = Save("2026-05-18T08:30:10", "2026-05-18T08:30:13", folder);
  ASSERT_EQ(first.error, "");
  ASSERT_EQ(second.error, "");
  EXPECT_EQ(first.mp4Path, folder + "2026-05-18 08-30-10 incident.mp4");
  EXPECT_EQ(second.mp4Path, folder + "2026-05-18 08-30-10 incident 2.mp4");
  EXPECT_EQ(second.gpxPath, folder + "2026-05-18 08-30-10 incident 2.gpx");
}

TEST_F(SaveJob, AStretchThatCannotBeSavedLeavesNothing) {
  struct Case {
    const char* from;
    const char* to;
    std::string output;
    const char* error;
    SaveFailure failure;
  };
  const Case cases[] = {
      {"2026-05-18T08:30:50", "2026-05-18T08:50:10", "", "across two trips",
       SaveFailure::AcrossTrips},
      {"2026-05-18T09:30:00", "2026-05-18T09:31:00", "", "no clip covers",
       SaveFailure::BeyondClips},
      {"2026-05-18T08:30:10", "2026-05-18T08:30:10", "", "no length", SaveFailure::NoLength},
      {"2026-05-18T08:30:20", "2026-05-18T08:30:10", "", "ends before", SaveFailure::Reversed},
      {"2026-05-18T08:30:10", "2026-05-18T08:30:20", "/proc/korvane/saved.mp4", "cannot write",
       SaveFailure::NotWritten},
  };
  for (const Case& c : cases) {
    const SaveResult result = Save(c.from, c.to, c.output);
    EXPECT_NE(result.error.find(c.error), std::string::npos) << c.from << ": " << result.error;
    EXPECT_EQ(result.failure, c.failure) << c.error;
  }
  const std::string broken = test::SamplePath("channels/broken/20260518_083700_N");
  const SaveResult result =
      Save("2026-05-18T08:38:01", "2026-05-18T08:38:04", "", {broken + "F.mp4", broken + "R.mp4"});
  EXPECT_EQ(result.error, "20260518_083700_NR.mp4: the clip cannot be read");
  EXPECT_EQ(result.failure, SaveFailure::Unreadable);
  EXPECT_EQ(result.clip, "20260518_083700_NR.mp4");
  // A rear "clip" of the moment that holds only sound.
  const test::TempDir soundOnly;
  const std::string front = DualCard() + "REC_2026_05_18_08_30_00_F.mp4";
  const std::string rear = soundOnly.str() + "REC_2026_05_18_08_30_00_R.mp4";
  std::filesystem::copy_file(front, soundOnly.path() / "REC_2026_05_18_08_30_00_F.mp4");
  ASSERT_EQ(std::system(("ffmpeg -v error -f lavfi -i sine -t 20 -c:a aac '" + rear + "'").c_str()),
            0);
  const SaveResult noVideo = Save("2026-05-18T08:30:05", "2026-05-18T08:30:10", "",
                                  {soundOnly.str() + "REC_2026_05_18_08_30_00_F.mp4", rear});
  EXPECT_EQ(noVideo.failure, SaveFailure::NoVideo) << noVideo.error;
  EXPECT_EQ(noVideo.clip, "REC_2026_05_18_08_30_00_R.mp4");
  // A file-size limit the video overflows fails as a full disk does.
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 << 10, 64 << 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    const SaveResult full = Save("2026-05-18T08:30:10", "2026-05-18T08:30:50");
    _exit(full.failure == SaveFailure::NotWritten && full.writeFailure == WriteFailure::DiskFull
              ? 0
              : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  cancel_ = true;
  EXPECT_TRUE(Save("2026-05-18T08:30:10", "2026-05-18T08:30:20").cancelled);
  EXPECT_EQ(Written(), std::vector<std::string>{});
}

}  // namespace
}  // namespace korvane
