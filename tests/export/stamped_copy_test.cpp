// The stamped copy: ffmpeg's arguments for it, and a real save of a 720p two-camera card whose
// copy is decoded at three moments and read back by OCR, where the panel's time and speed of each
// moment must stand; a cancel leaves none of the three files, a copy that cannot be encoded keeps
// the other two.
#include "export/stamped_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <sstream>

#include "export/save_job.h"
#include "support/command_output.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/telemetry_text.h"

namespace korvane {
namespace {

TEST(StampedArguments, BurnTheStampIntoTheMainPictureWithTheOthersSmallInTheCorner) {
  StampedFiles files{"in.mp4", "/tmp/a:b,c/stamp.ass", 3, 1920, true, "out.tmp"};
  const std::vector<std::string> args = StampedArguments(files);
  const auto graph = std::find(args.begin(), args.end(), "-filter_complex");
  ASSERT_NE(graph, args.end());
  EXPECT_EQ(
      *(graph + 1),
      "[0:v:0]ass=filename=/tmp/a\\\\:b\\,c/stamp.ass[m0];"
      "[0:v:1]scale=480:-2[s1];[m0][s1]overlay=x=main_w-overlay_w-24:y=24+0*(overlay_h+24)[m1];"
      "[0:v:2]scale=480:-2[s2];[m1][s2]overlay=x=main_w-overlay_w-24:y=24+1*(overlay_h+24)[m2]");
  std::string joined;
  for (const std::string& a : args) joined += a + ' ';
  EXPECT_NE(joined.find("-map [m2] -map 0:a:0 -c:a copy -map 0:s? -c:s copy -c:v libx264 -preset "
                        "superfast -crf 23 "),
            std::string::npos)
      << joined;
  files.hasAudio = false;
  for (const std::string& a : StampedArguments(files)) EXPECT_NE(a, "0:a:0");
  files.stampPath.clear();
  EXPECT_TRUE(StampedArguments(files).empty());
}

TEST(StampedBeside, NamesTheCopyAfterTheSavedFile) {
  EXPECT_EQ(StampedBeside("/s/2026-05-18 08-30-07 incident.mp4"),
            "/s/2026-05-18 08-30-07 incident stamped.mp4");
  EXPECT_EQ(StampedBeside("/s/x 2.gpx"), "/s/x 2 stamped.mp4");
  EXPECT_EQ(StampedBeside("/s.d/plain"), "/s.d/plain stamped.mp4");
}

class StampedSave : public testing::Test {
 protected:
  // The dual card's first two moments at 720p (rear 360p), their telemetry kept.
  void SetUp() override {
    for (const char* moment : {"08_30_00", "08_30_20"}) {
      for (const char* channel : {"F", "R"}) {
        const std::string name = std::string("REC_2026_05_18_") + moment + "_" + channel + ".mp4";
        const std::string size = channel[0] == 'F' ? "1280:720" : "640:360";
        const std::string out = dir_.str() + name;
        test::CommandOutput("ffmpeg -v error -y -i '" + test::SamplePath("dualcard/") + name +
                            "' -map 0 -c copy -c:v libx264 -preset ultrafast -vf scale=" + size +
                            " '" + out + "'");
        clips_.push_back(out);
      }
    }
  }
  // `cancelWhileEncoding`: cancels once the lossless file is whole and the copy under way.
  SaveResult Save(bool cancelWhileEncoding = false, const std::string& ffmpeg = "/usr/bin/ffmpeg") {
    SaveRequest request;
    request.clips = clips_;
    request.from = *ParseStretchTime("2026-05-18T08:30:12");
    request.to = *ParseStretchTime("2026-05-18T08:30:27");
    request.outputPath = dir_.str() + "saved.mp4";
    request.ffmpegProgram = ffmpeg;
    request.ffprobeProgram = "/usr/bin/ffprobe";
    request.zone = CameraTimeZone{false, 0};
    request.stamped = true;
    request.cancel = &cancel_;
    request.progress = [this, cancelWhileEncoding](double done) {
      progress_.push_back(done);
      if (cancelWhileEncoding && done > kLosslessShare) cancel_ = true;
    };
    CClipPoints source(dir_.str() + "index.sqlite", test::ProgramDir() + "korvane-indexer");
    return RunSave(request, source);
  }
  test::TempDir dir_;
  std::vector<std::string> clips_;
  std::vector<double> progress_;
  std::atomic<bool> cancel_{false};
};

std::string Digits(const std::string& text) {
  std::string digits;
  for (const char c : text) {
    if (c >= '0' && c <= '9') digits += c;
  }
  return digits;
}

TEST_F(StampedSave, TheCopyShowsThePanelsTimeAndSpeedAtEachMoment) {
  if (test::CommandOutput("command -v tesseract").empty()) GTEST_SKIP() << "no tesseract";
  const SaveResult result = Save();
  ASSERT_EQ(result.error, "");
  const std::string stamped = dir_.str() + "saved stamped.mp4";
  EXPECT_EQ(result.stampedPath, stamped);
  EXPECT_EQ(test::CommandOutput("ffprobe -v error -show_entries stream=codec_type,codec_name,width "
                                "-of csv=p=0 '" +
                                stamped + "'"),
            "h264,video,1280\naac,audio\nmov_text,subtitle,N/A\n");
  ASSERT_FALSE(progress_.empty());
  EXPECT_TRUE(std::is_sorted(progress_.begin(), progress_.end()));
  EXPECT_EQ(progress_.back(), 1.0);

  // The panel's line of each moment, as the player reads the saved file's own track.
  const std::string cues = test::CommandOutput("ffmpeg -v error -i '" + result.mp4Path +
                                               "' -map 0:s:0 -f srt - | grep '^2026'");
  std::vector<std::string> lines;
  std::istringstream in(cues);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_GE(lines.size(), 140u);  // 10 points a second over 15 s
  for (const int second : {1, 6, 11}) {
    // The frame after second.05 (10 fps) shows the point at second.1.
    const std::string png = dir_.str() + "frame" + std::to_string(second) + ".png";
    test::CommandOutput("ffmpeg -v error -y -ss " + std::to_string(second) + ".05 -i '" + stamped +
                        "' -frames:v 1 -vf crop=iw:ih/7:0:ih*6/7,scale=iw*2:-1 '" + png + "'");
    const std::string read = test::CommandOutput("tesseract '" + png + "' - --psm 6 2>/dev/null");
    CTelemetryParser parser;
    ASSERT_TRUE(parser.ParseFull(lines[static_cast<std::size_t>(second) * 10 + 1].c_str()));
    const std::string time = Digits(FormatDateTime(parser.record()));
    const std::string speed = Digits(FormatSpeed(parser.record().speedKmh));
    EXPECT_NE(Digits(read).find(time), std::string::npos) << second << " s: " << read;
    EXPECT_NE(Digits(read).find(time + speed), std::string::npos) << second << " s: " << read;
  }
}

TEST_F(StampedSave, ACancelWhileEncodingLeavesNoFile) {
  const SaveResult result = Save(true);
  EXPECT_TRUE(result.cancelled) << result.error;
  ASSERT_FALSE(progress_.empty());
  EXPECT_GT(progress_.back(), kLosslessShare);
  for (const char* name : {"saved.mp4", "saved.gpx", "saved stamped.mp4"}) {
    EXPECT_FALSE(std::filesystem::exists(dir_.str() + name)) << name;
  }
}

// An ffmpeg built without libx264, as some distributions ship it: the lossless save works, the
// stamped encode fails with ffmpeg's own words.
TEST_F(StampedSave, ACopyThatCannotBeEncodedKeepsTheSavedFileAndItsTrack) {
  const std::string ffmpeg = dir_.str() + "ffmpeg";
  test::CommandOutput(
      "printf '%s\\n' '#!/bin/sh' 'case \"$*\" in *libx264*)' "
      "'echo \"Unknown encoder libx264\" >&2; exit 8;; esac' "
      "'exec /usr/bin/ffmpeg \"$@\"' > '" +
      ffmpeg + "' && chmod +x '" + ffmpeg + "'");
  const SaveResult result = Save(false, ffmpeg);
  ASSERT_EQ(result.error, "") << "the save itself succeeds";
  EXPECT_EQ(result.stampedFailure, SaveFailure::Other);
  EXPECT_EQ(result.stampedError, "ffmpeg could not make the stamped copy: Unknown encoder libx264");
  EXPECT_EQ(result.stampedPath, "");
  EXPECT_EQ(result.mp4Path, dir_.str() + "saved.mp4");
  EXPECT_EQ(test::CommandOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 '" +
                                result.mp4Path + "'"),
            "video\nvideo\naudio\nsubtitle\n");
  EXPECT_NE(test::CommandOutput("cat '" + result.gpxPath + "'").find("<trkpt"), std::string::npos);
  // Nothing of the copy is left, not even its temporary file.
  std::vector<std::string> saved;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("saved")) saved.push_back(name);
  }
  std::sort(saved.begin(), saved.end());
  EXPECT_EQ(saved, (std::vector<std::string>{"saved.gpx", "saved.mp4"}));
}

}  // namespace
}  // namespace korvane
